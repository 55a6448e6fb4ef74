// The command line at work: a start with arguments either hands them to the
// copy that already runs or loads Tarnby and acts on them itself, and the
// running copy acts on what later copies hand it. A command drives the same
// handlers the user does (the pre-selection buttons, "&Pause" and "&Show
// Timer") and starts its countdown through the countdown's one way in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/hand_over_protocol.h"
#include "core/command_line/command_line.h"

namespace tarnby {

class Countdown;
class Frmstart;
class Triggers;

// Commands run one at a time, each to its end, in the order they came: the
// running copy's own command, then those other copies hand over, each taken
// from the queue only when the one before is done. Acting on one may let
// window messages in (the tray waits on the shell); a command that arrives
// meanwhile waits in the queue instead of running inside the other.
class CommandLine {
 public:
  // A fired trigger starts its countdown through StartCountdown.
  CommandLine(Platform& platform, Frmstart& frmstart, Countdown& countdown, Triggers& triggers);

  // The program starts with these arguments: what can be done before Tarnby
  // loads. PlainStart: there are none; End: this process ends here, its exit
  // code set; Load: load as Tarnby, then Take(command).
  enum class Next { PlainStart, End, Load };
  Next Start(const std::vector<std::string>& arguments, Command& command);

  // Another copy handed its arguments over, naming its window for the
  // answer: Tarnby's commands are queued (kAnswerTaken), anything else is
  // refused (0).
  std::intptr_t frmstart_CopyData(std::uintptr_t kind, const std::string& data, Handle sender);
  // Takes the commands queued before this turn, one after the other.
  void tmrCommands_Timer();

  // This copy's own command, as the commands of others are taken: decided,
  // then carried out; a refusal shows in a box here.
  void Take(const Command& command);

  // What keeps this copy from carrying the command out now, as the message
  // says it; nothing when it can. Every check that could refuse it later is
  // made here (the machine's power, the trigger's processes, the
  // countdown's own checks), so that a command is refused before anything
  // changes, and its sender hears why.
  std::optional<std::string> Refusal(const Command& command);

  // Carries out a command that was not refused.
  void Act(const Command& command);

  // A command's action, now or after its time: the one way from a command
  // into the countdown (through Countdown::Begin). A new time replaces the
  // running or paused countdown; a power action without a time runs at once.
  void StartCountdown(const Command& command);

  // What /status says now, and whether anything counts down or waits.
  std::string StatusLine();
  bool AnythingDue() const;

 private:
  struct Queued {
    Command command;
    Handle sender = 0;  // the window that takes the answer
    bool own = false;   // this copy's own command: a refusal shows here
  };
  // Decides the command and answers its sender (or, for this copy's own,
  // shows the refusal), then carries it out.
  void Carry(const Queued& queued);
  // The countdown's length for a timed or triggered command.
  std::int64_t CountdownSeconds(const Command& command);
  // Makes the command's action the window's pre-selection, as the user does.
  void PreSelect(const Command& command);
  // The usage, or a problem with it: a box, or tarnby.com's console.
  void Tell(const std::string& text, bool problem);
  void Tell(const std::string& text, bool problem, std::uint32_t boxStyle);

  Platform& platform_;
  Frmstart& frmstart_;
  Countdown& countdown_;
  Triggers& triggers_;
  std::deque<Queued> queue_;
  bool carrying_ = false;  // a command is being carried out
};

}  // namespace tarnby
