// Controls: their child windows, kept in step with the model, and their own messages.
#include "win32/native_host_parts.h"

#include "win32/utf16.h"

namespace tarnby {

using namespace native;

namespace {

// What the model hears from a control's notification.
enum class Reports { Nothing, Click, Text };

// One control kind at the system: the window that stands for it and what it reports.
struct ControlKindTraits {
  ControlKind kind;
  const wchar_t* windowClass;
  DWORD style;        // beyond WS_CHILD and what KindStyle adds
  DWORD exStyle;
  bool showsCaption;  // the caption is the window's text; pictures and shapes have none
  bool focusable;     // a Tab stop
  bool overlay;       // paints over its siblings and lets the clicks through: no clipping, no group, never enabled
  bool subclassed;    // its keys, mouse and ground come through ControlSubclassProc
  bool customDrawn;   // a window class of ours, which finds its control in GWLP_USERDATA
  bool checkable;     // the model's value is the button's check mark (the model owns the tick)
  Reports reports;
  UINT notification;  // the WM_COMMAND code that carries the report
};

constexpr std::array<ControlKindTraits, 10> kControlKinds = {{
    {ControlKind::Label, WC_STATICW, SS_NOTIFY, 0, true, false, false, true, false, false, Reports::Click,
     STN_CLICKED},
    {ControlKind::TextBox, WC_EDITW, ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE, true, true, false, true, false, false,
     Reports::Text, EN_CHANGE},
    {ControlKind::Button, WC_BUTTONW, 0, 0, true, true, false, false, false, false, Reports::Click, BN_CLICKED},
    {ControlKind::PictureButton, WC_BUTTONW, BS_PUSHBUTTON | BS_ICON, 0, false, true, false, false, false, false,
     Reports::Click, BN_CLICKED},
    {ControlKind::CheckBox, WC_BUTTONW, BS_CHECKBOX, 0, true, true, false, false, false, true, Reports::Click,
     BN_CLICKED},
    {ControlKind::OptionButton, WC_BUTTONW, BS_RADIOBUTTON, 0, true, true, false, false, false, true, Reports::Click,
     BN_CLICKED},
    {ControlKind::PictureBox, kPictureClass, 0, 0, false, false, false, false, true, false, Reports::Nothing, 0},
    {ControlKind::Image, WC_STATICW, SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, 0, false, false, false, true, false, false,
     Reports::Click, STN_CLICKED},
    {ControlKind::Shape, kShapeClass, WS_DISABLED, WS_EX_TRANSPARENT, false, false, true, false, true, false,
     Reports::Nothing, 0},
    {ControlKind::Frame, WC_BUTTONW, BS_GROUPBOX, 0, true, false, false, true, false, false, Reports::Nothing, 0},
}};

const ControlKindTraits& TraitsOf(ControlKind kind) {
  for (const ControlKindTraits& traits : kControlKinds)
    if (traits.kind == kind) return traits;
  return kControlKinds.front();
}

}  // namespace

// The style bits that depend on the control, not only on its kind.
DWORD NativeHostImpl::KindStyle(const Control& control) {
  switch (control.kind) {
    case ControlKind::Label:
      return SingleLineLabel(control) ? SS_LEFTNOWORDWRAP : SS_LEFT;
    case ControlKind::TextBox:
      return control.locked ? ES_READONLY : 0;
    case ControlKind::Button:
      return control.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    default:
      return 0;
  }
}

void NativeHostImpl::CreateControl(FormWindow& fw, Control& control, int id) {
  auto owned = std::make_unique<ControlWindow>();
  ControlWindow& cw = *owned;
  cw.control = &control;
  cw.form = &fw;

  const ControlKindTraits& traits = TraitsOf(control.kind);
  DWORD style = WS_CHILD | traits.style | KindStyle(control);
  if (!traits.overlay) style |= WS_CLIPSIBLINGS;
  if (traits.focusable) style |= WS_TABSTOP;
  // Option buttons that follow one another in a container form one group.
  const Control* previous = fw.controls.empty() ? nullptr : fw.controls.back()->control;
  const bool continuesGroup = control.kind == ControlKind::OptionButton && previous != nullptr &&
                              previous->kind == ControlKind::OptionButton && previous->container == control.container;
  if (!continuesGroup && !traits.overlay) style |= WS_GROUP;
  const std::wstring text = traits.showsCaption ? Wide(control.Caption()) : std::wstring();

  if (EffectiveVisible(control)) style |= WS_VISIBLE;
  if (!EffectiveEnabled(control)) style |= WS_DISABLED;
  const RECT rect = FittedRect(control);
  cw.hwnd = ::CreateWindowExW(traits.exStyle, traits.windowClass, text.c_str(), style, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, fw.hwnd,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (!cw.hwnd) return;
  control.hwnd = reinterpret_cast<Handle>(cw.hwnd);
  fw.controls.push_back(std::move(owned));
  fw.byControl[&control] = &cw;
  fw.byHwnd[cw.hwnd] = &cw;
  Name(cw.hwnd, control.name);

  if (traits.customDrawn)
    ::SetWindowLongPtrW(cw.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&cw));
  if (control.kind == ControlKind::Frame) ::SetWindowPos(cw.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (traits.subclassed)
    ::SetWindowSubclass(cw.hwnd, &NativeHostImpl::ControlSubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(&cw));

  cw.font = FontFor(control.font, fw.scale.dpi);
  ::SendMessageW(cw.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(cw.font), FALSE);
  if (control.kind == ControlKind::TextBox && control.maxLength > 0)
    ::SendMessageW(cw.hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(control.maxLength), 0);
  if (traits.checkable)
    ::SendMessageW(cw.hwnd, BM_SETCHECK, control.Value() ? BST_CHECKED : BST_UNCHECKED, 0);
  LoadPicture(cw);
  if (control.kind == ControlKind::Shape) ShapeRegion(cw);

  if (fw.tooltip && !control.toolTip.empty()) {
    std::wstring tip = Wide(control.toolTip);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = fw.hwnd;
    info.uId = reinterpret_cast<UINT_PTR>(cw.hwnd);
    info.lpszText = tip.data();
    ::SendMessageW(fw.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

bool NativeHostImpl::SingleLineLabel(const Control& label) {
  const RECT rect = ControlRect(label);
  return label.autoSize || rect.bottom - rect.top < 2 * TextExtent(label.font, ScaleOfForm(label.form).dpi, L"").cy;
}

RECT NativeHostImpl::FittedRect(const Control& control) {
  // An auto-sized label takes its text's size. A one-line label grows to its
  // text when the font here runs wider than the one the form was laid out
  // with, rather than lose its last word to the wrap.
  RECT rect = ControlRect(control);
  if (control.kind != ControlKind::Label) return rect;
  const bool singleLine = SingleLineLabel(control);
  if (!control.autoSize && !singleLine) return rect;
  const SIZE text = TextExtent(control.font, ScaleOfForm(control.form).dpi, Wide(control.Caption()));
  if (control.autoSize) {
    rect.right = rect.left + text.cx;
    rect.bottom = rect.top + text.cy;
  } else {
    rect.right = std::max<LONG>(rect.right, rect.left + text.cx);
  }
  return rect;
}

void NativeHostImpl::ApplyControl(ControlWindow& cw) {
  Control& control = *cw.control;
  HWND hwnd = cw.hwnd;
  const ControlKindTraits& traits = TraitsOf(control.kind);
  if (traits.showsCaption) {
    const std::wstring text = Wide(control.Caption());
    if (WindowText(hwnd) != text) ::SetWindowTextW(hwnd, text.c_str());
  }
  if (traits.checkable) {
    const WPARAM check = control.Value() ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(::SendMessageW(hwnd, BM_GETCHECK, 0, 0)) != check)
      ::SendMessageW(hwnd, BM_SETCHECK, check, 0);
  }
  if (control.kind == ControlKind::TextBox) {
    const bool readOnly = (::GetWindowLongPtrW(hwnd, GWL_STYLE) & ES_READONLY) != 0;
    if (readOnly != control.locked) ::SendMessageW(hwnd, EM_SETREADONLY, control.locked, 0);
  }

  const RECT want = FittedRect(control);
  RECT now;
  ::GetWindowRect(hwnd, &now);
  ::MapWindowPoints(nullptr, cw.form->hwnd, reinterpret_cast<POINT*>(&now), 2);
  if (want.left != now.left || want.top != now.top || want.right - want.left != now.right - now.left ||
      want.bottom - want.top != now.bottom - now.top) {
    ::SetWindowPos(hwnd, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (control.kind == ControlKind::Shape) ShapeRegion(cw);
  }

  LoadPicture(cw);

  const bool enabled = EffectiveEnabled(control) && !traits.overlay;
  if ((::IsWindowEnabled(hwnd) != FALSE) != enabled) ::EnableWindow(hwnd, enabled);
  const bool visible = EffectiveVisible(control);
  const bool shown = (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visible != shown) ::ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void NativeHostImpl::ApplyFramed(FormWindow& fw, Control& frame) {
  // A frame's visibility, state and place carry over to what it holds.
  for (auto& cw : fw.controls) {
    for (const Control* c = cw->control->container; c != nullptr; c = c->container) {
      if (c == &frame) {
        ApplyControl(*cw);
        break;
      }
    }
  }
}

void NativeHostImpl::ControlChanged(Control& control) {
  ControlWindow* cw = Find(control);
  if (!cw) return;
  ApplyControl(*cw);
  if (control.kind == ControlKind::Frame) ApplyFramed(*cw->form, control);
}

LRESULT CALLBACK NativeHostImpl::ControlSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                     DWORD_PTR data) {
  auto* cw = reinterpret_cast<ControlWindow*>(data);
  switch (msg) {
    case WM_CHAR:
      if (cw && cw->control->kind == ControlKind::TextBox) {
        int keyAscii = static_cast<int>(wParam);
        Guarded([&] {
          cw->control->KeyPress(keyAscii);
          return LRESULT{0};
        });
        // The handler may have closed the window; a key code of 0 is discarded.
        if (!::IsWindow(hwnd) || keyAscii == 0) return 0;
        wParam = static_cast<WPARAM>(keyAscii);
      }
      break;
    case WM_MOUSEMOVE:
      if (cw && cw->control->kind != ControlKind::TextBox) {
        const int tppX = cw->form->scale.x, tppY = cw->form->scale.y;
        Guarded([&] {
          cw->control->MouseMove(MouseButtons(wParam), ShiftState(wParam), MouseX(lParam) * tppX,
                                 MouseY(lParam) * tppY);
          return LRESULT{0};
        });
        if (!::IsWindow(hwnd)) return 0;
      }
      break;
    case WM_ERASEBKGND:
      // A group box paints only its edge and caption; its inside is the form's ground.
      if (cw && cw->control->kind == ControlKind::Frame) return cw->form->Erase(hwnd, wParam);
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(hwnd, &NativeHostImpl::ControlSubclassProc, kSubclassId);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT NativeHostImpl::HandleCommand(FormWindow& fw, WPARAM wParam, LPARAM lParam) {
  const UINT code = HIWORD(wParam);
  const UINT id = LOWORD(wParam);
  HWND child = reinterpret_cast<HWND>(lParam);
  if (!child && (id == IDOK || id == IDCANCEL)) {
    // Enter and Esc from the keyboard interface: the form's default or cancel button.
    Control* target = nullptr;
    for (Control* control : fw.form->controls) {
      if ((id == IDOK && control->isDefault) || (id == IDCANCEL && control->isCancel)) {
        target = control;
        break;
      }
    }
    if (target && EffectiveVisible(*target) && EffectiveEnabled(*target)) target->Click();
    return 0;
  }
  const auto it = fw.byHwnd.find(child);
  if (it == fw.byHwnd.end()) return 0;
  Control& control = *it->second->control;
  const ControlKindTraits& traits = TraitsOf(control.kind);
  if (traits.reports == Reports::Nothing || code != traits.notification) return 0;
  if (traits.reports == Reports::Text) {
    control.NativeTextChanged(Utf8(WindowText(child)));
  } else {
    control.Click();
  }
  return 0;
}

LRESULT NativeHostImpl::HandleColor(FormWindow& fw, HDC dc, HWND child, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto it = fw.byHwnd.find(child);
  if (it == fw.byHwnd.end() || it->second->control->kind == ControlKind::TextBox)
    return ::DefWindowProcW(fw.hwnd, msg, wParam, lParam);
  const Control& control = *it->second->control;
  ::SetTextColor(dc, ToColor(control.foreColor, COLOR_BTNTEXT));
  ::SetBkColor(dc, ToColor(fw.form->backColor, COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(fw.Ground());
}

}  // namespace tarnby
