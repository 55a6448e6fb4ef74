// Arming, firing and disarming a trigger, and what the status line and the
// tray's tip say about it.
#include "core/triggers/triggers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/command_line/trigger_kinds.h"
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

void WatchParts::LookIn(std::uint32_t milliseconds) {
  f.tmrWhen.SetInterval(std::max<std::uint32_t>(milliseconds, 1));
  f.tmrWhen.SetEnabled(true);
}

void WatchParts::StopLooking() { f.tmrWhen.SetEnabled(false); }

Triggers::Triggers(Platform& platform, Frmstart& f, Countdown& countdown, Tray& tray)
    : platform_(platform), f_(f), countdown_(countdown), tray_(tray) {
  f_.tmrWhen.onTimer = [this] { tmrWhen_Timer(); };
  f_.onObjectSignalled = [this](std::uintptr_t cookie) { frmstart_ObjectSignalled(cookie); };
  countdown_.onPreSelectionChanged = [this] { ShowWaitingTip(); };
}

Triggers::~Triggers() = default;

std::optional<std::string> Triggers::Refusal(const Command& command) {
  const TriggerKind* kind = TriggerKindOf(command.when.kind);
  return kind ? kind->watch(parts_, command)->Refusal() : std::nullopt;
}

void Triggers::Arm(const Command& command) {
  Disarm();
  if (!TriggerKindOf(command.when.kind)) return;
  command_ = command;
  StartWatching();
}

void Triggers::StartWatching() {
  watch_ = TriggerKindOf(command_.when.kind)->watch(parts_, command_);
  state_ = State::Waiting;
  // What it waits for may have happened already (idle long enough).
  if (watch_->Arm()) Fire();
  ShowWaitingTip();
}

void Triggers::ShowWaitingTip() {
  if (state_ != State::Waiting) return;
  std::string tip = Sentence();
  tip[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(tip[0])));
  tray_.ShowWaitingTip(tip);
}

void Triggers::Disarm() {
  const bool shown = state_ == State::Waiting;
  watch_.reset();  // lets go of every wait and process
  parts_.StopLooking();
  state_ = State::Off;
  if (shown) tray_.ShowWaitingTip("");
}

void Triggers::Fire() {
  Command countdown = command_;
  countdown.when = When{};
  if (!countdown.inSeconds) countdown.inSeconds = kTriggerCountdownSeconds;
  // What the window shows now is what runs.
  const Countdown::ZeroAction due = countdown_.DueAction();
  if (due.power || due.name != nullptr) {
    countdown.power = due.power;
    countdown.preSelect = due.name != nullptr ? static_cast<int>(due.name - kPreSelectNames.data()) : -1;
    countdown.force = due.forced;
  }
  const bool watchReturn = TriggerKindOf(command_.when.kind)->waitsAgainWhenUsed;
  Disarm();
  if (onFire) onFire(countdown);
  if (watchReturn && countdown_.Running()) {
    state_ = State::Watching;
    idle_.Milliseconds(&inputAtFire_);
    parts_.LookIn(kWatchForReturnMs);
  }
}

void Triggers::WatchForReturn() {
  // The countdown reached zero, or the user paused it: the trigger is done.
  if (!countdown_.Running()) {
    parts_.StopLooking();
    state_ = State::Off;
    return;
  }
  std::uint32_t last = 0;
  idle_.Milliseconds(&last);
  if (last == inputAtFire_) return;
  countdown_.Cancel();
  StartWatching();
}

void Triggers::tmrWhen_Timer() {
  if (state_ == State::Watching) {
    WatchForReturn();
    return;
  }
  if (state_ != State::Waiting) {
    parts_.StopLooking();
    return;
  }
  if (watch_->Look()) Fire();
}

void Triggers::frmstart_ObjectSignalled(std::uintptr_t cookie) {
  // A signal that was on its way when the trigger went says nothing.
  if (state_ == State::Waiting && watch_->Signalled(cookie)) Fire();
}

void Triggers::frmstart_PowerBroadcast(std::uintptr_t event) {
  if (event != w::kPbtApmResumeAutomatic) return;
  idle_.Resumed();
  // A wait timed with the hours asleep counted as idle looks again.
  if (state_ == State::Waiting && watch_->Woke()) Fire();
}

std::string Triggers::Sentence() const {
  // Arming made the command's action the window's, and what the window
  // shows is what runs.
  const char* due = countdown_.DueStatus();
  return std::string(due != nullptr ? due : "") + " " + watch_->Said();
}

std::string Triggers::StatusLine() {
  if (state_ != State::Waiting) return {};
  const std::string sentence = Sentence(), now = watch_->Now();
  return now.empty() ? sentence : sentence + " (" + now + ")";
}

}  // namespace tarnby
