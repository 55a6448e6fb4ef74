// The action catalogue: what each of the ten coded actions sends to the
// system, and the tray icons' double-click, which runs the checked quick
// action and ends the program where the tray path does.
#include "core/actions/actions.h"

#include <algorithm>

#include "core/system/folders.h"
#include "core/system/os_info.h"

namespace tarnby {

namespace {
constexpr std::uint32_t kFromCountdown = 0xFFFFFFFFu;  // log off's reserved word at zero
}  // namespace

Actions::Actions(Platform& platform, Frmstart& frmstart, FormSlot<Frmprogram>& frmprogram)
    : platform_(platform), frmstart_(frmstart), frmprogram_(frmprogram) {
  WireHousekeeping();
}

bool Actions::IsWin98() { return COpSysInfo(platform_).IsWin98(); }

void Actions::ExitSession(std::uint32_t flags, std::uint32_t reserved) {
  // Without SE_SHUTDOWN_NAME on its token an NT-family process asks in vain,
  // and the tray path would then end Tarnby with Windows still running.
  const COpSysInfo os(platform_);
  if (!os.IsWin95() && !os.IsWin98()) platform_.EnableShutdownPrivilege();
  platform_.ExitWindowsEx(flags, reserved);
}

void Actions::SendScreenSave() {
  platform_.SendMessage(frmstart_.hwnd, w::kWmSysCommand, w::kScScreenSave, 0);
}

void Actions::ExitToDos() {
  // The system's own shortcut out of Windows; a missing one is not reported.
  platform_.Shell(GetWindowsDir(platform_) + "\\exit to dos.pif", w::kSwShowMinimized);
}

void Actions::RestartWindowsOnly() {
  Platform& platform = platform_;
  platform.ShellExecute(frmstart_.hwnd, "Open", InProgramFolder(platform, "restart.exe"), "",
                        platform.ProgramFolder(), w::kSwShowNormal);
}

void Actions::Perform(ActionCode code, Caller caller) {
  switch (code) {
    case ActionCode::shut: ExitSession(w::kEwxShutdown, 1); break;
    case ActionCode::shutf: ExitSession(w::kEwxShutdown | w::kEwxForce, 0); break;
    case ActionCode::restart: ExitSession(w::kEwxReboot, 2); break;
    case ActionCode::restartf: ExitSession(w::kEwxReboot | w::kEwxForce, 0); break;
    case ActionCode::log: ExitSession(w::kEwxLogoff, caller == Caller::Countdown ? kFromCountdown : 0); break;
    case ActionCode::logf: ExitSession(w::kEwxLogoff | w::kEwxForce, 0); break;
    case ActionCode::restartw: RestartWindowsOnly(); break;
    case ActionCode::sleep: SendScreenSave(); break;
    case ActionCode::screen:
      if (ScreenSaverRunsStoredFile())
        StartStoredScreenSaver();
      else
        SendScreenSave();
      break;
    case ActionCode::dos: ExitToDos(); break;
  }
}

bool Actions::ScreenSaverRunsStoredFile() {
  // Windows 98 runs the file Tarnby remembers; every other system gets the
  // screen-saver command (NT too: doing nothing there helps nobody).
  return IsWin98();
}

void Actions::EndAtOnce() { platform_.ExitProcess(0); }

void Actions::TrayDoubleClick(Control& box) {
  Frmstart& f = frmstart_;
  const CatalogueRow* const* owner = std::find_if(kOwnBoxRows.begin(), kOwnBoxRows.end(),
                                                  [&](const CatalogueRow* row) { return &box == &(f.*row->trayBox); });
  if (owner == kOwnBoxRows.end()) return;
  const CatalogueRow& row = **owner;
  const bool checked = (f.*row.item).checked;

  if (row.forcedTwin) {
    // A normal action and its forced twin share a box; the check mark decides.
    const CatalogueRow& forced = Catalogued(*row.forcedTwin);
    if (checked)
      Perform(*row.code, Caller::Tray);
    else if ((f.*forced.item).checked)
      Perform(*forced.code, Caller::Tray);
    else
      return;
    EndAtOnce();
    return;
  }
  if (!row.code) {
    if (checked) RunPrograms();
    return;
  }
  switch (*row.code) {
    case ActionCode::screen:
      // Where it runs the stored file it runs whatever the check mark;
      // elsewhere the screen-saver item must be the quick action.
      if (checked || ScreenSaverRunsStoredFile()) Perform(ActionCode::screen, Caller::Tray);
      return;
    case ActionCode::sleep:
    case ActionCode::restartw:
    case ActionCode::dos:
      if (!checked) return;
      Perform(*row.code, Caller::Tray);
      // Exit to DOS ends Tarnby; the other two leave it running.
      if (*row.code == ActionCode::dos) EndAtOnce();
      return;
    case ActionCode::shut:
    case ActionCode::shutf:
    case ActionCode::restart:
    case ActionCode::restartf:
    case ActionCode::log:
    case ActionCode::logf:
      return;  // a box shared with a forced twin: above
  }
}

}  // namespace tarnby
