// /when-quiet: the processors and the network sampled every five seconds;
// the wait fires once every sample for the whole length was quiet, and one
// loud sample starts the length again.
#include <algorithm>

#include "core/command_line/trigger_kinds.h"
#include "core/triggers/watch.h"

namespace tarnby {

namespace {
constexpr std::uint64_t kSampleMs = 5000;
// Samples further apart than this span a time the machine slept through:
// nothing says it was quiet meanwhile.
constexpr std::uint64_t kGapMs = 3 * kSampleMs;
constexpr std::uint64_t kShortestSampleMs = 500;

class QuietWatch : public Watch {
 public:
  using Watch::Watch;

  bool Arm() override {
    last_ = TakeSample();
    quietSince_ = last_.at;
    ScheduleSample();
    return false;
  }

  bool Look() override {
    const Sample sample = TakeSample();
    const bool quiet = sample.at - last_.at <= kGapMs && Quiet(last_, sample);
    if (!quiet) quietSince_ = sample.at;
    last_ = sample;
    if (quiet && sample.at - quietSince_ >= Length()) return true;
    ScheduleSample();
    return false;
  }

  std::string Said() const override { return "when quiet for " + SpokenLength(command_.when.seconds); }

  std::string Now() override {
    const std::uint64_t now = parts_.platform.TickCount();
    return "quiet now " + ClockText(static_cast<std::int64_t>((now - std::min(now, quietSince_)) / 1000));
  }

 private:
  // What the machine did up to a moment.
  struct Sample {
    std::uint64_t at = 0;  // TickCount
    bool timesKnown = false;
    std::uint64_t idle = 0, total = 0;  // processor time, 100 ns
    bool octetsKnown = false;
    std::uint64_t received = 0, sent = 0;
  };

  std::uint64_t Length() const { return static_cast<std::uint64_t>(command_.when.seconds) * 1000; }

  Sample TakeSample() {
    Platform& platform = parts_.platform;
    Sample sample;
    sample.at = platform.TickCount();
    std::uint64_t idle = 0, kernel = 0, user = 0;
    sample.timesKnown = platform.GetSystemTimes(idle, kernel, user);
    sample.idle = idle;
    sample.total = kernel + user;  // the kernel time holds the idle time
    sample.octetsKnown = platform.GetNetworkOctets(sample.received, sample.sent);
    return sample;
  }

  bool Quiet(const Sample& before, const Sample& after) const {
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

  bool ProcessorsQuiet(const Sample& before, const Sample& after) const {
    // Processor times that cannot be read never count as quiet: a shut down
    // must not come from what was not measured.
    if (!before.timesKnown || !after.timesKnown || after.total < before.total || after.idle < before.idle)
      return false;
    const std::uint64_t total = after.total - before.total;
    const std::uint64_t idle = std::min(after.idle - before.idle, total);
    return total == 0 || (total - idle) * 100 < static_cast<std::uint64_t>(command_.when.cpuPercent) * total;
  }

  void ScheduleSample() {
    // The last sample comes when the length is full, not up to five seconds later.
    const std::uint64_t due = quietSince_ + Length();
    const std::uint64_t left = due > last_.at ? due - last_.at : 0;
    parts_.LookIn(static_cast<std::uint32_t>(std::clamp(left, kShortestSampleMs, kSampleMs)));
  }

  Sample last_;
  std::uint64_t quietSince_ = 0;
};

}  // namespace

std::unique_ptr<Watch> WatchQuiet(WatchParts& parts, const Command& command) {
  return std::make_unique<QuietWatch>(parts, command);
}

}  // namespace tarnby
