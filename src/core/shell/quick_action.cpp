// The quick action and the popup menu: choosing, saving and restoring the
// action the tray icon stands for, the menu's opening step, "&Show Timer" and
// the orderly exit.
#include "core/about/frmabout.h"
#include "core/actions/actions.h"
#include "core/actions/frmprogram.h"
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

// The exit takes down every icon the program may have put in the tray, the
// notice's picNotifier among them, in this order whatever the quick action.
constexpr std::array<Control Frmstart::*, 9> kExitTrayOrder = {
    &Frmstart::picprogram, &Frmstart::picwin,   &Frmstart::picrestart, &Frmstart::picshut, &Frmstart::piclog,
    &Frmstart::picNotifier, &Frmstart::picsleep, &Frmstart::picscreen,  &Frmstart::picdos};

constexpr bool TakesEachIconDownOnce() {
  const auto times = [](Control Frmstart::*box) {
    int n = 0;
    for (Control Frmstart::*taken : kExitTrayOrder) n += taken == box ? 1 : 0;
    return n;
  };
  for (const CatalogueRow* row : kOwnBoxRows)
    if (times(row->trayBox) != 1) return false;
  return times(&Frmstart::picNotifier) == 1 && kExitTrayOrder.size() == kOwnBoxes + 1;
}
static_assert(TakesEachIconDownOnce(), "the exit takes every tray box's icon down, once");
}  // namespace

void Shell::SelectQuickAction(MenuItem& item) {
  const QuickAction* chosen = nullptr;
  for (const QuickAction& action : quickActions_) {
    action.item->checked = action.item == &item;
    if (action.item == &item) chosen = &action;
  }
  if (chosen == nullptr) return;
  if (&item == &frmstart_.mnuprogram) windows_.frmprogram().ShowInFront();
  for (Control* box : TrayBoxes(frmstart_))
    if (box != chosen->box || chosen->removesOwnBox) tray_.Remove(*box);
  tray_.Add(*chosen->box, chosen->tip);
}

MenuItem* Shell::CheckedQuickAction() const {
  for (const QuickAction& action : quickActions_)
    if (action.item->checked) return action.item;
  return nullptr;
}

void Shell::settingS() {
  for (ActionCode code : kSettingsReadOrder)
    if (IsTrue(ReadRegString(platform_, w::kHkeyCurrentUser, kSettingsKey, CodeName(code))))
      (frmstart_.*Catalogued(code).item).Click();
}

void Shell::SaveSettings() {
  for (ActionCode code : kSettingsWriteOrder)
    WriteRegString(platform_, w::kHkeyCurrentUser, kSettingsKey, CodeName(code),
                   (frmstart_.*Catalogued(code).item).checked ? kTrue : "");
}

void Shell::PopupMenu() {
  Frmstart& f = frmstart_;
  if (f.mnupopmenu.onClick) f.mnupopmenu.onClick();
  // The items Timer3 keeps in step only while the menu is down are right
  // from its first sight.
  hotkeys_.UpdateMenuItems();
  const bool wasOpen = f.mnupopmenu.open;
  f.mnupopmenu.open = true;
  const int chosen = platform_.TrackPopupMenu(f.mnupopmenu, f.hwnd);
  f.mnupopmenu.open = wasOpen;
  if (chosen < 0 || chosen >= static_cast<int>(f.mnupopmenu.items.size())) return;
  MenuItem* item = f.mnupopmenu.items[static_cast<std::size_t>(chosen)];
  if (item->enabled && item->visible && !item->IsSeparator()) item->Click();
}

void Shell::Exit() {
  windows_.frmhrs().Hide();
  if (platform_.MessageBox(kExitQuestion, kExitTitle, w::kMbYesNo | w::kMbIconQuestion) != w::kIdYes) return;
  Leave();
}

void Shell::Leave() {
  Platform& platform = platform_;
  Frmstart& f = frmstart_;
  for (Control Frmstart::*box : kExitTrayOrder) tray_.Remove(f.*box);
  platform.PlaySound("", 0, w::kSndNoDefault);
  countdown_.KeepAwake(false);
  RestoreWindowProcs();
  f.Unload();
  windows_.frmAbout.Unload();
  windows_.frmtime.Unload();
  windows_.frmhot.Unload();
  windows_.frmprogram.Unload();
  windows_.frmhrs.Unload();
  platform.ExitProcess(0);
}

void Shell::WireMenu() {
  Frmstart& f = frmstart_;
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
  platform_.SetForegroundWindow(frmstart_.hwnd);
  load();
}

void Shell::mnusave_Click() { SaveSettings(); }
void Shell::mnupopmenushow_Click() { frmstart_.ShowInFront(); }
void Shell::mnupopmenuexit_Click() { Exit(); }
void Shell::mnuabout_Click() { windows_.frmAbout().ShowInFront(); }
void Shell::mnuhot_Click() { windows_.frmhot().ShowInFront(); }

}  // namespace tarnby
