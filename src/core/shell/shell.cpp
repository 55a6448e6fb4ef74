#include "core/shell/shell.h"

#include <cstring>

#include "core/actions/actions.h"
#include "core/app_title.h"
#include "core/countdown/frmhrs.h"
#include "core/system/os_info.h"
#include "core/system/settings_store.h"
#include "core/system/size_limit.h"
#include "core/system/window_drag.h"

namespace tarnby {

namespace {
constexpr char kAlreadyRunning[] = "This program is already running!";
constexpr char kUserPrefix[] = "Current user logged on: ";
}  // namespace

Shell::Shell(Platform& platform, Frmstart& frmstart, const Windows& windows, Tray& tray, Actions& actions,
             HotKeys& hotkeys, Countdown& countdown)
    : platform_(platform),
      frmstart_(frmstart),
      windows_(windows),
      tray_(tray),
      actions_(actions),
      hotkeys_(hotkeys),
      countdown_(countdown) {
  Frmstart& f = frmstart_;
  for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
    const CatalogueRow& row = kCatalogue[i];
    quickActions_[i] = {&(f.*row.item), &(f.*row.trayBox), row.tip, row.removesOwnBox};
  }
  f.onLoad = [this] { frmstart_Load(); };
  f.onMouseMove = [this](int button, int, int, int) { frmstart_MouseMove(button); };
  f.Command3.onClick = [this] { Command3_Click(); };
  f.onShellRestarted = [this] { frmstart_ShellRestarted(); };
  f.onCloseApp = [this] { Leave(); };
  tray_.RetryWith(f.tmrTray);
  f.tmrTray.onTimer = [this] { tmrTray_Timer(); };
  tray_.onBalloonClick = [&f] { f.mnupopmenushow.Click(); };
  f.onQueryUnload = [this] { return frmstart_QueryUnload(); };
  WireTrayHandlers();
  WireMenu();
  WireStartWithWindows();
}

bool Shell::Start() {
  Platform& platform = platform_;
  if (platform.AnotherInstanceRunning()) {
    platform.MessageBox(kAlreadyRunning, kAppTitle, w::kMbIconExclamation);
    platform.ExitProcess(0);
    return false;
  }
  LoadMainWindow();
  return true;
}

void Shell::LoadMainWindow() {
  frmstart_.Hide();  // the first reference loads it
  platform_.PublishInstanceWindow(frmstart_.hwnd);
}

void Shell::frmstart_Load() {
  Frmstart& f = frmstart_;
  Platform& platform = platform_;

  f.mnuscreenchange.enabled = false;
  const COpSysInfo os(platform);
  if (os.IsWin95()) {
    f.cmdsleep.SetEnabled(false);
    f.mnusleep.enabled = false;
  }

  const ScreenInfo screen = platform.Screen();
  const Twips size = f.Position();
  f.Move(screen.widthTwips - size.width, screen.heightTwips - size.height, size.width, size.height);
  LimitWindowSize(f, size.width, size.height, size.width, screen.heightTwips);
  f.Hide();

  if (os.IsWin98()) f.mnuscreenchange.enabled = true;
  for (const QuickAction& action : quickActions_) action.item->checked = action.item == &f.mnuscreen;

  load();
  platform.SetWindowPos(f.hwnd, w::kHwndTopmost, 0, 0, 0, 0, w::kSwpNoMove | w::kSwpNoSize);
  tray_.Add(f.picscreen, Catalogued(ActionCode::screen).tip);

  char name[200] = {};
  std::uint32_t length = 199;
  std::string user;
  if (platform.GetUserName(name, &length)) user.assign(name, strnlen(name, 199));
  f.Label1.SetCaption(kUserPrefix + user);

  f.Image2.SetVisible(false);
  settingS();
}

void Shell::frmstart_MouseMove(int button) { DragWindow(frmstart_, button); }

void Shell::Command3_Click() {
  frmstart_.Hide();
  windows_.frmhrs().Hide();
}

void Shell::frmstart_ShellRestarted() { tray_.AddAgain(); }

// The icon the shell would not take yet: asked again until it does.
void Shell::tmrTray_Timer() { tray_.AddAgain(); }

bool Shell::frmstart_QueryUnload() {
  // The main window lives until E&xit; a close request only hides it.
  frmstart_.Hide();
  return true;
}

void Shell::WireTrayHandlers() {
  for (std::size_t i = 0; i < kOwnBoxes; ++i) {
    Control* box = &(frmstart_.*kOwnBoxRows[i]->trayBox);
    Tray::Handler* handler = &trayHandlers_[i];
    box->SetPicture(kOwnBoxRows[i]->picture);
    box->onMouseMove = [this, box, handler](int, int, int x, int) { TrayBox_MouseMove(*box, *handler, x); };
  }
}

void Shell::TrayBox_MouseMove(Control& box, Tray::Handler& handler, int x) {
  tray_.Callback(
      handler, frmstart_.hwnd, x, [this, &box] { actions_.TrayDoubleClick(box); },
      [this] { PopupMenu(); });
}

}  // namespace tarnby
