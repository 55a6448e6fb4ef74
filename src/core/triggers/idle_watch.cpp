// /when-idle: no keyboard or mouse input for a while. The timer is set for
// the moment the idle time would reach its length, and looks again then.
#include <algorithm>

#include "core/countdown/countdown.h"
#include "core/main_window/frmstart.h"
#include "core/triggers/triggers.h"

namespace tarnby {

std::uint32_t Triggers::IdleMilliseconds(std::uint32_t* lastInput) {
  // The input first, then the clock: input that comes between the two reads
  // must not put the last input after now.
  std::uint32_t last = 0;
  if (!platform_.GetLastInputInfo(last)) last = platform_.GetTickCount();
  if (lastInput) *lastInput = last;
  const std::uint32_t now = platform_.GetTickCount();
  if (sleepMeter_.Slept() > 0) Woke(now);
  // The clock wraps after 49.7 days; differences in 32 bits do not mind.
  if (woken_) {
    if (static_cast<std::int32_t>(wokeAt_ - last) > 0)
      last = wokeAt_;  // nobody has touched the machine since it woke
    else
      woken_ = false;  // input since the wake: the wake says nothing more
  }
  const std::uint32_t idle = now - last;
  return idle > 0x80000000u ? 0 : idle;
}

void Triggers::Woke(std::uint32_t now) {
  woken_ = true;
  wokeAt_ = now;
}

void Triggers::frmstart_PowerBroadcast(std::uintptr_t event) {
  if (event != w::kPbtApmResumeAutomatic) return;
  Woke(platform_.GetTickCount());
  sleepMeter_.Reset();  // this wake is known now
  // A wait timed with the hours asleep counted as idle looks again.
  if (state_ == State::Waiting && command_.when.kind == WhenKind::Idle) LookAtIdle();
}

void Triggers::LookAtIdle() {
  const std::int64_t wanted = command_.when.seconds * 1000;
  const std::int64_t idle = IdleMilliseconds();
  if (idle >= wanted) {
    Fire();
    return;
  }
  Wait(static_cast<std::uint32_t>(wanted - idle));
}

void Triggers::WatchForReturn() {
  // The countdown reached zero, or the user paused it: the trigger is done.
  if (!countdown_.Running()) {
    f_.tmrWhen.SetEnabled(false);
    state_ = State::Off;
    return;
  }
  std::uint32_t last = 0;
  IdleMilliseconds(&last);
  if (last == inputAtFire_) return;
  countdown_.Cancel();
  state_ = State::Waiting;
  LookAtIdle();
  ShowWaitingTip();
}

}  // namespace tarnby
