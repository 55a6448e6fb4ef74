#include "core/countdown/frmtime.h"

#include "core/countdown/countdown.h"
#include "core/main_window/frmstart.h"
#include "core/system/window_drag.h"

namespace tarnby {

namespace {
constexpr int kSlideStep = 300;     // twips per turn of the message loop
constexpr int kBelowTheLabel = 225;  // twips of window under the label's height
}  // namespace

Frmtime::Frmtime(Platform& host, Frmstart& frmstart, const Countdown& countdown)
    : Form(host, "frmtime"),
      Label1(*this, "Label1", ControlKind::Label, {0, 240, 1392, 288}),
      Command1(*this, "Command1", ControlKind::Button, {0, 0, 1392, 240}, "&Close"),
      Timer1(*this, "Timer1", 1000, true),
      frmstart_(frmstart),
      countdown_(countdown) {
  SetDesign("", {3852, 4788, 1392, 516});
  borderStyle = BorderStyle::None;
  controlBox = false;
  Label1.autoSize = true;
  Label1.font = {"MS Sans Serif", 12, true};
  Command1.isCancel = true;

  onLoad = [this] { Form_Load(); };
  onMouseMove = [this](int button, int, int, int) { DragWindow(*this, button); };
  Label1.onMouseMove = [this](int button, int, int, int) { DragWindow(*this, button); };
  Command1.onClick = [this] { SlideOut(); };
  Timer1.onTimer = [this] { ShowTimeLeft(); };
}

void Frmtime::Form_Load() {
  frmstart_.Hide();
  ShowTimeLeft();
  // The window fits the text it opened with and keeps that size.
  const Twips label = Label1.Position();
  Move(Position().left, Position().top, label.width, label.height + kBelowTheLabel);
  const Twips close = Command1.Position();
  Command1.Move(close.top, close.top, Position().width, close.height);
}

void Frmtime::ShowTimeLeft() {
  const Frmstart& f = frmstart_;
  std::string text = f.Label3.Caption() + " : " + f.display.Caption();
  // The main window shows no ring for a power action: this window names it.
  if (const auto power = countdown_.DueAction().power) text = PowerNamed(*power).timeLeft + (" " + text);
  Label1.SetCaption(text);
  // An auto-sized label follows its text; the window does not.
  const TextSize size = platform.MeasureText(Label1);
  const Twips at = Label1.Position();
  if (size.width != at.width || size.height != at.height) Label1.Move(at.left, at.top, size.width, size.height);
}

void Frmtime::SlideOut() {
  for (;;) {
    platform.DoEvents();
    if (!Loaded()) return;  // zero came while it slid, and closed it
    SetLeft(Position().left - kSlideStep);
    if (Position().left < -Position().width) {
      Unload();
      return;
    }
  }
}

}  // namespace tarnby
