// The running program: the main window, the secondary windows that exist on
// first reference, and the subsystems that give the controls their behaviour.
// Everything runs on the one user-interface thread.
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

namespace tarnby {

// The application title: the caption of every message box that names no other.
inline constexpr char kAppTitle[] = "Tarnby";

class Shell;
class Countdown;
class Actions;
class HotKeys;
class CommandLine;
class Triggers;

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

  FormSlot<Frmhrs> frmhrs{*this};
  FormSlot<Frmtime> frmtime{*this};
  FormSlot<Frmprogram> frmprogram{*this};
  FormSlot<Frmhot> frmhot{*this};
  FormSlot<FrmAbout> frmAbout{*this};

  std::unique_ptr<Shell> shell;
  std::unique_ptr<Countdown> countdown;
  std::unique_ptr<Actions> actions;
  std::unique_ptr<HotKeys> hotkeys;
  std::unique_ptr<Triggers> triggers;
  std::unique_ptr<CommandLine> commandLine;
};

}  // namespace tarnby
