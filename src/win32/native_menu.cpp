// The popup menu, built from the model's menu each time it drops down.
#include "win32/native_host_parts.h"

#include "core/system/scoped.h"
#include "win32/utf16.h"

namespace tarnby {

int NativeHostImpl::TrackPopupMenu(Menu& menu, Handle owner) {
  const OwnedMenu owned(::CreatePopupMenu());
  HMENU popup = owned.get();
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
  if (!window || !::IsWindow(window)) window = owner_.get();
  window = ::GetAncestor(window, GA_ROOT);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  ::SetForegroundWindow(window);
  POINT at{};
  ::GetCursorPos(&at);
  int chosen = 0;
  {
    // The menu that is down, for the ticks that change its items meanwhile.
    const ScopedValue<HMENU> down(openPopup_, popup);
    const ScopedValue<Menu*> downModel(openMenu_, &menu);
    chosen = static_cast<int>(::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
  }
  ::PostMessageW(window, WM_NULL, 0, 0);
  return chosen > 0 ? chosen - 1 : -1;
}

// Timers keep ticking while a menu is down, and a tick may enable or disable
// items the user is looking at: show them as the model has them now.
void NativeHostImpl::RefreshOpenMenu() {
  bool changed = false;
  for (std::size_t i = 0; i < openMenu_->items.size(); ++i) {
    const MenuItem& item = *openMenu_->items[i];
    const auto id = static_cast<UINT>(i + 1);
    const UINT state = ::GetMenuState(openPopup_, id, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1) || (state & MF_SEPARATOR)) continue;
    if (((state & MF_GRAYED) == 0) == item.enabled) continue;
    ::EnableMenuItem(openPopup_, id, MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
    changed = true;
  }
  if (!changed) return;
  // A menu that is down does not repaint by itself when an item changes.
  for (HWND window = ::FindWindowW(L"#32768", nullptr); window;
       window = ::FindWindowExW(nullptr, window, L"#32768", nullptr)) {
    if (reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0)) == openPopup_)
      ::InvalidateRect(window, nullptr, TRUE);
  }
}

}  // namespace tarnby
