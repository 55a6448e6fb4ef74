// What the native host's files share: the window classes, the message helpers
// and the records of each form's and control's windows.
#pragma once

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/owned.h"
#include "win32/failure_note.h"
#include "win32/native_host_impl.h"

namespace tarnby::native {

constexpr wchar_t kFormClass[] = L"TarnbyForm";
constexpr wchar_t kOwnerClass[] = L"TarnbyOwner";
constexpr wchar_t kPictureClass[] = L"TarnbyPicture";
constexpr wchar_t kShapeClass[] = L"TarnbyShape";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL
constexpr UINT_PTR kSubclassId = 1;
// Icon sizes the resource files carry; a control gets the largest that fits.
constexpr std::array<int, 5> kIconSizes = {16, 20, 24, 32, 48};

// Runs a window-message handler so that no exception leaves it: an error in
// one handler must not take the program down.
template <class F>
LRESULT Guarded(F&& handler, LRESULT fallback = 0) {
  try {
    return handler();
  } catch (...) {
    NoteFailure(L"a window message handler failed");
    return fallback;
  }
}

inline COLORREF ToColor(std::uint32_t color, int systemFallback) {
  if (color == kDefaultColor) return ::GetSysColor(systemFallback);
  if (color & 0x80000000u) return ::GetSysColor(static_cast<int>(color & 0xFFu));  // a system colour index
  return static_cast<COLORREF>(color & 0xFFFFFFu);
}

inline std::wstring WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int copied = ::GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

// The mouse state of a message in the model's terms: buttons 1 left, 2 right,
// 4 middle; shift 1, ctrl 2, alt 4.
inline int MouseButtons(WPARAM keys) {
  return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}
inline int ShiftState(WPARAM keys) {
  return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) | ((::GetKeyState(VK_MENU) < 0) ? 4 : 0);
}

// The DPI of the monitor a window is on; 0 where the system cannot tell.
int WindowDpi(HWND hwnd);
// The rectangle a message points to, when there is one to read here and it
// has a size; another program may send a pointer that means nothing here.
bool ReadRect(LPARAM pointer, RECT& rect);

// Mouse positions in a message are signed 16-bit client coordinates.
inline int MouseX(LPARAM lParam) { return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))); }
inline int MouseY(LPARAM lParam) { return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam))); }

}  // namespace tarnby::native

namespace tarnby {

struct NativeHostImpl::ControlWindow {
  Control* control = nullptr;
  FormWindow* form = nullptr;
  HWND hwnd = nullptr;
  OwnedIcon shownIcon;  // the picture at the control's size
  OwnedIcon smallIcon;  // picture boxes: the small icon the tray shows
  int loadedPicture = 0;
  int pictureDpi = 0;    // the DPI the pictures were loaded for
  HFONT font = nullptr;  // the host's shared font, not the control's own
};

struct NativeHostImpl::FormWindow {
  NativeHostImpl* host = nullptr;
  Form* form = nullptr;
  HWND hwnd = nullptr;
  HWND tooltip = nullptr;
  Scale scale;  // the DPI of the monitor the window is on
  OwnedBrush background;
  OwnedIcon bigIcon;
  OwnedIcon smallIcon;
  HWND lastFocus = nullptr;
  std::vector<std::unique_ptr<ControlWindow>> controls;
  std::map<const Control*, ControlWindow*> byControl;
  std::map<HWND, ControlWindow*> byHwnd;

  // The form's ground colour, which its labels, boxes and frames share.
  HBRUSH Ground() const { return background ? background.get() : ::GetSysColorBrush(COLOR_BTNFACE); }
  // Paints a window of this form with the ground colour (its WM_ERASEBKGND).
  LRESULT Erase(HWND hwnd, WPARAM dc) const {
    RECT rect;
    ::GetClientRect(hwnd, &rect);
    ::FillRect(reinterpret_cast<HDC>(dc), &rect, Ground());
    return 1;
  }
};

}  // namespace tarnby
