#include "core/app.h"

#include "core/about/frmabout.h"
#include "core/actions/actions.h"
#include "core/actions/frmprogram.h"
#include "core/commands/commands.h"
#include "core/countdown/countdown.h"
#include "core/countdown/frmhrs.h"
#include "core/countdown/frmtime.h"
#include "core/hotkeys/frmhot.h"
#include "core/hotkeys/hotkeys.h"
#include "core/shell/shell.h"
#include "core/triggers/triggers.h"

namespace tarnby {

App::App(Platform& host) : platform(host), frmstart(host) {
  actions = std::make_unique<Actions>(platform, frmstart, frmprogram);
  hotkeys = std::make_unique<HotKeys>(platform, frmstart, *actions);
  countdown = std::make_unique<Countdown>(platform, frmstart, frmhrs, frmtime, frmprogram, *actions, tray);
  shell = std::make_unique<Shell>(platform, frmstart, Shell::Windows{frmhrs, frmtime, frmprogram, frmhot, frmAbout},
                                  tray, *actions, *hotkeys, *countdown);
  triggers = std::make_unique<Triggers>(platform, frmstart, *countdown, tray);
  commandLine = std::make_unique<CommandLine>(platform, frmstart, *countdown, *triggers);
  // Sleep and wake concern two parts: the countdown's clock and the idle wait.
  frmstart.onPowerBroadcast = [this](std::uintptr_t event) {
    countdown->frmstart_PowerBroadcast(event);
    triggers->frmstart_PowerBroadcast(event);
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
  commandLine->Take(command);
  return true;
}

}  // namespace tarnby
