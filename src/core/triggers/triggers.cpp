// Arming, firing and disarming a trigger, and what the status line and the
// tray's tip say about it.
#include "core/triggers/triggers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/actions/power.h"
#include "core/countdown/countdown.h"
#include "core/countdown/preselect_names.h"
#include "core/main_window/frmstart.h"
#include "core/shell/tray.h"

namespace tarnby {

namespace {
constexpr std::uint32_t kWatchForReturnMs = 1000;
}

std::string ClockText(std::int64_t seconds) {
  char text[48];
  if (seconds >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
  return text;
}

std::string SpokenLength(std::int64_t seconds) {
  if (seconds < 120) return std::to_string(seconds) + " s";
  if (seconds % 3600 == 0) return std::to_string(seconds / 3600) + (seconds == 3600 ? " hour" : " hours");
  if (seconds % 60 == 0) return std::to_string(seconds / 60) + " minutes";
  return ClockText(seconds);
}

Triggers::Triggers(Platform& platform, Frmstart& f, Countdown& countdown, Tray& tray)
    : platform_(platform), f_(f), countdown_(countdown), tray_(tray) {
  f_.tmrWhen.onTimer = [this] { tmrWhen_Timer(); };
  f_.onObjectSignalled = [this](std::uintptr_t cookie) { frmstart_ObjectSignalled(cookie); };
}

Triggers::~Triggers() = default;

namespace {
std::string NothingToWaitFor(const When& when) {
  if (when.pid) return "No process has the id " + std::to_string(*when.pid) + ", so there is nothing to wait for.";
  return "No program named \"" + when.program + "\" is running, so there is nothing to wait for.";
}
}  // namespace

std::string Triggers::Refusal(const Command& command) {
  if (command.when.kind != WhenKind::Exits || !Matching(command.when).empty()) return {};
  return NothingToWaitFor(command.when);
}

std::string Triggers::Arm(const Command& command) {
  Disarm();
  if (command.when.kind == WhenKind::None) return {};
  command_ = command;
  switch (command.when.kind) {
    case WhenKind::Exits: {
      const std::vector<ProcessEntry> found = Matching(command.when);
      if (found.empty()) return NothingToWaitFor(command.when);
      state_ = State::Waiting;
      ArmExits(found);
      break;
    }
    case WhenKind::Idle:
      state_ = State::Waiting;
      LookAtIdle();
      break;
    case WhenKind::Quiet:
      state_ = State::Waiting;
      last_ = TakeSample();
      quietSince_ = last_.at;
      ScheduleSample();
      break;
    case WhenKind::None:
      break;
  }
  ShowWaitingTip();
  return {};
}

void Triggers::ShowWaitingTip() {
  // The wait may be over at once (idle long enough already).
  if (state_ != State::Waiting) return;
  std::string tip = Sentence();
  tip[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(tip[0])));
  tray_.ShowWaitingTip(tip);
}

void Triggers::Disarm() {
  const bool shown = state_ == State::Waiting;
  watched_.clear();  // lets go of every wait and process
  f_.tmrWhen.SetEnabled(false);
  state_ = State::Off;
  if (shown) tray_.ShowWaitingTip("");
}

void Triggers::Fire() {
  Command countdown = command_;
  countdown.when = When{};
  if (!countdown.inSeconds) countdown.inSeconds = kTriggerCountdownSeconds;
  const bool idle = command_.when.kind == WhenKind::Idle;
  Disarm();
  if (onFire) onFire(countdown);
  // The user who comes back during the countdown stops it: the computer is
  // in use again, so the wait for the idle time begins anew.
  if (idle && countdown_.Running()) {
    state_ = State::Watching;
    IdleMilliseconds(&inputAtFire_);
    Wait(kWatchForReturnMs);
  }
}

void Triggers::Wait(std::uint32_t milliseconds) {
  f_.tmrWhen.SetInterval(std::max<std::uint32_t>(milliseconds, 1));
  f_.tmrWhen.SetEnabled(true);
}

void Triggers::tmrWhen_Timer() {
  if (state_ == State::Watching) {
    WatchForReturn();
    return;
  }
  if (state_ != State::Waiting) {
    f_.tmrWhen.SetEnabled(false);
    return;
  }
  switch (command_.when.kind) {
    case WhenKind::Exits:
      LookForAbsent();
      break;
    case WhenKind::Idle:
      LookAtIdle();
      break;
    case WhenKind::Quiet:
      LookAtActivity();
      break;
    case WhenKind::None:
      break;
  }
}

std::string Triggers::Sentence() const {
  const std::string action = command_.power
                                 ? PowerNamed(*command_.power).status
                                 : StatusOf(kPreSelectNames[static_cast<std::size_t>(command_.preSelect)], command_.force);
  const When& when = command_.when;
  switch (when.kind) {
    case WhenKind::Exits: {
      std::string program = watched_.empty() ? when.program : watched_.front().name;
      if (when.pid) program += " (process " + std::to_string(*when.pid) + ")";
      return action + " " + SpokenLength(command_.inSeconds.value_or(kTriggerCountdownSeconds)) + " after " +
             program + " exits";
    }
    case WhenKind::Idle:
      return action + " after " + SpokenLength(when.seconds) + " idle";
    case WhenKind::Quiet:
      return action + " when quiet for " + SpokenLength(when.seconds);
    case WhenKind::None:
      break;
  }
  return {};
}

std::string Triggers::StatusLine() {
  if (state_ != State::Waiting) return {};
  switch (command_.when.kind) {
    case WhenKind::Idle:
      return Sentence() + " (idle now " + ClockText(IdleMilliseconds() / 1000) + ")";
    case WhenKind::Quiet: {
      const std::uint64_t now = platform_.TickCount();
      return Sentence() + " (quiet now " + ClockText(static_cast<std::int64_t>((now - std::min(now, quietSince_)) / 1000)) +
             ")";
    }
    case WhenKind::Exits:
    case WhenKind::None:
      break;
  }
  return Sentence();
}

}  // namespace tarnby
