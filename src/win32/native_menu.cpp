// The popup menu, built from the model's menu each time it drops down.
#include "win32/native_host_parts.h"

#include "win32/utf16.h"

namespace tarnby {

// ------------------------------------------------------------------ menus, pictures, text

int NativeHostImpl::TrackPopupMenu(Menu& menu, Handle owner) {
  HMENU popup = ::CreatePopupMenu();
  if (!popup) return -1;
  for (std::size_t i = 0; i < menu.items.size(); ++i) {
    const MenuItem& item = *menu.items[i];
    if (!item.visible) continue;
    const auto id = static_cast<UINT_PTR>(i + 1);
    if (item.IsSeparator()) {
      ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (item.checked) flags |= MF_CHECKED;
    if (!item.enabled) flags |= MF_GRAYED;
    ::AppendMenuW(popup, flags, id, Wide(item.caption).c_str());
  }
  HWND window = reinterpret_cast<HWND>(owner);
  if (!window || !::IsWindow(window)) window = owner_;
  window = ::GetAncestor(window, GA_ROOT);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  ::SetForegroundWindow(window);
  POINT at{};
  ::GetCursorPos(&at);
  const int chosen = static_cast<int>(::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
  ::PostMessageW(window, WM_NULL, 0, 0);
  ::DestroyMenu(popup);
  return chosen > 0 ? chosen - 1 : -1;
}

}  // namespace tarnby
