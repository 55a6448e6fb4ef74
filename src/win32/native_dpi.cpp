// A form follows the DPI of the monitor it is on: dragged to a monitor of
// another scale it is laid out again there, fonts, pictures and all. The calls
// that know a window's DPI came with Windows 10; elsewhere every window keeps
// the system's DPI.
#include "win32/native_host_parts.h"

#include "core/resource_ids.h"
#include "win32/system_library.h"

namespace tarnby {

using namespace native;

namespace {

// Scales no monitor has (a stray message from another program) change nothing.
constexpr int kLowestDpi = 48;
constexpr int kHighestDpi = 960;

}  // namespace

int native::WindowDpi(HWND hwnd) {
  using Call = UINT(WINAPI*)(HWND);
  static const Call call = SystemFunction<Call>(L"user32.dll", "GetDpiForWindow");
  return call ? static_cast<int>(call(hwnd)) : 0;
}

bool native::ReadRect(LPARAM pointer, RECT& rect) {
  SIZE_T read = 0;
  // ReadProcessMemory answers FALSE where a plain read would fault.
  return pointer != 0 &&
         ::ReadProcessMemory(::GetCurrentProcess(), reinterpret_cast<const void*>(pointer), &rect, sizeof rect, &read) &&
         read == sizeof rect && rect.right > rect.left && rect.bottom > rect.top;
}

int NativeHostImpl::Metric(int index, int dpi) const {
  if (dpi == screen_.dpi) return ::GetSystemMetrics(index);
  using Call = int(WINAPI*)(int, UINT);
  static const Call call = SystemFunction<Call>(L"user32.dll", "GetSystemMetricsForDpi");
  return call ? call(index, static_cast<UINT>(dpi)) : ::MulDiv(::GetSystemMetrics(index), dpi, screen_.dpi);
}

OwnedIcon NativeHostImpl::LoadIconAt(int resourceId, int size) const {
  if (resourceId <= 0) return OwnedIcon();
  // A size the icon file lacks is scaled down from a larger picture, not
  // blown up from a smaller one, where the common controls can.
  using Call = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  static const Call scaleDown = SystemFunction<Call>(L"comctl32.dll", "LoadIconWithScaleDown");
  HICON icon = nullptr;
  if (scaleDown && SUCCEEDED(scaleDown(instance_, MAKEINTRESOURCEW(resourceId), size, size, &icon)) && icon)
    return OwnedIcon(icon);
  return OwnedIcon(
      static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, 0)));
}

RECT NativeHostImpl::OuterRect(const Form& form, DWORD style, DWORD exStyle, const Scale& scale) const {
  RECT rect{0, 0, Pixels(form.ClientWidth(), scale.x), Pixels(form.ClientHeight(), scale.y)};
  using Call = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const Call forDpi = SystemFunction<Call>(L"user32.dll", "AdjustWindowRectExForDpi");
  if (forDpi && scale.dpi != screen_.dpi) {
    forDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(scale.dpi));
  } else {
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  ::OffsetRect(&rect, Pixels(form.Position().left, scale.x) - rect.left, Pixels(form.Position().top, scale.y) - rect.top);
  return rect;
}

void NativeHostImpl::LoadFormIcons(FormWindow& fw) {
  // A form without a picture of its own shows the program's.
  const int icon = fw.form->iconResource > 0 ? fw.form->iconResource : IDI_TARNBY;
  OwnedIcon big = LoadIconAt(icon, Metric(SM_CXICON, fw.scale.dpi));
  OwnedIcon small = LoadIconAt(icon, Metric(SM_CXSMICON, fw.scale.dpi));
  ::SendMessageW(fw.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  ::SendMessageW(fw.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  // The icons shown until now go once the window holds the new ones.
  fw.bigIcon = std::move(big);
  fw.smallIcon = std::move(small);
}

void NativeHostImpl::DpiChanged(FormWindow& fw, int dpi, const RECT* suggested) {
  if (dpi < kLowestDpi || dpi > kHighestDpi) return;
  Form& form = *fw.form;
  fw.scale = ScaleForDpi(dpi, dpi);
  LoadFormIcons(fw);
  if (fw.tooltip) ::SendMessageW(fw.tooltip, TTM_SETMAXTIPWIDTH, 0, ::MulDiv(300, dpi, 96));
  for (auto& cw : fw.controls) {
    cw->font = FontFor(cw->control->font, dpi);
    ::SendMessageW(cw->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(cw->font), FALSE);
  }
  if (suggested) {
    // Where the system suggests, at the layout's own size: the suggested
    // size is the old one scaled, which whole twips per pixel do not follow
    // (1440 / 192 dpi is 7, not 7.5), and would clip the right and the bottom.
    const RECT fitted = OuterRect(form, static_cast<DWORD>(::GetWindowLongW(fw.hwnd, GWL_STYLE)),
                                  static_cast<DWORD>(::GetWindowLongW(fw.hwnd, GWL_EXSTYLE)), fw.scale);
    ::SetWindowPos(fw.hwnd, nullptr, suggested->left, suggested->top, fitted.right - fitted.left,
                   fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The model hears of the new size and may have unloaded the form meanwhile.
  if (Find(form) != &fw) return;
  // Every control from its twips, its pictures at the new size.
  for (auto& cw : fw.controls) ApplyControl(*cw);
  DropUnusedFonts();
  ::RedrawWindow(fw.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  ReportPosition(fw);
}

}  // namespace tarnby
