// The application shell: start-up and the main window's load, the tray icon
// and its handlers, the quick action with the popup menu, saving and restoring
// it, the orderly exit, and starting with Windows.
#pragma once

#include <array>
#include <string>

#include "core/actions/catalogue.h"
#include "core/forms/form_slot.h"
#include "core/shell/tray.h"

namespace tarnby {

class Actions;
class Countdown;
class FrmAbout;
class Frmhot;
class Frmhrs;
class Frmprogram;
class Frmtime;
class HotKeys;

class Shell {
 public:
  // The secondary windows: the shell opens some from the menu and closes
  // them all on exit.
  struct Windows {
    FormSlot<Frmhrs>& frmhrs;
    FormSlot<Frmtime>& frmtime;
    FormSlot<Frmprogram>& frmprogram;
    FormSlot<Frmhot>& frmhot;
    FormSlot<FrmAbout>& frmAbout;
  };
  Shell(Platform& platform, Frmstart& frmstart, const Windows& windows, Tray& tray, Actions& actions,
        HotKeys& hotkeys, Countdown& countdown);

  // Start-up steps 1 and 2: false when another copy already runs.
  bool Start();
  // Step 2 alone: load the main window hidden, and let later copies find it.
  void LoadMainWindow();

  // One quick action: its menu item, the picture box that owns its tray icon,
  // its tip, and whether its own box's icon is taken down before the add.
  struct QuickAction {
    MenuItem* item;
    Control* box;
    const char* tip;
    bool removesOwnBox;
  };
  const std::array<QuickAction, kCatalogue.size()>& QuickActions() const { return quickActions_; }
  void SelectQuickAction(MenuItem& item);
  MenuItem* CheckedQuickAction() const;
  void settingS();
  void SaveSettings();

  // Right-button release on the tray icon: raise the menu's own click, then pop it up.
  void PopupMenu();
  void Exit();
  // Ends at once, without a question and without acting: what an installer
  // asks for. The settings stay as they are.
  void Leave();

  // Start with Windows.
  std::string RunEntry() const;  // program folder + "\tarnby.exe"
  void load();

 private:
  // The main window's own events (shell.cpp).
  void frmstart_Load();
  void frmstart_MouseMove(int button);
  bool frmstart_QueryUnload();
  void frmstart_ShellRestarted();
  void tmrTray_Timer();
  void Command3_Click();
  // picdos ... picshut: the tray's callback for each box (shell.cpp).
  void WireTrayHandlers();
  void TrayBox_MouseMove(Control& box, Tray::Handler& handler, int x);
  // The popup menu (quick_action.cpp); the quick-action items mnudos ...
  // mnushutf all run SelectQuickAction.
  void WireMenu();
  void mnupopmenu_Click();
  void mnusave_Click();
  void mnupopmenushow_Click();
  void mnupopmenuexit_Click();
  void mnuabout_Click();
  void mnuhot_Click();
  // Start with Windows (start_with_windows.cpp).
  void WireStartWithWindows();
  void Option1_Click();
  void Option2_Click();
  void Label8_Click();
  void Label9_Click();
  // The entry written (machine-wide, else the user's own, and Task Manager's
  // mark on it taken away) or cleared from both; a refusal that leaves it
  // otherwise is told.
  void SwitchOn();
  void SwitchOff();
  // Whether a run entry starts this very file, however it is spelled.
  bool NamesThisProgram(const std::string& entry) const;
  enum class Entry { None, This, Other };
  Entry ReadRunEntry(bool machineWide) const;

  Platform& platform_;
  Frmstart& frmstart_;
  Windows windows_;
  Tray& tray_;
  Actions& actions_;
  HotKeys& hotkeys_;
  Countdown& countdown_;
  std::array<QuickAction, kCatalogue.size()> quickActions_{};  // the catalogue's rows, in its order
  std::array<Tray::Handler, kOwnBoxes> trayHandlers_{};
};

}  // namespace tarnby
