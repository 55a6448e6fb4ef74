// The command line at work: a start with arguments either hands them to the
// copy that already runs or loads Tarnby and acts on them itself, and the
// running copy acts on what later copies hand it. A command drives the same
// handlers the user does: the pre-selection buttons, the boxes, "&Start",
// "&Pause" and "&Show Timer".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/command_line/command_line.h"
#include "core/forms/form_slot.h"

namespace tarnby {

class Countdown;
class Frmhrs;
class Frmstart;

// The WM_COPYDATA kind that carries Tarnby's arguments ("TRNB").
inline constexpr std::uintptr_t kCommandCopyData = 0x54524E42;
// The most a hand-over can carry: a command line holds at most 32,767
// UTF-16 characters, its program's name and the blanks between arguments
// among them, and JoinArguments turns each blank into one NUL. Anything
// larger is no command line and is refused unread.
inline constexpr std::size_t kMaxCopyDataBytes = 32767 * 2;

class CommandLine {
 public:
  CommandLine(Platform& platform, Frmstart& frmstart, FormSlot<Frmhrs>& frmhrs, Countdown& countdown);

  // The program starts with these arguments: what can be done before Tarnby
  // loads. PlainStart: there are none; End: this process ends here, its exit
  // code set; Load: load as Tarnby, then Act(command).
  enum class Next { PlainStart, End, Load };
  Next Start(const std::vector<std::string>& arguments, Command& command);

  // Another copy handed its arguments over. A status request is answered
  // with StatusAnswer; every other command is accepted (1) at once and then
  // carried out; 0 refuses what is not Tarnby's.
  std::intptr_t frmstart_CopyData(std::uintptr_t kind, const std::string& data);

  void Act(const Command& command);

  // The running countdown in one number: its seconds left and what runs at
  // zero; 0 when none runs.
  std::intptr_t StatusAnswer() const;

 private:
  // The usage, or a problem with it: a box, or tarnby.com's console.
  void Tell(const std::string& text, bool problem);
  void StartCountdown(const Command& command);

  Platform& platform_;
  Frmstart& frmstart_;
  FormSlot<Frmhrs>& frmhrs_;
  Countdown& countdown_;
};

// "shut down in 1:29:58", or "no countdown", from a StatusAnswer.
std::string StatusLine(std::intptr_t answer);

}  // namespace tarnby
