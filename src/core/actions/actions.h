// System actions: the catalogue of the eleven actions, which the tray icon,
// the countdown and the hot keys all call, and the housekeeping commands of
// the popup menu.
#pragma once

#include <optional>
#include <string>

#include "core/actions/catalogue.h"
#include "core/forms/form_slot.h"
#include "core/forms/forms.h"

namespace tarnby {

class Frmprogram;

// Who asked for an action: the arguments and what follows differ a little
// between them.
enum class Caller { Tray, Countdown, HotKey };

class Actions {
 public:
  Actions(Platform& platform, Frmstart& frmstart, FormSlot<Frmprogram>& frmprogram);

  // A left double-click on a tray icon: runs the quick action its box stands
  // for when its menu item carries the check mark, and ends the program
  // afterwards where the tray path does.
  void TrayDoubleClick(Control& box);

  // The operation of one action at the system, with the caller's arguments
  // (for example log off passes 0xFFFFFFFF from the countdown). Never ends the
  // program itself.
  void Perform(ActionCode code, Caller caller);

  // The screen saver's rule: true where it runs the file Tarnby remembers
  // (which may ask for one first), false where Windows gets the command.
  bool ScreenSaverRunsStoredFile();

  // Run the two selected programs from the program selection window's boxes
  // ("Nothing" marks an empty slot), then unload that window.
  void RunPrograms();
  // True while RunPrograms is on the stack (its message box is open): a
  // second call meanwhile starts nothing.
  bool ProgramsRunning() const { return runningPrograms_; }

  // The Windows 98 screen-saver steps: run the stored file, or ask for one,
  // run it and store it. Never opens a second dialog over the first.
  void StartStoredScreenSaver();

  // The screen-saver file dialog: the chosen path, or nothing on cancel.
  std::optional<std::string> ChooseScreenSaverFile();

  // End at once: no handler runs, nothing is saved, the tray icon stays.
  void EndAtOnce();

  // Housekeeping procedures that other subsystems use too.
  bool KillEmAll(std::string skillwho);
  bool ActiveConnection();

  // Whether the files of a folder may be wiped as temporary, judged by the
  // folder as it is on disk: the user's own temporary folder (Temp in Local
  // AppData) or the Windows folder's Temp, or a folder inside either; or a
  // folder named Temp or Tmp that lies in none of the folders a user or
  // Windows keeps (the Windows folder, Desktop, Documents, the program files,
  // ...) and holds none of them, nor the profile, the current folder or
  // Tarnby's own. Never a drive's root. Anything else is not temporary, so a
  // folder a list would have missed is never wiped.
  bool IsTemporaryFolder(const std::string& folder);

 private:
  void WireHousekeeping();
  void RefuseToClean(const std::string& folder);

  // ExitWindowsEx, with the shutdown privilege asked for first where the
  // system wants it (NT family).
  void ExitSession(std::uint32_t flags, std::uint32_t reserved);
  void SendScreenSave();
  void ExitToDos();
  void RestartWindowsOnly();
  bool IsWin98();

  // Housekeeping commands of the popup menu.
  void mnucd_Click();
  void mnucdclose_Click();
  void mnumin_Click();
  void mnushow_Click();
  void mnunet_Click();
  void mnudoc_Click();
  void mnutemp_Click();
  void mnureadme_Click();
  void mnuhelp_Click();
  void mnuscreenchange_Click();

  Platform& platform_;
  Frmstart& frmstart_;
  FormSlot<Frmprogram>& frmprogram_;
  bool runningPrograms_ = false;
  bool screenDialogOpen_ = false;
};

}  // namespace tarnby
