// Tarnby's command line, read without touching anything:
//   tarnby.exe [ACTION] [/force] [/in TIME | /at CLOCK] [/hide]
//   tarnby.exe ACTION [/force] TRIGGER [/in TIME] [/hide]
//     TRIGGER: /when-exits PROGRAM | /when-idle DURATION
//              | /when-quiet DURATION [/cpu PERCENT] [/net KBPS]
//   tarnby.exe /cancel | /status | /?
// Switches are case-insensitive and may start with "/", "-" or "--".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/exit_codes.h"
#include "core/actions/power.h"
#include "core/platform.h"

namespace tarnby {

// The longest countdown: two weeks, as the hours window allows.
inline constexpr std::int64_t kMaxCommandSeconds = 336 * 3600;

struct ClockTime {
  int hour = 0, minute = 0, second = 0;
};

enum class CommandKind { None, Start, Cancel, Status, Usage, Bad };

// What a trigger waits for before its countdown starts.
enum class WhenKind { None, Exits, Idle, Quiet };

struct When {
  WhenKind kind = WhenKind::None;
  std::string program;              // Exits: a file name ("notepad", "HandBrake.exe")
  std::optional<std::uint32_t> pid;  // Exits: or a process id
  std::int64_t seconds = 0;         // Idle and Quiet: how long it must last
  int cpuPercent = 10;              // Quiet: all processors together stay below this
  std::int64_t netKbps = 50;        // Quiet: and all interfaces below this, in and out
};

// The countdown after a trigger fires when no /in gives its length.
inline constexpr std::int64_t kTriggerCountdownSeconds = 60;

struct Command {
  CommandKind kind = CommandKind::None;
  int preSelect = -1;  // index into kPreSelectNames
  std::optional<PowerAction> power;  // or sleep, hibernate or lock
  bool force = false;
  std::optional<std::int64_t> inSeconds;
  std::optional<ClockTime> at;
  bool hide = false;
  When when;            // a trigger, instead of /in or /at starting the countdown
  std::string problem;  // Bad: what is wrong, for the first line of the message
};

Command ParseCommandLine(const std::vector<std::string>& arguments);

// The text with its ASCII letters in lower case, as Windows compares
// switches, file names and paths.
std::string Lower(std::string_view text);

// The arguments in the command line Windows started Tarnby with, given the
// line, its words (CommandLineToArgvW: the program's name first) and the
// program's own path. A line that holds nothing but that path has none,
// however it is quoted: a run entry without quotes reaches the program as it
// was written, and its words split the path at its spaces.
std::vector<std::string> ArgumentsAfterProgram(const std::string& line, const std::vector<std::string>& words,
                                               const std::string& programPath);

// TIME: 90, 90s, 45m, 2h, 1h30m, 1h30m15s, H:MM:SS or MM:SS, in seconds.
// A number too large comes back as more than kMaxCommandSeconds.
std::optional<std::int64_t> ParseTime(std::string_view text);
// CLOCK: HH:MM or HH:MM:SS, 24-hour.
std::optional<ClockTime> ParseClock(std::string_view text);
// Seconds from now until the clock next shows `at`: later today, or tomorrow
// when that time has come already.
std::int64_t SecondsUntil(const ClockTime& at, const SystemTime& now);

// What the message box says for /? and, after the problem, for bad arguments.
std::string UsageText();

// Arguments as they travel to the running copy: each one ends in a NUL.
std::string JoinArguments(const std::vector<std::string>& arguments);
std::vector<std::string> SplitArguments(const std::string& joined);

}  // namespace tarnby
