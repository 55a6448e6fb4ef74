#include "core/system/awake_clock.h"

namespace tarnby {

namespace {
constexpr std::uint64_t kUnitsPerMillisecond = 10000;  // of 100 ns
constexpr std::int64_t kLeastSleep = 1000;
}  // namespace

std::uint64_t AwakeMilliseconds(Platform& platform) {
  std::uint64_t unbiased = 0;
  if (!platform.QueryUnbiasedInterruptTime(unbiased)) return platform.TickCount();
  return unbiased / kUnitsPerMillisecond;
}

std::int64_t SleepMeter::Gap() {
  // The tick count first: the awake clock read after it can only be ahead,
  // which narrows the gap by a moment and never opens it. The two need not
  // start together, so the gap may be below zero; only its growth counts.
  const std::uint64_t ticks = platform_.TickCount();
  return static_cast<std::int64_t>(ticks - AwakeMilliseconds(platform_));
}

std::uint64_t SleepMeter::Slept() {
  const std::int64_t gap = Gap();
  const std::int64_t slept = gap - gap_;
  gap_ = gap;
  return slept >= kLeastSleep ? static_cast<std::uint64_t>(slept) : 0;
}

}  // namespace tarnby
