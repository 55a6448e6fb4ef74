// The engine: one step per second of the countdown, the blinking separator,
// and what happens at zero.
#include <algorithm>
#include <cstdio>

#include "core/app_title.h"
#include "core/countdown/countdown.h"
#include "core/countdown/frmhrs.h"
#include "core/countdown/frmtime.h"
#include "core/countdown/preselect_names.h"
#include "core/system/os_info.h"
#include "core/system/scoped.h"
#include "core/system/size_limit.h"

namespace tarnby {

namespace {
constexpr std::uint32_t kSecond = 1000;  // ms
constexpr std::int64_t kLastMinute = 60;  // s
}

std::string TwoDigits(std::int32_t seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", static_cast<int>(seconds));
  return text;
}

void Countdown::WireEngine() {
  f_.Timer1.onTimer = [this] { Timer1_Timer(); };
  f_.Timer2.onTimer = [this] { Timer2_Timer(); };
}

void Countdown::StartTimers() {
  startedAt_ = AwakeMilliseconds(platform_);
  ticksRun_ = 0;
  slept_ = 0;
  sleepMeter_.Reset();
  shownLeft_ = SecondsLeft();
  ++run_;
  f_.Timer1.SetInterval(kSecond);
  f_.Timer1.SetEnabled(true);
  f_.Timer2.SetEnabled(true);
  KeepAwake(true);
}

void Countdown::KeepAwake(bool on) {
  if (on == awake_) return;
  awake_ = on;
  platform_.SetThreadExecutionState(on ? w::kEsContinuous | w::kEsSystemRequired : w::kEsContinuous);
}

void Countdown::Timer1_Timer() {
  // A message box or dialog opened at zero turns the message loop; a timer
  // call that arrives through it must not step the countdown under our feet.
  const ReentryGuard guard(inTimer_);
  if (!guard.Entered()) return;
  const std::uint64_t run = run_;
  const std::uint64_t now = AwakeMilliseconds(platform_);
  // A countdown to a clock time counts the time asleep too; when the machine
  // slept into (or past) its last minute, that minute starts again now.
  if (const std::uint64_t slept = sleepMeter_.Slept(); slept > 0 && toClockTime_) {
    slept_ += slept;
    const std::uint64_t due = SecondsDue(now) - std::min(SecondsDue(now), ticksRun_);
    if (SecondsLeft() - static_cast<std::int64_t>(due) < kLastMinute) LastMinuteFromTheWake(now);
  }
  // Every second since the start is due, however late this call came: a
  // timer that fires late or calls merged by a busy system catch up here,
  // in order.
  const std::uint64_t due = SecondsDue(now);
  while (Running() && run == run_ && ticksRun_ < due) {
    ++ticksRun_;
    Tick(ticksRun_ == due);
  }
  if (Running() && run == run_) {
    // Wake again at the next whole second after the start, so the lateness
    // of one call is not carried into the next.
    const std::uint64_t next = startedAt_ + (ticksRun_ + 1) * kSecond;
    const std::uint64_t counted = now + slept_;
    f_.Timer1.SetInterval(static_cast<std::uint32_t>(next > counted ? next - counted : 1));
    NoticeBeforeEnd();
  }
}

std::uint64_t Countdown::SecondsDue(std::uint64_t now) const {
  const std::uint64_t counted = now + slept_;
  return counted > startedAt_ ? (counted - startedAt_) / kSecond : 0;
}

void Countdown::LastMinuteFromTheWake(std::uint64_t now) {
  // Acting the moment the machine wakes would give nobody the chance to stop
  // it: the countdown goes on as a plain minute from now, with its notice.
  FoldHours();
  counters_.minutes = 1;
  counters_.seconds = 0;
  counters_.hoursShown = 0;
  toClockTime_ = false;
  slept_ = 0;
  startedAt_ = now;
  ticksRun_ = 0;
  shownLeft_ = SecondsLeft();
  noticed_ = false;
  ShowCounters();
}

void Countdown::frmstart_PowerBroadcast(std::uintptr_t event) {
  // Take stock at once: before the machine sleeps, so that what follows is
  // time asleep, and on waking, so that the time shown (and a clock time
  // passed meanwhile) is right at once, whether this or the timer comes first.
  if ((event == w::kPbtApmSuspend || event == w::kPbtApmResumeAutomatic) && Running()) Timer1_Timer();
}

std::int64_t Countdown::SecondsLeft() const {
  const Counters& c = counters_;
  const std::int64_t pendingHours = f_.Check1.Value() ? c.hoursCount : 0;
  return pendingHours * 3600 + std::int64_t{c.minutes} * 60 + c.seconds;
}

void Countdown::ShowCounters() {
  f_.lblhrs.SetCaption(std::to_string(counters_.hoursShown));
  f_.Label3.SetCaption(std::to_string(counters_.minutes));
  f_.display.SetCaption(TwoDigits(counters_.seconds));
}

void Countdown::FoldHours() {
  if (!f_.Check1.Value()) return;
  // The hours join the minutes once, at the first second.
  Counters& c = counters_;
  c.hoursCount = c.hoursCount * 60 + c.minutes;
  c.minutes = c.hoursCount;
  f_.Check1.SetValue(false);  // its click unloads the hours window
  f_.Check1.SetEnabled(false);
}

void Countdown::Tick(bool current) {
  Counters& c = counters_;
  // Each second shows the time left at its start. Seconds caught up in a
  // batch are not drawn one by one: only the latest and the one at zero.
  shownLeft_ = SecondsLeft();
  if (current || shownLeft_ <= 1) ShowCounters();

  if (c.seconds > 0) {
    --c.seconds;
  } else {
    --c.minutes;
    c.seconds = 59;
  }
  FoldHours();

  // A warning for a second that has already passed is noise; only the
  // current one sounds.
  if (current && f_.Image1.Visible()) alarm();

  if (c.minutes < 0 || (c.minutes == 0 && c.seconds == 0)) ZeroSteps();
}

void Countdown::Timer2_Timer() { f_.Label5.SetVisible(!f_.Label5.Visible()); }

void Countdown::ZeroSteps() {
  // The countdown is over: nothing may run these steps a second time, also
  // while a message box below keeps the message loop turning.
  f_.Timer1.SetEnabled(false);
  KeepAwake(false);

  f_.Hide();
  f_.cmdwav.SetVisible(true);
  frmhrs_.Unload();
  frmtime_.Unload();
  frmhrs_().Text1.SetText("");
  counters_.hoursShown = 0;
  counters_.hoursCount = 0;
  f_.mnutime.visible = false;
  f_.Command1.SetEnabled(true);
  f_.lblhrs.SetCaption("");
  platform_.PlaySound("", 0, 0);
  RunPreSelectedAction();
}

const Countdown::ZeroRow* Countdown::DueRow() const {
  for (const ZeroRow& row : zeroOrder_)
    if (row.test->kind == ControlKind::CheckBox ? row.test->Value() : row.test->Visible()) return &row;
  return nullptr;
}

Countdown::ZeroAction Countdown::DueAction() const {
  if (power_) return {nullptr, false, power_};
  const ZeroRow* row = AnyRingShown() ? DueRow() : nullptr;
  if (row == nullptr) return {};
  for (const PreSelectRow& preSelect : preSelects_)
    if (preSelect.ring == row->test || preSelect.forceBox == row->test)
      return {PreSelectNamed(*preSelect.button, f_), preSelect.forceBox == row->test, std::nullopt};
  return {};
}

void Countdown::RunPreSelectedAction() {
  if (const std::optional<PowerAction> power = power_) {
    // Idle first: the machine may sleep for hours before the call returns.
    ReturnToIdle();
    RunPowerAction(*power);
    return;
  }
  const ZeroRow* due = DueRow();
  if (due == nullptr) {
    ReturnToIdle();  // nothing pre-selected: a start never lets that happen
    return;
  }
  if (!due->action->code) {
    actions_.RunPrograms();
    ReturnToIdle();
    return;
  }
  const ActionCode code = *due->action->code;
  if (due->action->endsSession) {
    // The session (or Windows) ends: Tarnby ends with it, at once.
    RestoreWindowProcs();
    actions_.Perform(code, Caller::Countdown);
    actions_.EndAtOnce();
    return;
  }
  // The rest leave the session running and Tarnby idle with empty boxes.
  // Windows 98's stored screen saver may open a file dialog first: the boxes
  // are empty before it can.
  const bool idleFirst = code == ActionCode::screen && actions_.ScreenSaverRunsStoredFile();
  if (idleFirst) ReturnToIdle();
  actions_.Perform(code, Caller::Countdown);
  if (!idleFirst) ReturnToIdle();
}

void Countdown::ReturnToIdle() {
  cmdstop_Click();
  EmptyTimeShown();
  f_.Hide();
}

void Countdown::Cancel() {
  cmdstop_Click();
  // Hours a long countdown handed back to the hours window go too.
  if (f_.Check1.Value()) f_.Check1.SetValue(false);
  f_.lblhrs.SetCaption("");
  EmptyTimeShown();
}

void Countdown::RunPowerAction(PowerAction action) {
  // A request to stay awake must not hold the machine up on its way to sleep.
  KeepAwake(false);
  const std::optional<std::string> refused = PerformPower(platform_, action, f_.hwnd);
  KeepAwake(Running());
  if (refused) platform_.MessageBox(*refused, kAppTitle, w::kMbOk);
}

void Countdown::EmptyTimeShown() {
  // The countdown is over: "&Start" runs the frame's choice again.
  DropPowerAction();
  resuming_ = false;
  f_.Label3.SetCaption("");
  f_.display.SetCaption("");
  f_.Text1.SetText("");
  f_.Text2.SetText("");
}

}  // namespace tarnby
