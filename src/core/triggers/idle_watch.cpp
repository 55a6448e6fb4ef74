// /when-idle: no keyboard or mouse input for a while. The timer is set for
// the moment the idle time would reach its length, and looks again then.
#include "core/command_line/trigger_kinds.h"
#include "core/triggers/watch.h"

namespace tarnby {

std::uint32_t IdleClock::Milliseconds(std::uint32_t* lastInput) {
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

void IdleClock::Woke(std::uint32_t now) {
  woken_ = true;
  wokeAt_ = now;
}

void IdleClock::Resumed() {
  Woke(platform_.GetTickCount());
  sleepMeter_.Reset();  // this wake is known now
}

namespace {

class IdleWatch : public Watch {
 public:
  using Watch::Watch;

  bool Arm() override { return Look(); }

  bool Look() override {
    const std::int64_t wanted = command_.when.seconds * 1000;
    const std::int64_t idle = parts_.idle.Milliseconds();
    if (idle >= wanted) return true;
    parts_.LookIn(static_cast<std::uint32_t>(wanted - idle));
    return false;
  }

  // A wait timed with the hours asleep counted as idle looks again.
  bool Woke() override { return Look(); }

  std::string Said() const override { return "after " + SpokenLength(command_.when.seconds) + " idle"; }

  std::string Now() override { return "idle now " + ClockText(parts_.idle.Milliseconds() / 1000); }
};

}  // namespace

std::unique_ptr<Watch> WatchIdle(WatchParts& parts, const Command& command) {
  return std::make_unique<IdleWatch>(parts, command);
}

}  // namespace tarnby
