#include "core/commands/commands.h"

#include <cstdio>

#include "core/app_title.h"
#include "core/countdown/countdown.h"
#include "core/countdown/preselect_names.h"
#include "core/system/scoped.h"
#include "core/triggers/triggers.h"

namespace tarnby {

namespace {
constexpr char kNoCountdown[] = "no countdown";
}  // namespace

CommandLine::CommandLine(Platform& platform, Frmstart& frmstart, Countdown& countdown, Triggers& triggers)
    : platform_(platform), frmstart_(frmstart), countdown_(countdown), triggers_(triggers) {
  frmstart_.onCopyData = [this](std::uintptr_t kind, const std::string& data, Handle sender) {
    return frmstart_CopyData(kind, data, sender);
  };
  frmstart_.tmrCommands.onTimer = [this] { tmrCommands_Timer(); };
  triggers_.onFire = [this](const Command& command) { StartCountdown(command); };
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
    case CommandKind::Start:
    case CommandKind::Cancel:
    case CommandKind::Status:
      break;
  }
  command.askedBy = platform.GetCurrentProcessId();
  if (const std::optional<std::string> refusal = Refusal(command)) {
    Tell(*refusal, true, w::kMbOk);
    platform.ExitProcess(kExitRefused);
    return Next::End;
  }

  // Only a command that starts something may become the running copy; the
  // others look for one without claiming its place.
  const bool status = command.kind == CommandKind::Status, cancel = command.kind == CommandKind::Cancel;
  if (status || cancel ? platform.InstanceRunning() : platform.AnotherInstanceRunning()) {
    std::uint32_t code = kExitNotDelivered;
    std::string text;
    const Handle running = platform.InstanceWindow();
    if (running == 0 || !platform.SendCommand(running, kCommandCopyData, JoinArguments(arguments), &code, &text)) {
      platform.WriteParentConsoleError(kNotAnswered);
      code = kExitNotDelivered;
    } else if (code == kExitRefused) {
      if (!text.empty()) Tell(text, true, w::kMbOk);
    } else if (!text.empty()) {
      platform.WriteParentConsole(text);
    }
    platform.ExitProcess(code);
    return Next::End;
  }
  // Nothing runs: nothing counts down and nothing is left to cancel, and
  // neither starts a Tarnby.
  if (status) platform.WriteParentConsole(kNoCountdown);
  if (status || cancel) {
    platform.ExitProcess(status ? kExitNoCountdown : kExitDone);
    return Next::End;
  }
  // From here on this copy is Tarnby, for as long as the user keeps it.
  platform.LetGoOfConsole();
  return Next::Load;
}

void CommandLine::Tell(const std::string& text, bool problem) {
  Tell(text, problem, problem ? w::kMbIconExclamation : w::kMbIconInformation);
}

void CommandLine::Tell(const std::string& text, bool problem, std::uint32_t boxStyle) {
  // tarnby.com waits for us in a console, perhaps in a script: a box there
  // would stop the script until somebody clicks it.
  if (!platform_.ConsoleCompanion())
    platform_.MessageBox(text, kAppTitle, boxStyle);
  else if (problem)
    platform_.WriteParentConsoleError(text);
  else
    platform_.WriteParentConsole(text);
}

std::intptr_t CommandLine::frmstart_CopyData(std::uintptr_t kind, const std::string& data, Handle sender) {
  if (kind != kCommandCopyData) return 0;
  Command command = ParseCommandLine(SplitArguments(data));
  if (command.kind != CommandKind::Start && command.kind != CommandKind::Cancel &&
      command.kind != CommandKind::Status)
    return 0;
  command.askedBy = sender != 0 ? platform_.GetWindowThreadProcessId(sender) : 0;
  // Taken now, carried out in its turn: a window message handled while
  // another command is carried out must not run inside it.
  queue_.push_back({std::move(command), sender, false});
  frmstart_.tmrCommands.SetEnabled(true);
  return kAnswerTaken;
}

void CommandLine::tmrCommands_Timer() {
  // A command's own message loop turned (a box of a command): the queue
  // waits until it is done, without ticking meanwhile.
  if (carrying_) {
    frmstart_.tmrCommands.SetEnabled(false);
    return;
  }
  // Those that came before this turn; any that come meanwhile wait for the
  // next, so that a burst never keeps the window from painting and ticking.
  for (std::size_t count = queue_.size(); count > 0 && !queue_.empty(); --count) {
    const Queued next = std::move(queue_.front());
    queue_.pop_front();
    Carry(next);
  }
  frmstart_.tmrCommands.SetEnabled(!queue_.empty());
}

void CommandLine::Take(const Command& command) {
  Carry({command, 0, true});
  if (!queue_.empty()) frmstart_.tmrCommands.SetEnabled(true);
}

void CommandLine::Carry(const Queued& queued) {
  const Command& command = queued.command;
  const ReentryGuard carrying(carrying_);
  if (command.kind == CommandKind::Status) {
    platform_.SendAnswer(queued.sender, AnythingDue() ? kExitDone : kExitNoCountdown, StatusLine());
    return;
  }
  // Decided before anything changes; the answer then lets the sender go on.
  // The command of another copy shows no box here: its sender shows why.
  if (const std::optional<std::string> refusal = Refusal(command)) {
    if (queued.own)
      Tell(*refusal, true, w::kMbOk);
    else
      platform_.SendAnswer(queued.sender, kExitRefused, *refusal);
    return;
  }
  if (!queued.own) platform_.SendAnswer(queued.sender, kExitDone, {});
  Act(command);
}

std::optional<std::string> CommandLine::Refusal(const Command& command) {
  if (command.kind != CommandKind::Start) return std::nullopt;
  if (command.power)
    if (std::optional<std::string> refusal = PowerRefusal(platform_, *command.power)) return refusal;
  if (std::optional<std::string> refusal = triggers_.Refusal(command)) return refusal;
  if (!command.power)
    if (std::optional<std::string> refusal =
            countdown_.PreSelectRefusal(kPreSelectNames[static_cast<std::size_t>(command.preSelect)]))
      return refusal;
  // The countdown it starts, now or when its trigger fires.
  if (command.inSeconds || command.at || command.when.kind != WhenKind::None)
    return countdown_.TimeRefusal(CountdownTime::Of(CountdownSeconds(command)));
  return std::nullopt;
}

std::int64_t CommandLine::CountdownSeconds(const Command& command) {
  if (command.inSeconds) return *command.inSeconds;
  if (command.at) {
    SystemTime now;
    platform_.GetLocalTime(now);
    return SecondsUntil(*command.at, now);
  }
  return command.when.kind != WhenKind::None ? kTriggerCountdownSeconds : 0;
}

void CommandLine::Act(const Command& command) {
  Countdown& countdown = countdown_;
  if (command.kind == CommandKind::Cancel) {
    // A power trigger that waited took the window's choice aside: it comes back.
    if (triggers_.Waiting() && !countdown.Running()) countdown.DropPowerAction();
    triggers_.Disarm();
    if (countdown.Running()) countdown.Cancel();
  } else if (command.kind == CommandKind::Start && command.when.kind != WhenKind::None) {
    // A trigger takes the place of the running or paused countdown, as a new
    // time does, and what it will run shows in the window from now on.
    if (countdown.Running() || countdown.Paused()) countdown.Cancel();
    PreSelect(command);
    triggers_.Arm(command);
  } else if (command.kind == CommandKind::Start) {
    if (command.inSeconds || command.at) triggers_.Disarm();
    StartCountdown(command);
  }
}

void CommandLine::PreSelect(const Command& command) {
  if (command.power) {
    countdown_.PreSelectPower(*command.power);
    return;
  }
  // As the user does it.
  Frmstart& f = frmstart_;
  const PreSelectName& name = kPreSelectNames[static_cast<std::size_t>(command.preSelect)];
  (f.*name.button).Click();
  if (name.forceBox != nullptr && (f.*name.forceBox).Enabled()) (f.*name.forceBox).SetValue(command.force);
}

void CommandLine::StartCountdown(const Command& command) {
  Countdown& countdown = countdown_;
  const bool timed = command.inSeconds || command.at;
  if (command.power && !timed) {
    countdown.RunPowerAction(*command.power);  // at once; a running countdown goes on
    return;
  }
  // A new countdown takes the place of the running (or paused) one.
  if (timed && (countdown.Running() || countdown.Paused())) countdown.Cancel();

  PreSelect(command);
  if (!command.hide) frmstart_.mnupopmenushow.Click();
  if (!timed) return;
  const Countdown::ZeroAction action =
      command.power ? Countdown::ZeroAction{nullptr, false, command.power}
                    : Countdown::ZeroAction{&kPreSelectNames[static_cast<std::size_t>(command.preSelect)], command.force,
                                            std::nullopt};
  countdown.Begin(action, CountdownTime::Of(CountdownSeconds(command)), command.at.has_value());
}

bool CommandLine::AnythingDue() const {
  return triggers_.Waiting() || (countdown_.Running() && countdown_.DueStatus() != nullptr);
}

std::string CommandLine::StatusLine() {
  if (triggers_.Waiting()) return triggers_.StatusLine();
  const char* what = countdown_.Running() ? countdown_.DueStatus() : nullptr;
  if (!what) return kNoCountdown;
  const long long left = countdown_.SecondsLeft();
  char time[48];
  std::snprintf(time, sizeof time, " in %lld:%02lld:%02lld", left / 3600, left / 60 % 60, left % 60);
  return std::string(what) + time;
}

}  // namespace tarnby
