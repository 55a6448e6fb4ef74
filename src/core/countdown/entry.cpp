// Entry and control: the time boxes, the hours window, "&Start" with its
// checks, and "&Pause", which puts the time left back into the boxes.
#include "core/app_title.h"
#include "core/countdown/countdown.h"
#include "core/countdown/frmhrs.h"
#include "core/countdown/frmtime.h"
#include "core/countdown/preselect_names.h"

namespace tarnby {

namespace {
constexpr char kNoSelection[] = "You must select one of the options above";
constexpr char kNoTime[] = "You must put in the amount of seconds!";
constexpr char kTooManyMinutes[] = "Keep it under 15,000 minutes!";
constexpr char kAlarmTooLong[] = "Alarm seconds must be under 60";
constexpr char kTooManySeconds[] = "Seconds must be 60 or below";

constexpr double kMaxMinutes = 15000, kMaxSeconds = 60, kMaxAlarm = 60;

// A box passes when it holds a whole number within 0..limit. Pasted text, a
// negative number or a fraction fails like a value over the limit: a
// countdown shorter than the boxes show is never what was meant.
bool WithinLimit(const Control& box, double limit) { return WholeBoxValue(box.Text(), limit).has_value(); }
}  // namespace

void Countdown::WireEntry() {
  f_.Text1.onKeyPress = [this](int& keyAscii) { Text1_KeyPress(keyAscii); };
  f_.Text2.onKeyPress = [this](int& keyAscii) { Text2_KeyPress(keyAscii); };
  f_.Text3.onKeyPress = [this](int& keyAscii) { Text3_KeyPress(keyAscii); };
  f_.Check1.onClick = [this] { Check1_Click(); };
  f_.cmdstart.onClick = [this] { cmdstart_Click(); };
  f_.cmdstop.onClick = [this] { cmdstop_Click(); };
  f_.mnutime.onClick = [this] { mnutime_Click(); };
}

// The minutes and seconds boxes: digits only, and typing makes Start usable.
void Countdown::Text1_KeyPress(int& keyAscii) {
  FilterDigits(keyAscii);
  f_.cmdstart.SetEnabled(true);
}

void Countdown::Text2_KeyPress(int& keyAscii) { Text1_KeyPress(keyAscii); }

void Countdown::Text3_KeyPress(int& keyAscii) { FilterDigits(keyAscii); }

void Countdown::mnutime_Click() {
  frmtime_().ShowInFront();
  f_.Hide();
}

void Countdown::Check1_Click() {
  if (f_.Check1.Value())
    frmhrs_().Show();
  else
    frmhrs_.Unload();  // whatever was typed there is forgotten
}

void Countdown::Refuse(const std::string& message) { platform_.MessageBox(message, kAppTitle, w::kMbOk); }

CountdownTime CountdownTime::Of(std::int64_t seconds) { return {seconds / 3600, seconds % 3600 / 60, seconds % 60}; }

// An empty alarm box is no alarm.
std::optional<std::string> Countdown::AlarmRefusal() const {
  if (f_.Text3.Text().empty() || WithinLimit(f_.Text3, kMaxAlarm)) return std::nullopt;
  return kAlarmTooLong;
}

bool Countdown::AlarmAccepted() {
  if (const std::optional<std::string> refusal = AlarmRefusal()) {
    Refuse(*refusal);
    return false;
  }
  if (f_.Text3.Text().empty()) f_.Text3.SetText("0");
  return true;
}

std::optional<std::string> Countdown::PreSelectRefusal(const PreSelectName& name) const {
  if ((f_.*name.button).Enabled()) return std::nullopt;
  return kNoSelection;
}

std::optional<std::string> Countdown::TimeRefusal(const CountdownTime& time) const {
  if (time.minutes < 0 || time.minutes > kMaxMinutes) return kTooManyMinutes;
  if (std::optional<std::string> refusal = AlarmRefusal()) return refusal;
  if (time.seconds < 0 || time.seconds > kMaxSeconds) return kTooManySeconds;
  return std::nullopt;
}

// "&Start" checks the boxes in its own order, each with its message, and
// hands what they hold to Begin.
void Countdown::cmdstart_Click() {
  const ZeroAction action = DueAction();
  if (action.name == nullptr && !action.power) {
    Refuse(kNoSelection);
    return;
  }
  if (f_.Text2.Text().empty() && f_.Text1.Text().empty()) {
    Refuse(kNoTime);
    return;
  }
  if (f_.Text2.Text().empty()) f_.Text2.SetText("0");
  const auto minutes = WholeBoxValue(f_.Text2.Text(), kMaxMinutes);
  if (!minutes) {
    Refuse(kTooManyMinutes);
    return;
  }
  if (!AlarmAccepted()) return;
  // Empty seconds mean whole minutes: zero seconds count down like any other.
  if (f_.Text1.Text().empty()) f_.Text1.SetText("0");
  const auto seconds = WholeBoxValue(f_.Text1.Text(), kMaxSeconds);
  if (!seconds) {
    Refuse(kTooManySeconds);
    return;
  }
  if (!frmhrs_().HoursAccepted()) return;
  // An empty hours box is no hours.
  const auto hours = WholeBoxValue(frmhrs_().Text1.Text(), kMaxHours);
  Begin(action, {hours.value_or(0), *minutes, *seconds});
}

bool Countdown::Begin(const ZeroAction& action, const CountdownTime& time, bool toClockTime) {
  const ZeroAction shown = DueAction();
  const bool shownByTheFrame = action.name != nullptr && action.name == shown.name &&
                               action.forced == shown.forced && !shown.power;
  if (!action.power && !shownByTheFrame) {
    Refuse(kNoSelection);
    return false;
  }
  if (const std::optional<std::string> refusal = TimeRefusal(time)) {
    Refuse(*refusal);
    return false;
  }
  if (f_.Text3.Text().empty()) f_.Text3.SetText("0");
  if (time.hours < 0 || time.hours > kMaxHours) {
    frmhrs_().ShowHoursLimit();
    return false;
  }
  ShowTime(time);
  if (action.power) PreSelectPower(*action.power);

  Counters& c = counters_;
  c.hoursCount = static_cast<std::int32_t>(time.hours);
  // A resumed countdown goes on showing the hours it was started with.
  if (time.hours > 0 || !resuming_) c.hoursShown = c.hoursCount;
  if (const auto alarmSeconds = WholeBoxValue(f_.Text3.Text(), kMaxAlarm)) c.alarmSeconds = *alarmSeconds;
  c.minutes = static_cast<std::int32_t>(time.minutes);
  c.seconds = static_cast<std::int32_t>(time.seconds);
  // Sixty seconds are the next minute, so the display never shows more than 59.
  if (c.seconds == 60) {
    c.seconds = 0;
    ++c.minutes;
  }
  frmhrs_.Unload();

  if (!resuming_) noticed_ = false;  // a new countdown gets its own notice
  toClockTime_ = toClockTime;
  StartTimers();
  f_.Check1.SetEnabled(false);
  f_.cmdstart.SetEnabled(false);
  f_.cmdwav.SetVisible(false);
  f_.Text1.SetEnabled(false);
  f_.Text2.SetEnabled(false);
  f_.Text3.SetEnabled(false);
  f_.cmdstop.SetEnabled(true);
  f_.mnutime.visible = true;
  NoticeBeforeEnd();
  return true;
}

void Countdown::ShowTime(const CountdownTime& time) {
  const auto reads = [](const Control& box, std::int64_t value) {
    const auto number = WholeBoxValue(box.Text(), static_cast<double>(value));
    return number && *number == value;
  };
  if (time.hours > 0) {
    if (!f_.Check1.Value()) f_.Check1.Click();  // opens the hours window
    if (!reads(frmhrs_().Text1, time.hours)) frmhrs_().Text1.SetText(std::to_string(time.hours));
  } else if (f_.Check1.Value() && WholeBoxValue(frmhrs_().Text1.Text(), kMaxHours).value_or(0) != 0) {
    f_.Check1.Click();  // closes the hours window, forgetting its hours
  }
  if (!reads(f_.Text2, time.minutes)) f_.Text2.SetText(std::to_string(time.minutes));
  if (!reads(f_.Text1, time.seconds)) f_.Text1.SetText(std::to_string(time.seconds));
}

void Countdown::cmdstop_Click() {
  if (f_.Check1.Value())
    frmhrs_().Hide();
  else
    frmhrs_.Unload();
  f_.Timer1.SetEnabled(false);
  f_.Timer2.SetEnabled(false);
  KeepAwake(false);
  TakeNoticeDown();
  resuming_ = true;
  // The time last shown, with its hours: the first second still shows the
  // minutes as typed while the hours are already folded in behind them.
  f_.Text1.SetText(TwoDigits(static_cast<std::int32_t>(shownLeft_ % 60)));
  f_.Text2.SetText(std::to_string(shownLeft_ / 60));
  f_.Text1.SetEnabled(true);
  f_.Text2.SetEnabled(true);
  f_.Check1.SetEnabled(true);
  f_.cmdstart.SetEnabled(true);
  f_.cmdwav.SetVisible(true);
  f_.cmdstop.SetEnabled(false);
  f_.Text3.SetEnabled(true);
  frmhrs_().Text1.SetText("");
  counters_.hoursCount = 0;
  platform_.PlaySound("", 0, 0);
  KeepResumable();
}

void Countdown::KeepResumable() {
  // A long countdown can leave more minutes than "&Start" accepts. Hand the
  // fewest whole hours that bring the minutes within bounds back to the hours
  // window, so that "&Start" resumes from exactly the time shown.
  const std::int64_t minutes = shownLeft_ / 60;
  if (minutes <= static_cast<std::int64_t>(kMaxMinutes)) return;
  const std::int64_t hours = (minutes - static_cast<std::int64_t>(kMaxMinutes) + 59) / 60;
  f_.Text2.SetText(std::to_string(minutes - hours * 60));
  if (!f_.Check1.Value()) f_.Check1.SetValue(true);  // shows the hours window
  frmhrs_().Text1.SetText(std::to_string(hours));
  frmhrs_().Show();  // ticked before the pause, it was only hidden
}

}  // namespace tarnby
