#include "core/forms/forms.h"

#include <utility>

namespace tarnby {

Control::Control(Form& owner, std::string controlName, ControlKind controlKind, Twips position, std::string caption,
                 Control* frame)
    : form(owner),
      name(std::move(controlName)),
      kind(controlKind),
      container(frame),
      caption_(std::move(caption)),
      position_(position) {
  form.controls.push_back(this);
}

void Control::Changed() {
  if (form.Loaded()) form.platform.ControlChanged(*this);
}

void Control::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed();
}

void Control::SetText(std::string text) {
  if (text == caption_) return;
  caption_ = std::move(text);
  Changed();
  if (onChange) onChange();
}

void Control::NativeTextChanged(std::string text) {
  if (text == caption_) return;
  caption_ = std::move(text);
  if (onChange) onChange();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
}

void Control::SetValue(bool value) {
  if (value == value_) return;
  value_ = value;
  if (kind == ControlKind::OptionButton && value) {
    for (Control* other : form.controls) {
      if (other != this && other->kind == ControlKind::OptionButton && other->container == container &&
          other->value_) {
        other->value_ = false;
        other->Changed();
      }
    }
  }
  Changed();
  if (onClick) onClick();
}

void Control::Move(int left, int top, int width, int height) {
  position_ = {left, top, width, height};
  Changed();
}

void Control::SetPicture(int resourceId) {
  if (resourceId == picture_) return;
  picture_ = resourceId;
  Changed();
}

void Control::Click() {
  if (!enabled_) return;
  if (kind == ControlKind::CheckBox) {
    SetValue(!value_);  // raises Click itself
    return;
  }
  if (kind == ControlKind::OptionButton && !value_) {
    SetValue(true);
    return;
  }
  if (onClick) onClick();
}

void Control::KeyPress(int& keyAscii) {
  if (onKeyPress) onKeyPress(keyAscii);
}

void Control::MouseMove(int button, int shift, int x, int y) {
  if (onMouseMove) onMouseMove(button, shift, x, y);
}

Timer::Timer(Form& owner, std::string timerName, std::uint32_t interval, bool enabled)
    : form(owner), name(std::move(timerName)), interval_(interval), enabled_(enabled) {
  form.timers.push_back(this);
}

void Timer::SetInterval(std::uint32_t interval) {
  if (interval == interval_) return;
  interval_ = interval;
  if (form.Loaded()) form.platform.TimerChanged(*this);
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (form.Loaded()) form.platform.TimerChanged(*this);
}

void Timer::Tick() {
  if (enabled_ && interval_ > 0 && onTimer) onTimer();
}

Form::Form(Platform& host, std::string formName) : platform(host), name(std::move(formName)) {}

Form::~Form() {
  if (loaded_) platform.DestroyFormWindow(*this);
}

void Form::SetDesign(std::string caption, Twips position) {
  caption_ = std::move(caption);
  position_ = position;
  clientWidth_ = position.width;
  clientHeight_ = position.height;
}

void Form::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  if (loaded_) platform.FormChanged(*this);
}

void Form::Move(int left, int top, int width, int height) {
  position_ = {left, top, width, height};
  if (loaded_) platform.FormChanged(*this);
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  platform.CreateFormWindow(*this);
  if (onLoad) onLoad();
}

void Form::Show() {
  Load();
  if (!loaded_) return;  // the load unloaded it again
  visible_ = true;
  platform.FormChanged(*this);
}

void Form::ShowInFront() {
  Show();
  if (visible_) platform.BringWindowForward(hwnd);
}

void Form::ShowOnTopWithoutFocus() {
  Load();
  if (!loaded_) return;
  if (!visible_) platform.ShowWindow(hwnd, w::kSwShowNoActivate);
  platform.SetWindowPos(hwnd, w::kHwndTopmost, 0, 0, 0, 0, w::kSwpNoMove | w::kSwpNoSize | w::kSwpNoActivate);
  Show();  // the model follows; the real window already shows
}

void Form::Hide() {
  Load();
  if (!loaded_ || !visible_) return;
  visible_ = false;
  platform.FormChanged(*this);
}

void Form::Unload() {
  if (!loaded_) return;
  if (onUnload) onUnload();
  for (Timer* timer : timers) timer->SetEnabled(false);
  loaded_ = false;
  visible_ = false;
  platform.DestroyFormWindow(*this);
  hwnd = 0;
  for (Control* control : controls) control->hwnd = 0;
}

void Form::RequestClose() {
  if (onQueryUnload && onQueryUnload()) return;
  Unload();
}

void Form::MouseMove(int button, int shift, int x, int y) {
  if (onMouseMove) onMouseMove(button, shift, x, y);
}

Control* Form::Find(const std::string& controlName) {
  for (Control* control : controls)
    if (control->name == controlName) return control;
  return nullptr;
}

}  // namespace tarnby
