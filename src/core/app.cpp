#include "core/app.h"

#include "core/about/frmabout.h"
#include "core/command_line/commands.h"
#include "core/actions/actions.h"
#include "core/actions/frmprogram.h"
#include "core/countdown/countdown.h"
#include "core/countdown/frmhrs.h"
#include "core/countdown/frmtime.h"
#include "core/hotkeys/frmhot.h"
#include "core/hotkeys/hotkeys.h"
#include "core/shell/shell.h"
#include "core/triggers/triggers.h"

namespace tarnby {

App::App(Platform& host) : platform(host), frmstart(host) {
  shell = std::make_unique<Shell>(*this);
  actions = std::make_unique<Actions>(*this);
  countdown = std::make_unique<Countdown>(*this);
  hotkeys = std::make_unique<HotKeys>(*this);
  triggers = std::make_unique<Triggers>(platform, frmstart, *countdown);
  triggers->showTip = [this](const std::string& tip) { shell->tray.ShowWaitingTip(tip); };
  commandLine = std::make_unique<CommandLine>(*this);
  countdown->showNotice = [this](const std::string& title, const std::string& text) {
    shell->tray.Balloon(title, text);
  };
}

App::~App() = default;

bool App::Start(const std::vector<std::string>& arguments) {
  Command command;
  switch (commandLine->Start(arguments, command)) {
    case CommandLine::Next::PlainStart:
      return shell->Start();
    case CommandLine::Next::End:
      return false;
    case CommandLine::Next::Load:
      break;
  }
  shell->LoadMainWindow();
  commandLine->Act(command);
  return true;
}

}  // namespace tarnby
