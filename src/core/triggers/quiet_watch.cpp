// /when-quiet: the processors and the network sampled every five seconds;
// the wait fires once every sample for the whole length was quiet, and one
// loud sample starts the length again.
#include <algorithm>

#include "core/triggers/triggers.h"

namespace tarnby {

namespace {
constexpr std::uint64_t kSampleMs = 5000;
// Samples further apart than this span a time the machine slept through:
// nothing says it was quiet meanwhile.
constexpr std::uint64_t kGapMs = 3 * kSampleMs;
constexpr std::uint64_t kShortestSampleMs = 500;
}  // namespace

Triggers::Sample Triggers::TakeSample() {
  Sample sample;
  sample.at = platform_.TickCount();
  std::uint64_t idle = 0, kernel = 0, user = 0;
  sample.timesKnown = platform_.GetSystemTimes(idle, kernel, user);
  sample.idle = idle;
  sample.total = kernel + user;  // the kernel time holds the idle time
  sample.octetsKnown = platform_.GetNetworkOctets(sample.received, sample.sent);
  return sample;
}

bool Triggers::Quiet(const Sample& before, const Sample& after) const {
  // Nothing is ever above 100 % busy: /cpu 100 leaves the processors out,
  // even on a machine whose processors are all taken.
  if (command_.when.cpuPercent < 100 && !ProcessorsQuiet(before, after)) return false;

  // A machine without network counters has no traffic to measure.
  if (!before.octetsKnown || !after.octetsKnown) return true;
  // Counters that went back (an interface went away, a 32-bit counter
  // wrapped) say nothing about what moved: loud, to be safe.
  if (after.received < before.received || after.sent < before.sent) return false;
  // Bytes per millisecond are kilobytes per second.
  const std::uint64_t elapsed = std::max<std::uint64_t>(after.at - before.at, 1);
  const std::uint64_t allowed = static_cast<std::uint64_t>(command_.when.netKbps) * elapsed;
  return after.received - before.received < allowed && after.sent - before.sent < allowed;
}

bool Triggers::ProcessorsQuiet(const Sample& before, const Sample& after) const {
  // Processor times that cannot be read never count as quiet: a shut down
  // must not come from what was not measured.
  if (!before.timesKnown || !after.timesKnown || after.total < before.total || after.idle < before.idle) return false;
  const std::uint64_t total = after.total - before.total;
  const std::uint64_t idle = std::min(after.idle - before.idle, total);
  return total == 0 || (total - idle) * 100 < static_cast<std::uint64_t>(command_.when.cpuPercent) * total;
}

void Triggers::LookAtActivity() {
  const Sample sample = TakeSample();
  const bool quiet = sample.at - last_.at <= kGapMs && Quiet(last_, sample);
  if (!quiet) quietSince_ = sample.at;
  last_ = sample;
  if (quiet && sample.at - quietSince_ >= static_cast<std::uint64_t>(command_.when.seconds) * 1000) {
    Fire();
    return;
  }
  ScheduleSample();
}

void Triggers::ScheduleSample() {
  // The last sample comes when the length is full, not up to five seconds later.
  const std::uint64_t due = quietSince_ + static_cast<std::uint64_t>(command_.when.seconds) * 1000;
  const std::uint64_t left = due > last_.at ? due - last_.at : 0;
  Wait(static_cast<std::uint32_t>(std::clamp(left, kShortestSampleMs, kSampleMs)));
}

}  // namespace tarnby
