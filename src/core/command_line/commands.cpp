#include "core/command_line/commands.h"

#include <cstdio>

#include "core/app_title.h"
#include "core/countdown/countdown.h"
#include "core/countdown/frmhrs.h"
#include "core/countdown/preselect_names.h"

namespace tarnby {

namespace {
constexpr char kNoCountdown[] = "no countdown";
constexpr char kNotAnswered[] = "The running Tarnby did not answer.";
constexpr int kNameBits = 5;  // the low bits of a status answer: 1 + 2 * name + forced
}  // namespace

CommandLine::CommandLine(Platform& platform, Frmstart& frmstart, FormSlot<Frmhrs>& frmhrs, Countdown& countdown)
    : platform_(platform), frmstart_(frmstart), frmhrs_(frmhrs), countdown_(countdown) {
  frmstart_.onCopyData = [this](std::uintptr_t kind, const std::string& data) {
    return frmstart_CopyData(kind, data);
  };
}

CommandLine::Next CommandLine::Start(const std::vector<std::string>& arguments, Command& command) {
  Platform& platform = platform_;
  command = ParseCommandLine(arguments);
  switch (command.kind) {
    case CommandKind::None:
      platform.LetGoOfConsole();
      return Next::PlainStart;
    case CommandKind::Usage:
      Tell(UsageText(), false);
      platform.ExitProcess(kExitDone);
      return Next::End;
    case CommandKind::Bad:
      // Read before anything else: bad arguments start nothing and reach no running copy.
      Tell(command.problem + "\n\n" + UsageText(), true);
      platform.ExitProcess(kExitBadArguments);
      return Next::End;
    default:
      break;
  }

  const bool status = command.kind == CommandKind::Status;
  if (platform.AnotherInstanceRunning()) {
    std::intptr_t answer = 0;
    const Handle running = platform.InstanceWindow();
    const bool delivered =
        running != 0 && platform.SendCopyData(running, kCommandCopyData, JoinArguments(arguments), &answer);
    if (status) {
      platform.WriteParentConsole(StatusLine(delivered ? answer : 0));
      platform.ExitProcess(delivered && answer != 0 ? kExitDone : kExitNoCountdown);
    } else if (delivered && answer != 0) {
      platform.ExitProcess(kExitDone);
    } else {
      platform.WriteParentConsoleError(kNotAnswered);
      platform.ExitProcess(kExitNotDelivered);
    }
    return Next::End;
  }
  if (status) {
    // Nothing runs, so nothing counts down; a status request starts no Tarnby.
    platform.WriteParentConsole(kNoCountdown);
    platform.ExitProcess(kExitNoCountdown);
    return Next::End;
  }
  // From here on this copy is Tarnby, for as long as the user keeps it.
  platform.LetGoOfConsole();
  return Next::Load;
}

void CommandLine::Tell(const std::string& text, bool problem) {
  // tarnby.com waits for us in a console, perhaps in a script: a box there
  // would stop the script until somebody clicks it.
  if (!platform_.ConsoleCompanion())
    platform_.MessageBox(text, kAppTitle, problem ? w::kMbIconExclamation : w::kMbIconInformation);
  else if (problem)
    platform_.WriteParentConsoleError(text);
  else
    platform_.WriteParentConsole(text);
}

std::intptr_t CommandLine::frmstart_CopyData(std::uintptr_t kind, const std::string& data) {
  if (kind != kCommandCopyData) return 0;
  const Command command = ParseCommandLine(SplitArguments(data));
  if (command.kind == CommandKind::Status) return StatusAnswer();
  if (command.kind != CommandKind::Start && command.kind != CommandKind::Cancel) return 0;
  // The sender goes on at once; what follows may open message boxes here.
  platform_.ReplyMessage(1);
  Act(command);
  return 1;
}

void CommandLine::Act(const Command& command) {
  Countdown& countdown = countdown_;
  if (command.kind == CommandKind::Cancel) {
    if (countdown.Running()) countdown.Cancel();
  } else if (command.kind == CommandKind::Start) {
    StartCountdown(command);
  }
}

void CommandLine::StartCountdown(const Command& command) {
  Frmstart& f = frmstart_;
  Countdown& countdown = countdown_;
  const PreSelectName& name = kPreSelectNames[static_cast<std::size_t>(command.preSelect)];
  const bool timed = command.inSeconds || command.at;
  // A new countdown takes the place of the running one.
  if (timed && countdown.Running()) countdown.Cancel();

  (f.*name.button).Click();
  if (name.forceBox != nullptr && (f.*name.forceBox).Enabled()) (f.*name.forceBox).SetValue(command.force);
  if (!command.hide) f.mnupopmenushow.Click();
  if (!timed) return;

  std::int64_t total = 0;
  if (command.inSeconds) {
    total = *command.inSeconds;
  } else {
    SystemTime now;
    platform_.GetLocalTime(now);
    total = SecondsUntil(*command.at, now);
  }
  // Whole hours go to the hours window, the rest to minutes and seconds.
  const std::int64_t hours = total / 3600;
  if (hours > 0) {
    if (!f.Check1.Value()) f.Check1.Click();
    frmhrs_().Text1.SetText(std::to_string(hours));
  } else if (f.Check1.Value()) {
    f.Check1.Click();
  }
  f.Text2.SetText(std::to_string(total % 3600 / 60));
  f.Text1.SetText(std::to_string(total % 60));
  f.cmdstart.SetEnabled(true);  // as typing into the boxes does
  f.cmdstart.Click();
}

std::intptr_t CommandLine::StatusAnswer() const {
  const Countdown& countdown = countdown_;
  if (!countdown.Running()) return 0;
  const Countdown::Chosen chosen = countdown.PreSelected();
  if (chosen.name == nullptr) return 0;
  const auto index = static_cast<std::intptr_t>(chosen.name - kPreSelectNames.data());
  return (static_cast<std::intptr_t>(countdown.SecondsLeft()) << kNameBits) | (1 + index * 2 + (chosen.forced ? 1 : 0));
}

std::string StatusLine(std::intptr_t answer) {
  const std::intptr_t code = answer & ((1 << kNameBits) - 1);
  const std::intptr_t index = (code - 1) / 2;
  if (answer <= 0 || code == 0 || index >= static_cast<std::intptr_t>(kPreSelectNames.size())) return kNoCountdown;
  const PreSelectName& name = kPreSelectNames[static_cast<std::size_t>(index)];
  const bool forced = (code - 1) % 2 == 1 && name.forcedStatus != nullptr;
  const long long left = answer >> kNameBits;
  char time[48];
  std::snprintf(time, sizeof time, " in %lld:%02lld:%02lld", left / 3600, left / 60 % 60, left % 60);
  return std::string(forced ? name.forcedStatus : name.status) + time;
}

}  // namespace tarnby
