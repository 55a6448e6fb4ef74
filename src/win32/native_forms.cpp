// Form windows: their creation, their changes, their timers and their messages.
#include "win32/native_host_parts.h"

#include "core/resource_ids.h"
#include "win32/hand_over.h"
#include "win32/utf16.h"
#include "win32/win32_platform_parts.h"

namespace tarnby {

using namespace native;

// ------------------------------------------------------------------ forms

namespace {

struct FormStyle {
  DWORD style = WS_POPUP | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  bool titleBar = false;
};

// The window styles of a form's border, title bar and taskbar button.
FormStyle StyleOf(const Form& form) {
  FormStyle made;
  // A form shows a title bar when it has a caption or a control box; without
  // one it keeps its border all the same.
  made.titleBar = !form.Caption().empty() || form.controlBox;
  switch (form.borderStyle) {
    case BorderStyle::None:
      break;
    case BorderStyle::FixedSingle:
      made.style |= WS_BORDER;
      break;
    case BorderStyle::Sizable:
      made.style |= WS_THICKFRAME;
      break;
    case BorderStyle::FixedDialog:
      made.style |= WS_DLGFRAME;
      made.exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case BorderStyle::FixedToolWindow:
      made.style |= WS_BORDER;
      made.exStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (made.titleBar && form.borderStyle != BorderStyle::None) {
    made.style |= WS_CAPTION;
    if (form.controlBox) made.style |= WS_SYSMENU;
    if (form.minButton) made.style |= WS_MINIMIZEBOX;
    if (form.maxButton) made.style |= WS_MAXIMIZEBOX;
  }
  if (form.showInTaskbar)
    made.exStyle |= WS_EX_APPWINDOW;
  else if (!made.titleBar)
    made.exStyle |= WS_EX_TOOLWINDOW;
  return made;
}

// Child windows stack in creation order, which is also the Tab order: the
// controls by their tab index, frames last so they lie beneath what they hold.
std::vector<Control*> CreationOrder(const Form& form) {
  std::vector<Control*> order(form.controls.begin(), form.controls.end());
  std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
    const bool aFrame = a->kind == ControlKind::Frame, bFrame = b->kind == ControlKind::Frame;
    if (aFrame != bFrame) return bFrame;
    const int aIndex = a->tabIndex < 0 ? 1 << 30 : a->tabIndex, bIndex = b->tabIndex < 0 ? 1 << 30 : b->tabIndex;
    return aIndex < bIndex;
  });
  return order;
}

}  // namespace

void NativeHostImpl::CreateFormWindow(Form& form) {
  if (Find(form)) return;
  auto owned = std::make_unique<FormWindow>();
  FormWindow& fw = *owned;
  fw.host = this;
  fw.form = &form;
  fw.scale = screen_;
  if (form.backColor != kDefaultColor) fw.background.reset(::CreateSolidBrush(ToColor(form.backColor, COLOR_BTNFACE)));

  const FormStyle made = StyleOf(form);
  // Owned by the hidden window, a form stays out of the taskbar and keeps a
  // full-size title bar.
  HWND owner = form.showInTaskbar ? nullptr : owner_.get();
  const RECT rect = OuterRect(form, made.style, made.exStyle, fw.scale);
  HWND hwnd = ::CreateWindowExW(made.exStyle, kFormClass, Wide(form.Caption()).c_str(), made.style, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, owner, nullptr, instance_,
                                nullptr);
  if (!hwnd) return;
  fw.hwnd = hwnd;
  ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&fw));
  forms_[&form] = std::move(owned);
  form.hwnd = reinterpret_cast<Handle>(hwnd);
  Name(hwnd, form.name);

  fw.tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr, instance_,
                                 nullptr);
  // A window that opens on a monitor of another DPI than the system's is laid
  // out for that monitor before its controls are made.
  LoadFormIcons(fw);
  if (const int dpi = WindowDpi(hwnd); dpi != fw.scale.dpi && dpi > 0) DpiChanged(fw, dpi, &rect);

  int id = kFirstControlId;
  for (Control* control : CreationOrder(form)) CreateControl(fw, *control, id++);
  for (Timer* timer : form.timers) TimerChanged(*timer);
  ReportPosition(fw);
}

void NativeHostImpl::DestroyFormWindow(Form& form) {
  const auto it = forms_.find(&form);
  if (it == forms_.end()) return;
  std::unique_ptr<FormWindow> fw = std::move(it->second);
  forms_.erase(it);

  for (auto timer = timers_.begin(); timer != timers_.end();) {
    if (&timer->second->form == &form) {
      ::KillTimer(fw->hwnd, timer->first);
      timer = timers_.erase(timer);
    } else {
      ++timer;
    }
  }
  ::SetWindowLongPtrW(fw->hwnd, GWLP_USERDATA, 0);
  for (auto& cw : fw->controls) {
    ::RemoveWindowSubclass(cw->hwnd, &NativeHostImpl::ControlSubclassProc, kSubclassId);
    ::SetWindowLongPtrW(cw->hwnd, GWLP_USERDATA, 0);
    Unname(cw->hwnd);
  }
  Unname(fw->hwnd);
  // Destroyed through their owners, the tooltip first.
  OwnedWindow(fw->tooltip).reset();
  OwnedWindow(fw->hwnd).reset();
  // The pictures, icons and brush go with fw, now that no window shows them.
  for (auto& cw : fw->controls) cw->control->pictureHandle = 0;
  fw.reset();
  DropUnusedFonts();
}

void NativeHostImpl::FormChanged(Form& form) {
  FormWindow* fw = Find(form);
  if (!fw) return;
  HWND hwnd = fw->hwnd;
  const std::wstring caption = Wide(form.Caption());
  if (WindowText(hwnd) != caption) ::SetWindowTextW(hwnd, caption.c_str());

  const Twips& want = form.Position();
  RECT rect;
  ::GetWindowRect(hwnd, &rect);
  const Scale& scale = fw->scale;
  const int left = Pixels(want.left, scale.x), top = Pixels(want.top, scale.y);
  const int width = Pixels(want.width, scale.x), height = Pixels(want.height, scale.y);
  if (left != rect.left || top != rect.top || width != rect.right - rect.left || height != rect.bottom - rect.top)
    ::SetWindowPos(hwnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  // The window may be somewhere else than asked (the size limit, say): tell the model.
  if (Find(form) == fw) ReportPosition(*fw);

  if (Find(form) != fw) return;
  const bool shown = ::IsWindowVisible(hwnd) != FALSE;
  if (form.Visible() && !shown) {
    ::ShowWindow(hwnd, SW_SHOW);
  } else if (!form.Visible() && shown) {
    ::ShowWindow(hwnd, SW_HIDE);
  }
}

// ------------------------------------------------------------------ timers

void NativeHostImpl::TimerChanged(Timer& timer) {
  FormWindow* fw = Find(timer.form);
  if (!fw) return;
  if (timer.id == 0) timer.id = nextTimerId_++;
  const auto id = static_cast<UINT_PTR>(timer.id);
  if (timer.Enabled() && timer.Interval() > 0) {
    timers_[id] = &timer;
    ::SetTimer(fw->hwnd, id, timer.Interval(), nullptr);
  } else {
    ::KillTimer(fw->hwnd, id);
    timers_.erase(id);
  }
}

// ------------------------------------------------------------------ window procedures

LRESULT CALLBACK NativeHostImpl::OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<NativeHostImpl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  // What the system broadcasts reaches this hidden, unowned window for sure;
  // every form that cares hears of it. Collect first, a handler may load or
  // unload forms.
  const auto tellForms = [host](auto event, auto tell) {
    return Guarded([&] {
      std::vector<Form*> forms;
      for (const auto& [form, fw] : host->forms_)
        if (fw->form->*event) forms.push_back(fw->form);
      for (Form* form : forms)
        if (host->Find(*form) && form->*event) tell(*form);
      return LRESULT{0};
    });
  };
  if (host && msg != 0 && msg == host->taskbarCreated_)  // the shell came back
    return tellForms(&Form::onShellRestarted, [](Form& form) { form.onShellRestarted(); });
  if (host && msg == WM_POWERBROADCAST) {
    tellForms(&Form::onPowerBroadcast, [wParam](Form& form) { form.onPowerBroadcast(wParam); });
    return TRUE;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK NativeHostImpl::FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* fw = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!fw) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  return Guarded([&] { return fw->host->HandleFormMessage(*fw, hwnd, msg, wParam, lParam); });
}

LRESULT NativeHostImpl::HandleFormMessage(FormWindow& fw, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Form& form = *fw.form;
  if (msg == ObjectSignalledMessage() && msg != 0) {
    if (form.onObjectSignalled) form.onObjectSignalled(wParam);
    return 0;
  }
  switch (msg) {
    case WM_COMMAND:
      return HandleCommand(fw, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return HandleColor(fw, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), msg, wParam, lParam);
    case WM_ERASEBKGND:
      return fw.Erase(hwnd, wParam);
    case WM_MOUSEMOVE:
      form.MouseMove(MouseButtons(wParam), ShiftState(wParam), MouseX(lParam) * fw.scale.x,
                     MouseY(lParam) * fw.scale.y);
      return 0;
    case WM_TIMER: {
      const auto it = timers_.find(wParam);
      if (it != timers_.end()) it->second->Tick();
      if (openPopup_) RefreshOpenMenu();
      return 0;
    }
    case WM_CLOSE:
      form.RequestClose();
      return 0;
    case WM_ENDSESSION:
      // Restart Manager wants the program's files (an install or update):
      // it has already been told yes (DefWindowProc), and now it goes.
      if (wParam && (lParam & ENDSESSION_CLOSEAPP) && form.onCloseApp) {
        form.onCloseApp();
        return 0;
      }
      break;
    case WM_COPYDATA:
      return FormCopyData(form, wParam, lParam);
    case WM_MOVE:
    case WM_SIZE:
      ReportPosition(fw);
      break;
    case WM_ACTIVATE:
      // Give the focus back to the control that had it, or to the first one.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd, focus)) fw.lastFocus = focus;
      } else if (!::IsIconic(hwnd)) {
        HWND focus = fw.lastFocus && ::IsWindow(fw.lastFocus) && ::IsWindowEnabled(fw.lastFocus) &&
                             ::IsWindowVisible(fw.lastFocus)
                         ? fw.lastFocus
                         : ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
        if (focus) {
          ::SetFocus(focus);
          return 0;
        }
      }
      break;
    case WM_DPICHANGED: {
      // Both halves carry the same DPI; the suggested rectangle keeps the
      // window where the user dropped it, at the new size.
      RECT suggested;
      DpiChanged(fw, LOWORD(wParam), ReadRect(lParam, suggested) ? &suggested : nullptr);
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace tarnby
