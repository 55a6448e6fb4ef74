// The quick action and the popup menu: choosing, saving and restoring the
// action the tray icon stands for, the menu's opening step, "&Show Timer" and
// the orderly exit.
#include "core/about/frmabout.h"
#include "core/actions/actions.h"
#include "core/actions/frmprogram.h"
#include "core/app.h"
#include "core/countdown/countdown.h"
#include "core/countdown/frmhrs.h"
#include "core/countdown/frmtime.h"
#include "core/hotkeys/frmhot.h"
#include "core/hotkeys/hotkeys.h"
#include "core/shell/shell.h"
#include "core/system/settings_store.h"
#include "core/system/size_limit.h"

namespace tarnby {

namespace {
constexpr char kExitQuestion[] = "Are you sure you want to exit Tarnby?";
constexpr char kExitTitle[] = "Leave Tarnby?";
}  // namespace

void Shell::SelectQuickAction(MenuItem& item) {
  const QuickAction* chosen = nullptr;
  for (const QuickAction& action : quickActions_) {
    action.item->checked = action.item == &item;
    if (action.item == &item) chosen = &action;
  }
  if (chosen == nullptr) return;
  if (&item == &app_.frmstart.mnuprogram) app_.frmprogram().ShowInFront();
  for (Control* box : TrayBoxes(app_.frmstart))
    if (box != chosen->box || chosen->removesOwnBox) tray.Remove(*box);
  tray.Add(*chosen->box, chosen->tip);
}

MenuItem* Shell::CheckedQuickAction() const {
  for (const QuickAction& action : quickActions_)
    if (action.item->checked) return action.item;
  return nullptr;
}

void Shell::settingS() {
  for (ActionCode code : kSettingsReadOrder)
    if (IsTrue(ReadRegString(app_.platform, w::kHkeyCurrentUser, kSettingsKey, CodeName(code))))
      (app_.frmstart.*Catalogued(code).item).Click();
}

void Shell::SaveSettings() {
  static constexpr std::array<ActionCode, 10> kSaveOrder = {
      ActionCode::restart, ActionCode::restartw, ActionCode::restartf, ActionCode::screen, ActionCode::sleep,
      ActionCode::dos,     ActionCode::log,      ActionCode::logf,     ActionCode::shut,   ActionCode::shutf};
  for (ActionCode code : kSaveOrder)
    WriteRegString(app_.platform, w::kHkeyCurrentUser, kSettingsKey, CodeName(code),
                   (app_.frmstart.*Catalogued(code).item).checked ? kTrue : "");
}

void Shell::PopupMenu() {
  Frmstart& f = app_.frmstart;
  if (f.mnupopmenu.onClick) f.mnupopmenu.onClick();
  // The items Timer3 keeps in step only while the menu is down are right
  // from its first sight.
  app_.hotkeys->UpdateMenuItems();
  const bool wasOpen = f.mnupopmenu.open;
  f.mnupopmenu.open = true;
  const int chosen = app_.platform.TrackPopupMenu(f.mnupopmenu, f.hwnd);
  f.mnupopmenu.open = wasOpen;
  if (chosen < 0 || chosen >= static_cast<int>(f.mnupopmenu.items.size())) return;
  MenuItem* item = f.mnupopmenu.items[static_cast<std::size_t>(chosen)];
  if (item->enabled && item->visible && !item->IsSeparator()) item->Click();
}

void Shell::Exit() {
  Platform& platform = app_.platform;
  Frmstart& f = app_.frmstart;
  app_.frmhrs().Hide();
  if (platform.MessageBox(kExitQuestion, kExitTitle, w::kMbYesNo | w::kMbIconQuestion) != w::kIdYes) return;
  for (Control* box : TrayBoxes(f)) tray.Remove(*box);
  tray.Remove(f.picNotifier);
  platform.PlaySound("", 0, w::kSndNoDefault);
  app_.countdown->KeepAwake(false);
  RestoreWindowProcs();
  f.Unload();
  app_.frmAbout.Unload();
  app_.frmtime.Unload();
  app_.frmhot.Unload();
  app_.frmprogram.Unload();
  app_.frmhrs.Unload();
  platform.ExitProcess(0);
}

void Shell::WireMenu() {
  Frmstart& f = app_.frmstart;
  for (const QuickAction& action : quickActions_) {
    MenuItem* item = action.item;
    item->onClick = [this, item] { SelectQuickAction(*item); };
  }
  f.mnupopmenu.onClick = [this] { mnupopmenu_Click(); };
  f.mnusave.onClick = [this] { mnusave_Click(); };
  f.mnupopmenushow.onClick = [this] { mnupopmenushow_Click(); };
  f.mnupopmenuexit.onClick = [this] { mnupopmenuexit_Click(); };
  f.mnuabout.onClick = [this] { mnuabout_Click(); };
  f.mnuhot.onClick = [this] { mnuhot_Click(); };
}

void Shell::mnupopmenu_Click() {
  app_.platform.SetForegroundWindow(app_.frmstart.hwnd);
  load();
}

void Shell::mnusave_Click() { SaveSettings(); }
void Shell::mnupopmenushow_Click() { app_.frmstart.ShowInFront(); }
void Shell::mnupopmenuexit_Click() { Exit(); }
void Shell::mnuabout_Click() { app_.frmAbout().ShowInFront(); }
void Shell::mnuhot_Click() { app_.frmhot().ShowInFront(); }

}  // namespace tarnby
