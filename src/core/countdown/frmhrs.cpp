#include "core/countdown/frmhrs.h"

#include "core/countdown/countdown.h"
#include "core/main_window/frmstart.h"
#include "core/system/window_drag.h"

namespace tarnby {

namespace {
constexpr char kTooManyHours[] = "Max time limit of 2 weeks has been reached!";
constexpr char kTooManyHoursTitle[] = "Time";
}  // namespace

Frmhrs::Frmhrs(Platform& host, Frmstart& frmstart)
    : Form(host, "frmhrs"),
      Label1(*this, "Label1", ControlKind::Label, {120, 192, 1200, 240}, "# of hours"),
      Text1(*this, "Text1", ControlKind::TextBox, {1380, 156, 1056, 300}),
      frmstart_(frmstart) {
  SetDesign("", {5868, 5196, 2556, 624});
  borderStyle = BorderStyle::FixedDialog;
  controlBox = false;
  minButton = false;
  maxButton = false;
  Text1.maxLength = 3;

  onLoad = [this] { platform.SetWindowPos(hwnd, w::kHwndTopmost, 0, 0, 0, 0, w::kSwpNoMove | w::kSwpNoSize); };
  onMouseMove = [this](int button, int, int, int) { DragWindow(*this, button); };
  Text1.onKeyPress = [this](int& keyAscii) {
    frmstart_.cmdstart.SetEnabled(true);
    FilterDigits(keyAscii);
  };
  Text1.onChange = [this] { Text1_Change(); };
}

bool Frmhrs::HoursAccepted() {
  const std::string& text = Text1.Text();
  if (text.find_first_not_of(' ') == std::string::npos || WholeBoxValue(text, kMaxHours)) return true;
  ShowHoursLimit();
  return false;
}

void Frmhrs::ShowHoursLimit() { platform.MessageBox(kTooManyHours, kTooManyHoursTitle, w::kMbIconInformation); }

void Frmhrs::Text1_Change() {
  const std::optional<double> hours = BoxValue(Text1.Text());
  if (!hours) return;  // cleared, or pasted text that is no number
  if (*hours > kMaxHours) {
    ShowHoursLimit();
    Text1.SetText("");
  } else if (*hours < 0) {
    Text1.SetText("");  // a pasted negative count of hours means nothing
  }
}

}  // namespace tarnby
