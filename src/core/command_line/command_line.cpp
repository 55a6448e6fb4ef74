#include "core/command_line/command_line.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <utility>

#include "core/command_line/trigger_kinds.h"
#include "core/countdown/preselect_names.h"

namespace tarnby {

namespace {

// Up to the actions.
constexpr char kUsageHead[] =
    "Usage:\n"
    "tarnby.exe [ACTION] [/force] [/in TIME | /at CLOCK] [/hide]\n"
    "tarnby.exe ACTION [/force] TRIGGER [/in TIME] [/hide]\n"
    "tarnby.exe /cancel\n"
    "tarnby.exe /status\n"
    "tarnby.exe /?\n"
    "\n";
// After the actions, which the catalogue names.
constexpr char kUsageAfterActions[] =
    ", which run at once when no time is given.\n"
    "/force: shut down, restart or log off by force.\n"
    "/in TIME: count down 90 (seconds), 90s, 45m, 2h, 1h30m, 1h30m15s, H:MM:SS or MM:SS; at most 336 hours.\n"
    "/at CLOCK: count down to the next HH:MM or HH:MM:SS (24-hour, local time).\n"
    "/hide: keep the window hidden.\n"
    "TRIGGER (one of them) starts the countdown when it fires; /in then gives its length (60 seconds when absent):\n"
    "/when-exits PROGRAM: when every running program of that file name (notepad.exe, .exe may be left out)\n"
    "  or that process id has ended.\n"
    "/when-idle DURATION: when nobody has used the keyboard or mouse for DURATION (the forms of TIME).\n"
    "/when-quiet DURATION [/cpu PERCENT] [/net KBPS]: when for DURATION all processors together stay\n"
    "  below PERCENT busy (10; 100 leaves them out) and the network below KBPS kB/s in and out (50).\n"
    "/cancel: pause the running countdown and empty the boxes, or disarm the waiting trigger.\n"
    "/status: print the time left or what the trigger waits for (exit code 0), or \"no countdown\" (exit code 3).\n"
    "\n"
    "Switches may also start with - or --.";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits as a number, held at a ceiling so that no count of digits overflows.
std::optional<std::int64_t> Number(std::string_view digits, std::int64_t ceiling = kMaxCommandSeconds * 10) {
  if (digits.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    value = std::min<std::int64_t>(value * 10 + (c - '0'), ceiling);
  }
  return value;
}

// Exactly two digits below 60: the minutes and seconds of a clock.
std::optional<std::int64_t> Sixty(std::string_view digits) {
  if (digits.size() != 2) return std::nullopt;
  const auto value = Number(digits);
  if (!value || *value > 59) return std::nullopt;
  return value;
}

std::vector<std::string_view> Fields(std::string_view text) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t colon = text.find(':', start);
    fields.push_back(text.substr(start, colon - start));
    if (colon == std::string_view::npos) return fields;
    start = colon + 1;
  }
}

std::int64_t Capped(std::int64_t seconds) { return std::min(seconds, kMaxCommandSeconds + 1); }

// The switch without its "/", "-" or "--", in lower case; empty when the
// argument is no switch.
std::string SwitchName(std::string_view argument) {
  if (argument.starts_with("--"))
    argument.remove_prefix(2);
  else if (argument.starts_with("/") || argument.starts_with("-"))
    argument.remove_prefix(1);
  else
    return {};
  return Lower(argument);
}

Command Bad(std::string problem) {
  Command bad;
  bad.kind = CommandKind::Bad;
  bad.problem = std::move(problem);
  return bad;
}

// A whole number from 1 to limit, or nothing.
std::optional<std::int64_t> Counted(std::string_view digits, std::int64_t limit) {
  const auto value = Number(digits, limit + 1);
  if (!value || *value < 1 || *value > limit) return std::nullopt;
  return value;
}

constexpr std::int64_t kMaxNetKbps = 1000000000, kMaxProcessId = 0xFFFFFFFF;

// The value of one of the quiet trigger's settings into the command; what is
// wrong with it.
std::optional<std::string> ReadQuietSetting(const std::string& name, const std::string& value, When& when) {
  if (name == "cpu") {
    const auto percent = Counted(value, 100);
    if (!percent) return "\"" + value + "\" is not a percentage from 1 to 100.";
    when.cpuPercent = static_cast<int>(*percent);
    return std::nullopt;
  }
  const auto kbps = Counted(value, kMaxNetKbps);
  if (!kbps) return "\"" + value + "\" is not a rate from 1 to 1000000000 kilobytes per second.";
  when.netKbps = *kbps;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadProgram(const std::string& value, When& when) {
  // A path names the same program as its file name.
  const std::size_t slash = value.find_last_of("\\/");
  when.program = slash == std::string::npos ? value : value.substr(slash + 1);
  if (when.program.empty()) return "/when-exits needs a program's file name or process id after it.";
  if (std::all_of(when.program.begin(), when.program.end(), IsDigit)) {
    const auto pid = Counted(when.program, kMaxProcessId);
    if (!pid) return "\"" + value + "\" is not a process id.";
    when.pid = static_cast<std::uint32_t>(*pid);
  }
  return std::nullopt;
}

std::optional<std::string> ReadDuration(const std::string& value, When& when) {
  const auto seconds = ParseTime(value);
  if (!seconds) return "\"" + value + "\" is not a duration such as 90, 10m, 1h30m or 1:30:00.";
  if (*seconds < 1) return "A duration lasts one second at least.";
  if (*seconds > kMaxCommandSeconds) return "A duration lasts 336 hours at most.";
  when.seconds = *seconds;
  return std::nullopt;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::optional<std::int64_t> ParseTime(std::string_view text) {
  if (text.empty()) return std::nullopt;
  if (text.find(':') != std::string_view::npos) {
    const std::vector<std::string_view> fields = Fields(text);
    if (fields.size() < 2 || fields.size() > 3) return std::nullopt;
    const auto first = Number(fields[0]);
    const auto seconds = Sixty(fields.back());
    if (!first || !seconds) return std::nullopt;
    if (fields.size() == 2) return Capped(*first * 60 + *seconds);
    const auto minutes = Sixty(fields[1]);
    if (!minutes) return std::nullopt;
    return Capped(*first * 3600 + *minutes * 60 + *seconds);
  }
  if (const auto seconds = Number(text)) return Capped(*seconds);
  // Units in the order h, m, s, each at most once.
  static constexpr std::pair<char, std::int64_t> kUnits[] = {{'h', 3600}, {'m', 60}, {'s', 1}};
  std::int64_t total = 0;
  std::size_t unit = 0, pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    while (end < text.size() && IsDigit(text[end])) ++end;
    if (end == pos || end == text.size()) return std::nullopt;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[end])));
    while (unit < std::size(kUnits) && kUnits[unit].first != letter) ++unit;
    if (unit == std::size(kUnits)) return std::nullopt;
    total = Capped(total + *Number(text.substr(pos, end - pos)) * kUnits[unit].second);
    ++unit;
    pos = end + 1;
  }
  return total;
}

std::optional<ClockTime> ParseClock(std::string_view text) {
  const std::vector<std::string_view> fields = Fields(text);
  if (fields.size() < 2 || fields.size() > 3 || fields[0].empty() || fields[0].size() > 2) return std::nullopt;
  const auto hour = Number(fields[0]);
  const auto minute = Sixty(fields[1]);
  const auto second = fields.size() == 3 ? Sixty(fields[2]) : std::optional<std::int64_t>(0);
  if (!hour || *hour > 23 || !minute || !second) return std::nullopt;
  return ClockTime{static_cast<int>(*hour), static_cast<int>(*minute), static_cast<int>(*second)};
}

std::int64_t SecondsUntil(const ClockTime& at, const SystemTime& now) {
  constexpr std::int64_t kDay = 24 * 3600;
  const std::int64_t target = at.hour * 3600 + at.minute * 60 + at.second;
  const std::int64_t current = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
  std::int64_t left = (target - current) % kDay;
  if (left <= 0) left += kDay;
  return left;
}

namespace {

// The command as its switches are read, and what the checks at the end need.
struct Reading {
  Command command;
  std::vector<std::string> seen;  // the switches so far, each once
  bool quietSettings = false;     // /cpu or /net was given
};

using Problem = std::optional<std::string>;

bool AsksForUsage(const std::vector<std::string>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(), [](const std::string& argument) {
    const std::string name = SwitchName(argument);
    return name == "?" || name == "help";
  });
}

// An action's switch; false for any other.
bool IsAction(const std::string& name, int& preSelect, std::optional<PowerAction>& power) {
  for (std::size_t n = 0; n < kPreSelectNames.size(); ++n)
    if (name == kPreSelectNames[n].switchName) preSelect = static_cast<int>(n);
  for (const PowerName& powerName : kPowerNames)
    if (name == powerName.switchName) power = powerName.action;
  return preSelect >= 0 || power;
}

// A trigger, or one of the quiet trigger's settings, with its value.
Problem ReadTrigger(const TriggerKind* trigger, const std::string& name, const std::string& value, Reading& reading) {
  When& when = reading.command.when;
  if (trigger) when.kind = trigger->kind;
  if (Problem problem = trigger ? trigger->read(value, when) : ReadQuietSetting(name, value, when)) return problem;
  if (!trigger) reading.quietSettings = true;
  return std::nullopt;
}

// /in or /at with its value.
Problem ReadTime(const std::string& name, const std::string& value, Command& command) {
  if (name == "in") {
    command.inSeconds = ParseTime(value);
    if (!command.inSeconds) return "\"" + value + "\" is not a time such as 90, 45m, 1h30m or 1:30:00.";
    if (*command.inSeconds > kMaxCommandSeconds) return "A countdown lasts 336 hours at most.";
    return std::nullopt;
  }
  command.at = ParseClock(value);
  if (!command.at) return "\"" + value + "\" is not a clock time such as 23:00 or 06:30:15.";
  return std::nullopt;
}

// The switch at arguments[i] into the command, and the value after it where
// it takes one (i then moves onto the value).
Problem ReadSwitch(const std::vector<std::string>& arguments, std::size_t& i, Reading& reading) {
  const std::string& argument = arguments[i];
  const std::string name = SwitchName(argument);
  if (name.empty()) return "\"" + argument + "\" is not a switch.";
  for (const std::string& earlier : reading.seen)
    if (earlier == name) return "/" + name + " is given twice.";
  reading.seen.push_back(name);

  Command& command = reading.command;
  int preSelect = -1;
  std::optional<PowerAction> power;
  if (IsAction(name, preSelect, power)) {
    if (command.preSelect >= 0 || command.power) return "Give one action only.";
    command.preSelect = preSelect;
    command.power = power;
    return std::nullopt;
  }
  if (name == "force") command.force = true;
  if (name == "hide") command.hide = true;
  if (name == "cancel") command.kind = CommandKind::Cancel;
  if (name == "status") command.kind = CommandKind::Status;
  if (name == "force" || name == "hide" || name == "cancel" || name == "status") return std::nullopt;

  const TriggerKind* trigger = TriggerKindNamed(name);
  const bool takesTime = name == "in" || name == "at";
  if (!trigger && name != "cpu" && name != "net" && !takesTime)
    return "\"" + argument + "\" is not a switch Tarnby knows.";
  if (trigger && command.when.kind != WhenKind::None) return "Give one trigger only.";
  if (i + 1 == arguments.size()) return "/" + name + (takesTime ? " needs a time after it." : " needs a value after it.");
  const std::string& value = arguments[++i];
  return takesTime ? ReadTime(name, value, command) : ReadTrigger(trigger, name, value, reading);
}

// The rules between switches, once all are read.
Command Finished(Reading& reading) {
  Command& command = reading.command;
  if (command.kind == CommandKind::Cancel || command.kind == CommandKind::Status) {
    if (reading.seen.size() > 1)
      return Bad(command.kind == CommandKind::Cancel ? "/cancel stands alone." : "/status stands alone.");
    return command;
  }
  if (reading.seen.empty()) return command;  // no arguments: the plain start
  if (command.preSelect < 0 && !command.power)
    return Bad("/in, /at, /force, /hide and the triggers need an action such as /shutdown.");
  if (command.inSeconds && command.at) return Bad("Give /in or /at, not both.");
  if (command.when.kind != WhenKind::None && command.at) return Bad("A trigger goes with /in, not with /at.");
  if (reading.quietSettings && command.when.kind != WhenKind::Quiet)
    return Bad("/cpu and /net go with /when-quiet only.");
  if (command.force && (command.power || kPreSelectNames[static_cast<std::size_t>(command.preSelect)].forceBox == nullptr))
    return Bad("/force goes with /shutdown, /restart or /logoff only.");
  command.kind = CommandKind::Start;
  return command;
}

}  // namespace

Command ParseCommandLine(const std::vector<std::string>& given) {
  // An empty argument ("" at a prompt, a blank a script left) is no argument.
  std::vector<std::string> arguments;
  for (const std::string& argument : given)
    if (!argument.empty()) arguments.push_back(argument);
  if (AsksForUsage(arguments)) {
    Command usage;
    usage.kind = CommandKind::Usage;
    return usage;
  }
  Reading reading;
  for (std::size_t i = 0; i < arguments.size(); ++i)
    if (Problem problem = ReadSwitch(arguments, i, reading)) return Bad(std::move(*problem));
  return Finished(reading);
}

std::vector<std::string> ArgumentsAfterProgram(const std::string& line, const std::vector<std::string>& words,
                                               const std::string& programPath) {
  if (words.size() < 2) return {};
  std::string bare;
  for (char c : line)
    if (c != '"') bare.push_back(c);
  const std::size_t first = bare.find_first_not_of(" \t");
  const std::size_t last = bare.find_last_not_of(" \t");
  bare = first == std::string::npos ? std::string() : bare.substr(first, last - first + 1);
  // Paths on Windows do not tell letter case apart.
  if (!programPath.empty() && Lower(bare) == Lower(programPath)) return {};
  return {words.begin() + 1, words.end()};
}

namespace {
// "/a, /b or /c"
template <class Names>
std::string SwitchList(const Names& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i)
    list += (i == 0 ? "/" : i + 1 == names.size() ? " or /" : ", /") + std::string(names[i].switchName);
  return list;
}
}  // namespace

std::string UsageText() {
  return kUsageHead + ("ACTION: " + SwitchList(kPreSelectNames) + ";\nor " + SwitchList(kPowerNames)) +
         kUsageAfterActions;
}

std::string JoinArguments(const std::vector<std::string>& arguments) {
  std::string joined;
  for (const std::string& argument : arguments) {
    joined += argument;
    joined.push_back('\0');
  }
  return joined;
}

std::vector<std::string> SplitArguments(const std::string& joined) {
  std::vector<std::string> arguments;
  for (std::size_t start = 0; start < joined.size();) {
    std::size_t end = joined.find('\0', start);
    if (end == std::string::npos) end = joined.size();
    arguments.push_back(joined.substr(start, end - start));
    start = end + 1;
  }
  return arguments;
}

}  // namespace tarnby
