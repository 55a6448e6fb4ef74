// The machine's time as the countdown and the triggers count it. The tick
// count runs on while the machine sleeps or hibernates; the unbiased
// interrupt time stands still then. A countdown given as a length counts
// the time awake, and the gap that opens between the two clocks is the time
// the machine slept.
#pragma once

#include <cstdint>

#include "core/platform.h"

namespace tarnby {

// Milliseconds awake; the tick count where the system has no unbiased clock.
std::uint64_t AwakeMilliseconds(Platform& platform);

// How long the machine slept between two looks.
class SleepMeter {
 public:
  explicit SleepMeter(Platform& platform) : platform_(platform) { Reset(); }
  // Measures from now on.
  void Reset() { gap_ = Gap(); }
  // The milliseconds slept since the last look; 0 for less than a second,
  // which is no sleep but two clocks read a moment apart.
  std::uint64_t Slept();

 private:
  std::int64_t Gap();
  Platform& platform_;
  std::int64_t gap_ = 0;
};

}  // namespace tarnby
