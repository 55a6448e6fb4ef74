// The countdown: which action runs at zero (the "Pre-Selects" frame), the
// entry, start and pause of the countdown, the one-second engine with what it
// does at zero, and the alarm that warns a few seconds before.
//
// The engine counts real seconds: every minute has 60 of them, and the ticks
// come from the clock rather than from how often the window timer happened to
// fire, so a two-week countdown ends on time on a busy machine. A countdown
// given as a length counts the time the machine is awake: a lid closed for
// the night does not end the session the moment it opens. One to a clock
// time counts the time asleep as well, and when its last minute went by
// while the machine slept, that minute starts again at the wake.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/actions/actions.h"
#include "core/actions/power.h"
#include "core/countdown/notice_area.h"
#include "core/forms/form_slot.h"
#include "core/forms/forms.h"
#include "core/system/awake_clock.h"

namespace tarnby {

class Frmhrs;
class Frmprogram;
class Frmstart;
class Frmtime;
struct PreSelectName;

// What a box holds as a number: a plain decimal (sign, digits, one point,
// blanks around). Pasted text that is anything else is no number.
std::optional<double> BoxValue(const std::string& text);

// The whole number a box holds, when it holds one in 0..limit. A fraction is
// no whole number: rounded, it would count down less than the box shows.
std::optional<std::int32_t> WholeBoxValue(const std::string& text, double limit);

// Seconds as the display writes them: always two digits.
std::string TwoDigits(std::int32_t seconds);

// Two weeks of hours: the most the hours window takes.
inline constexpr int kMaxHours = 336;

// The key filter of every time box: digits and backspace pass, any other key
// is swallowed.
void FilterDigits(int& keyAscii);

// How long a countdown runs, split as the window shows it: the hours go to the
// hours window, the minutes and seconds to their boxes. A number of seconds
// splits the plain way (5400 is 1 hour, 30 minutes and 0 seconds).
struct CountdownTime {
  std::int64_t hours = 0, minutes = 0, seconds = 0;
  static CountdownTime Of(std::int64_t seconds);
};

class Countdown {
 public:
  Countdown(Platform& platform, Frmstart& frmstart, FormSlot<Frmhrs>& frmhrs, FormSlot<Frmtime>& frmtime,
            FormSlot<Frmprogram>& frmprogram, Actions& actions, NoticeArea& notice);

  // The counters the start fills in and the engine steps. Seconds run 0..59
  // once the countdown runs; 32 bits hold any total the start accepts.
  struct Counters {
    std::int32_t alarmSeconds = 0;
    std::int32_t hoursCount = 0;  // hours still to fold into the minutes at the first tick
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
    std::int32_t hoursShown = 0;
  };
  const Counters& counters() const { return counters_; }
  bool Running() const;
  // The time left, to the second, hours not yet folded in included.
  std::int64_t SecondsLeft() const;

  // What runs at zero: a power action, which has no ring, or by name the
  // first row of the zero order that holds while a ring shows; nothing
  // without either.
  struct ZeroAction {
    const PreSelectName* name = nullptr;
    bool forced = false;  // its force box is ticked
    std::optional<PowerAction> power;
  };
  ZeroAction DueAction() const;
  // What the status line calls it ("forced restart", "hibernate"); null
  // when nothing is due.
  const char* DueStatus() const;

  // The one way into a countdown, for "&Start", the command line and the
  // triggers: counts `time` down to `action`, with the checks and messages of
  // "&Start" (the alarm's lead time is the alarm box's). The action must be
  // what the "Pre-Selects" frame shows, since the frame is what zero reads;
  // a power action hides the frame's choice while it runs, so no ring claims
  // to be what runs. The boxes then show the time. `toClockTime`: the time is
  // how long until a clock time (/at), which the time asleep brings nearer
  // too. False when refused.
  bool Begin(const ZeroAction& action, const CountdownTime& time, bool toClockTime = false);
  // What Begin would refuse before anything changes, as its message: the
  // button of a pre-selection that cannot be pressed (nothing would show
  // what runs), a time or an alarm box out of bounds; nothing when it would
  // start. Hours beyond the hours window's are for the caller to keep out.
  std::optional<std::string> PreSelectRefusal(const PreSelectName& name) const;
  std::optional<std::string> TimeRefusal(const CountdownTime& time) const;
  // Stopped by "&Pause": "&Start" goes on with the same countdown.
  bool Paused() const { return resuming_ && !Running(); }

  // Pause, then empty the boxes and the display, as the end of a countdown
  // that leaves the program running does.
  void Cancel();

  // The machine must not sleep on its own while a countdown runs.
  void KeepAwake(bool on);

  // Sleep, hibernate or lock now. The keep-awake request is let go first,
  // and asked for again on waking while a countdown still runs.
  void RunPowerAction(PowerAction action);

  // ---- pre-selection (preselect.cpp)
  // A "Pre-Selects" button: its ring alone shown, only its own force box
  // usable. The click of each of cmddos ... cmdshut runs it.
  void PreSelect(Control& button);
  // A power action, which has no button, is what runs at zero: no ring
  // shows. Dropped, the user's own choice shows again as it was.
  void PreSelectPower(PowerAction action);
  void DropPowerAction();
  // The pre-selection changed: a button, a force box or a power action.
  std::function<void()> onPreSelectionChanged;

  // ---- entry and control (entry.cpp)
  void Text1_KeyPress(int& keyAscii);
  void Text2_KeyPress(int& keyAscii);
  void Text3_KeyPress(int& keyAscii);
  void mnutime_Click();
  void cmdstart_Click();
  // The pause steps; the engine runs them too when it returns to idle.
  void cmdstop_Click();
  void KeepResumable();
  void Check1_Click();

  // ---- engine (engine.cpp)
  // Runs every second that has fallen due since the start, in order.
  void Timer1_Timer();
  void Timer2_Timer();
  // The machine is about to sleep, or has woken.
  void frmstart_PowerBroadcast(std::uintptr_t event);

  // ---- alarm (alarm.cpp)
  const std::string& AlarmSoundPath() const { return alarmSoundPath_; }
  void Image1_Click();
  void Image2_Click();
  void Command1_Click();
  void alarm();
  void replay();
  void cmdwav_Click();

 private:
  struct PreSelectRow {
    Control* button;
    Control* ring;
    Control* forceBox;  // null for the five actions without a forced twin
  };
  struct ZeroRow {
    Control* test;  // a force box (ticked) or a ring (shown)
    const CatalogueRow* action;
  };

  void WirePreSelection();
  void WireEntry();
  void WireEngine();
  void WireAlarm();

  bool AnyRingShown() const;
  const ZeroRow* DueRow() const;
  // The boxes and the hours window show the time; a box that already reads
  // the same number keeps the user's own spelling of it.
  void ShowTime(const CountdownTime& time);
  // A power action runs at zero instead of the frame's choice, which the
  // frame stops showing; dropped, the user's choice shows again as it was.
  void TakePowerAction(PowerAction action);
  std::optional<std::string> AlarmRefusal() const;
  bool AlarmAccepted();
  // The balloon over the tray icon shortly before the session ends, once per
  // countdown, and taken down again by a pause.
  void NoticeBeforeEnd();
  void TakeNoticeDown();
  void Refuse(const std::string& message);
  void StartTimers();
  // Seconds due on the countdown's clock now.
  std::uint64_t SecondsDue(std::uint64_t now) const;
  // A clock time's last minute went by while the machine slept: it starts again.
  void LastMinuteFromTheWake(std::uint64_t now);
  void ShowCounters();
  void FoldHours();
  void Tick(bool current);
  void ZeroSteps();
  void RunPreSelectedAction();
  void ReturnToIdle();
  void EmptyTimeShown();

  Platform& platform_;
  Frmstart& f_;
  FormSlot<Frmhrs>& frmhrs_;
  FormSlot<Frmtime>& frmtime_;
  FormSlot<Frmprogram>& frmprogram_;
  Actions& actions_;
  NoticeArea& notice_;
  Counters counters_;
  std::array<PreSelectRow, kOwnBoxes> preSelects_{};
  std::array<ZeroRow, kCatalogue.size()> zeroOrder_{};
  std::string alarmSoundPath_;
  std::optional<PowerAction> power_;  // what runs at zero instead of the frame's choice
  struct HeldRow {
    bool ringShown, boxEnabled, boxTicked;
  };
  using HeldPreSelection = std::array<HeldRow, kOwnBoxes>;
  std::optional<HeldPreSelection> heldPreSelection_;  // the user's choice while a power countdown hides it

  // The clock of the running countdown: when it was started (or resumed), on
  // the awake clock, how many of its seconds have been run since, and, for a
  // countdown to a clock time, how long the machine slept meanwhile.
  std::uint64_t startedAt_ = 0;
  std::uint64_t ticksRun_ = 0;
  bool toClockTime_ = false;
  std::uint64_t slept_ = 0;
  SleepMeter sleepMeter_{platform_};
  // The time left as the last second showed it (the whole time before the
  // first): what a pause gives back to the boxes.
  std::int64_t shownLeft_ = 0;
  std::uint64_t run_ = 0;  // counts the starts, so a stale timer call knows it
  bool inTimer_ = false;

  bool awake_ = false;     // the machine is asked to stay awake
  bool noticed_ = false;   // this countdown gave its notice
  bool noticeUp_ = false;  // and it may still show
  bool resuming_ = false;  // paused, so the next start goes on with the same countdown
};

}  // namespace tarnby
