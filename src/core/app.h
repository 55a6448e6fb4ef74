// The running program, and the one place that knows all of it: the main
// window, the secondary windows that exist on first reference, and the
// subsystems that give the controls their behaviour. It builds each part and
// hands it, in its constructor, the few windows, subsystems and the platform it
// uses; no part reaches back through the program. Everything runs on the one
// user-interface thread.
//
// Who uses whom (built in this order):
//   actions     the platform, the main window, the program selection window
//   hotkeys     ... and actions
//   countdown   the hours, time-left and program selection windows, actions,
//               and the tray as the NoticeArea where its notice shows
//               (the time-left window, which it opens, reads what it runs)
//   shell       every secondary window, the tray, actions, hotkeys, countdown
//   triggers    the countdown, and the tray whose tip says what they wait for
//   commandLine the countdown and the triggers (which start it through it)
// The one loop, shell and countdown, runs through NoticeArea.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/about/frmabout.h"
#include "core/actions/frmprogram.h"
#include "core/countdown/frmhrs.h"
#include "core/countdown/frmtime.h"
#include "core/forms/form_slot.h"
#include "core/hotkeys/frmhot.h"
#include "core/main_window/frmstart.h"
#include "core/platform.h"
#include "core/shell/tray.h"

namespace tarnby {

class Shell;
class Countdown;
class Actions;
class HotKeys;
class Triggers;
class CommandLine;

class App {
 public:
  explicit App(Platform& platform);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The start-up object: reads the arguments, refuses a second copy or hands
  // the arguments to it, then loads the main window hidden and acts on them.
  // False when this copy must end at once.
  bool Start(const std::vector<std::string>& arguments = {});

  Platform& platform;
  Frmstart frmstart;

  FormSlot<Frmhrs> frmhrs{[this] { return std::make_unique<Frmhrs>(platform, frmstart); }};
  FormSlot<Frmtime> frmtime{[this] { return std::make_unique<Frmtime>(platform, frmstart, *countdown); }};
  FormSlot<Frmprogram> frmprogram{[this] { return std::make_unique<Frmprogram>(platform, frmstart); }};
  FormSlot<Frmhot> frmhot{[this] { return std::make_unique<Frmhot>(platform); }};
  FormSlot<FrmAbout> frmAbout{[this] { return std::make_unique<FrmAbout>(platform); }};

  Tray tray{platform};

  std::unique_ptr<Actions> actions;
  std::unique_ptr<HotKeys> hotkeys;
  std::unique_ptr<Countdown> countdown;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<Triggers> triggers;
  std::unique_ptr<CommandLine> commandLine;
};

}  // namespace tarnby
