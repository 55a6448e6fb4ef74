// The command line at work: a start with arguments either hands them to the
// copy that already runs or loads Tarnby and acts on them itself, and the
// running copy acts on what later copies hand it. A command drives the same
// handlers the user does (the pre-selection buttons, "&Pause" and "&Show
// Timer") and starts its countdown through the countdown's one way in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/command_line/command_line.h"

namespace tarnby {

class Countdown;
class Frmstart;
class Triggers;

// The WM_COPYDATA kind that carries Tarnby's arguments ("TRNB").
inline constexpr std::uintptr_t kCommandCopyData = 0x54524E42;
// What the running copy answers a command other than /status: 0 not
// Tarnby's, accepted, or refused (its reason comes back as text).
inline constexpr std::intptr_t kAnswerAccepted = 1, kAnswerRefused = 2;
// The status answer when only the text that came back tells it (a trigger waits).
inline constexpr std::intptr_t kStatusInText = -1;
// The most a hand-over can carry: a command line holds at most 32,767
// UTF-16 characters, its program's name and the blanks between arguments
// among them, and JoinArguments turns each blank into one NUL. Anything
// larger is no command line and is refused unread.
inline constexpr std::size_t kMaxCopyDataBytes = 32767 * 2;

class CommandLine {
 public:
  // A fired trigger starts its countdown through StartCountdown.
  CommandLine(Platform& platform, Frmstart& frmstart, Countdown& countdown, Triggers& triggers);

  // The program starts with these arguments: what can be done before Tarnby
  // loads. PlainStart: there are none; End: this process ends here, its exit
  // code set; Load: load as Tarnby, then Act(command).
  enum class Next { PlainStart, End, Load };
  Next Start(const std::vector<std::string>& arguments, Command& command);

  // Another copy handed its arguments over. A status request is answered
  // with its line as text and StatusAnswer; every other command is accepted
  // at once and then carried out, or refused (kAnswerRefused) with its
  // reason as text when this machine cannot do it or its trigger has
  // nothing to wait for; 0 refuses what is not Tarnby's.
  std::intptr_t frmstart_CopyData(std::uintptr_t kind, const std::string& data);

  // What keeps this machine from carrying the command out, as the message
  // says it; nothing when it can. Asked when the command comes, in the copy
  // that was started with it and again in the running copy it is handed to:
  // a refused command arms nothing and its tarnby.exe ends with kExitRefused.
  std::optional<std::string> Refusal(const Command& command);

  void Act(const Command& command);

  // A command's action, now or after its time: the one way from a command
  // into the countdown (through Countdown::Begin). A new time replaces the
  // running or paused countdown; a power action without a time runs at once.
  void StartCountdown(const Command& command);

  // The running countdown in one number: its seconds left and what runs at
  // zero; 0 when none runs.
  std::intptr_t StatusAnswer() const;

 private:
  // The usage, or a problem with it: a box, or tarnby.com's console.
  void Tell(const std::string& text, bool problem);
  void Tell(const std::string& text, bool problem, std::uint32_t boxStyle);

  Platform& platform_;
  Frmstart& frmstart_;
  Countdown& countdown_;
  Triggers& triggers_;
};

// "shut down in 1:29:58", or "no countdown", from a StatusAnswer.
std::string StatusLine(std::intptr_t answer);

}  // namespace tarnby
