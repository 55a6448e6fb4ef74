// The kinds of trigger, one row each: the switch that names it, how its
// value is read into the command, and the watch that arms it, samples what
// it waits for and says it (core/triggers, a file for each kind). The parser
// and the triggers know the kinds from this table only: a new kind is its
// watch's file and its row here.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/command_line/command_line.h"

namespace tarnby {

class Watch;
class WatchParts;

// The value after a trigger's switch into the command; why it cannot be, as
// the message says it.
using ReadTriggerValue = std::optional<std::string> (*)(const std::string& value, When& when);
// The watch of an armed trigger of the command's kind, not waiting yet.
using MakeWatch = std::unique_ptr<Watch> (*)(WatchParts& parts, const Command& command);

// The values (command_line.cpp): a program's file name or a process id, and
// a length in the forms of /in.
std::optional<std::string> ReadProgram(const std::string& value, When& when);
std::optional<std::string> ReadDuration(const std::string& value, When& when);

// The watches (process_watch.cpp, idle_watch.cpp, quiet_watch.cpp).
std::unique_ptr<Watch> WatchExits(WatchParts& parts, const Command& command);
std::unique_ptr<Watch> WatchIdle(WatchParts& parts, const Command& command);
std::unique_ptr<Watch> WatchQuiet(WatchParts& parts, const Command& command);

struct TriggerKind {
  WhenKind kind;
  const char* name;  // its switch
  ReadTriggerValue read;
  MakeWatch watch;
  // The user who comes back during the countdown it started stops that
  // countdown, and the trigger waits anew: the computer is in use again.
  bool waitsAgainWhenUsed;
};

inline constexpr std::array<TriggerKind, 3> kTriggerKinds = {{
    {WhenKind::Exits, "when-exits", ReadProgram, WatchExits, false},
    {WhenKind::Idle, "when-idle", ReadDuration, WatchIdle, true},
    {WhenKind::Quiet, "when-quiet", ReadDuration, WatchQuiet, false},
}};

// Every kind but None, once: the switch has no default, so a kind added to
// the enum stops the build here until it is listed, and then at the check
// below until it has its row.
constexpr bool IsWhenKind(WhenKind kind) {
  switch (kind) {
    case WhenKind::None:
    case WhenKind::Exits:
    case WhenKind::Idle:
    case WhenKind::Quiet:
      return true;
  }
  return false;
}

constexpr bool EveryTriggerKindHasOneRow() {
  int kind = 1;  // after None
  for (; IsWhenKind(static_cast<WhenKind>(kind)); ++kind) {
    int rows = 0;
    for (const TriggerKind& row : kTriggerKinds) rows += row.kind == static_cast<WhenKind>(kind) ? 1 : 0;
    if (rows != 1) return false;
  }
  return static_cast<std::size_t>(kind - 1) == kTriggerKinds.size();
}
static_assert(EveryTriggerKindHasOneRow(), "every trigger kind has exactly one row");

// The row of a kind; null for None.
constexpr const TriggerKind* TriggerKindOf(WhenKind kind) {
  for (const TriggerKind& row : kTriggerKinds)
    if (row.kind == kind) return &row;
  return nullptr;
}

// The row of a switch's name (lower case, without its "/"); null for none.
constexpr const TriggerKind* TriggerKindNamed(std::string_view name) {
  for (const TriggerKind& row : kTriggerKinds)
    if (name == row.name) return &row;
  return nullptr;
}

}  // namespace tarnby
