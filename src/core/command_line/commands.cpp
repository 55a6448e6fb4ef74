#include "core/command_line/commands.h"

#include <cstdio>

#include "core/app_title.h"
#include "core/countdown/countdown.h"
#include "core/countdown/preselect_names.h"
#include "core/triggers/triggers.h"

namespace tarnby {

namespace {
constexpr char kNoCountdown[] = "no countdown";
constexpr char kNotAnswered[] = "The running Tarnby did not answer.";
constexpr int kNameBits = 5;  // the low bits of a status answer: 1 + 2 * name + forced (at most 22)
}  // namespace

CommandLine::CommandLine(Platform& platform, Frmstart& frmstart, Countdown& countdown, Triggers& triggers)
    : platform_(platform), frmstart_(frmstart), countdown_(countdown), triggers_(triggers) {
  frmstart_.onCopyData = [this](std::uintptr_t kind, const std::string& data) {
    return frmstart_CopyData(kind, data);
  };
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
    default:
      break;
  }
  if (const std::optional<std::string> refusal = Refusal(command)) {
    Tell(*refusal, true, w::kMbOk);
    platform.ExitProcess(kExitRefused);
    return Next::End;
  }

  const bool status = command.kind == CommandKind::Status;
  if (platform.AnotherInstanceRunning()) {
    std::intptr_t answer = 0;
    std::string reply;
    const Handle running = platform.InstanceWindow();
    const bool delivered = running != 0 && platform.SendCopyData(running, kCommandCopyData, JoinArguments(arguments),
                                                                 &answer, &reply);
    if (!delivered) answer = 0;
    if (status) {
      platform.WriteParentConsole(!reply.empty() ? reply : StatusLine(answer));
      platform.ExitProcess(answer != 0 ? kExitDone : kExitNoCountdown);
    } else if (answer == kAnswerRefused) {
      // The reason came back as text, or the running copy showed it.
      if (!reply.empty()) Tell(reply, true, w::kMbOk);
      platform.ExitProcess(kExitRefused);
    } else if (answer != 0) {
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

std::intptr_t CommandLine::frmstart_CopyData(std::uintptr_t kind, const std::string& data) {
  if (kind != kCommandCopyData) return 0;
  const Command command = ParseCommandLine(SplitArguments(data));
  if (command.kind == CommandKind::Status) {
    if (triggers_.Waiting()) {
      platform_.ReplyText(triggers_.StatusLine());
      return kStatusInText;
    }
    const std::intptr_t answer = StatusAnswer();
    platform_.ReplyText(StatusLine(answer));
    return answer;
  }
  if (command.kind != CommandKind::Start && command.kind != CommandKind::Cancel) return 0;
  // Refused before the sender goes on, so that its exit code can say so; the
  // reason goes back to it, or is shown here when it cannot take text.
  if (const std::optional<std::string> refusal = Refusal(command)) {
    if (!platform_.ReplyText(*refusal)) {
      platform_.ReplyMessage(kAnswerRefused);
      platform_.MessageBox(*refusal, kAppTitle, w::kMbOk);
    }
    return kAnswerRefused;
  }
  // The sender goes on at once; what follows may open message boxes here.
  platform_.ReplyMessage(kAnswerAccepted);
  Act(command);
  return kAnswerAccepted;
}

std::optional<std::string> CommandLine::Refusal(const Command& command) {
  if (command.kind != CommandKind::Start) return std::nullopt;
  if (command.power)
    if (std::optional<std::string> refusal = PowerRefusal(platform_, *command.power)) return refusal;
  if (std::string refusal = triggers_.Refusal(command); !refusal.empty()) return refusal;
  return std::nullopt;
}

void CommandLine::Act(const Command& command) {
  Countdown& countdown = countdown_;
  if (command.kind == CommandKind::Cancel) {
    triggers_.Disarm();
    if (countdown.Running()) countdown.Cancel();
  } else if (command.kind == CommandKind::Start && command.when.kind != WhenKind::None) {
    // A trigger takes the place of the running or paused countdown, as a new time does.
    if (countdown.Running() || countdown.Paused()) countdown.Cancel();
    // The processes may have ended since the command was checked.
    if (const std::string refusal = triggers_.Arm(command); !refusal.empty())
      platform_.MessageBox(refusal, kAppTitle, w::kMbOk);
  } else if (command.kind == CommandKind::Start) {
    if (command.inSeconds || command.at) triggers_.Disarm();
    StartCountdown(command);
  }
}

void CommandLine::StartCountdown(const Command& command) {
  Frmstart& f = frmstart_;
  Countdown& countdown = countdown_;
  const bool timed = command.inSeconds || command.at;
  if (command.power && !timed) {
    countdown.RunPowerAction(*command.power);  // at once; a running countdown goes on
    return;
  }
  // A new countdown takes the place of the running (or paused) one.
  if (timed && (countdown.Running() || countdown.Paused())) countdown.Cancel();

  Countdown::ZeroAction action{nullptr, false, command.power};
  if (!command.power) {
    // Pre-selected as the user does it.
    const PreSelectName& name = kPreSelectNames[static_cast<std::size_t>(command.preSelect)];
    (f.*name.button).Click();
    if (name.forceBox != nullptr && (f.*name.forceBox).Enabled()) (f.*name.forceBox).SetValue(command.force);
    action = {&name, command.force, std::nullopt};
  }
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
  countdown.Begin(action, CountdownTime::Of(total), command.at.has_value());
}

std::intptr_t CommandLine::StatusAnswer() const {
  const Countdown& countdown = countdown_;
  if (!countdown.Running()) return 0;
  const Countdown::ZeroAction due = countdown.DueAction();
  // The power actions are numbered after the pre-selections.
  std::intptr_t index = 0;
  if (due.power)
    index = static_cast<std::intptr_t>(kPreSelectNames.size() + (&PowerNamed(*due.power) - kPowerNames.data()));
  else if (due.name != nullptr)
    index = static_cast<std::intptr_t>(due.name - kPreSelectNames.data());
  else
    return 0;
  return (static_cast<std::intptr_t>(countdown.SecondsLeft()) << kNameBits) | (1 + index * 2 + (due.forced ? 1 : 0));
}

std::string StatusLine(std::intptr_t answer) {
  const std::intptr_t code = answer & ((1 << kNameBits) - 1);
  const auto index = static_cast<std::size_t>((code - 1) / 2);
  if (answer <= 0 || code == 0 || index >= kPreSelectNames.size() + kPowerNames.size()) return kNoCountdown;
  const char* what = index < kPreSelectNames.size() ? StatusOf(kPreSelectNames[index], (code - 1) % 2 == 1)
                                                     : kPowerNames[index - kPreSelectNames.size()].status;
  const long long left = answer >> kNameBits;
  char time[48];
  std::snprintf(time, sizeof time, " in %lld:%02lld:%02lld", left / 3600, left / 60 % 60, left % 60);
  return std::string(what) + time;
}

}  // namespace tarnby
