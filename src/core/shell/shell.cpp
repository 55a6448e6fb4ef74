#include "core/shell/shell.h"

#include <cstring>

#include "core/actions/actions.h"
#include "core/app.h"
#include "core/system/os_info.h"
#include "core/system/settings_store.h"
#include "core/system/size_limit.h"
#include "core/system/window_drag.h"

namespace tarnby {

namespace {
constexpr char kAlreadyRunning[] = "This program is already running!";
constexpr char kUserPrefix[] = "Current user logged on: ";
}  // namespace

Shell::Shell(App& app)
    : tray(app.platform),
      app_(app),
      quickActions_{{
          {&app.frmstart.mnudos, &app.frmstart.picdos, "Double click to exit to Dos, right click for menu", false},
          {&app.frmstart.mnuprogram, &app.frmstart.picprogram,
           "Double click to Start selected Program(s), right click for menu", false},
          {&app.frmstart.mnuscreen, &app.frmstart.picscreen,
           "Double click to start screensaver, right click for menu", false},
          {&app.frmstart.mnuwin, &app.frmstart.picwin, "Double click to Restart Windows Only, right click for menu",
           false},
          {&app.frmstart.mnusleep, &app.frmstart.picsleep, "Double click to start Sleep Mode, right click for menu",
           true},
          {&app.frmstart.mnurestart, &app.frmstart.picrestart,
           "Double click to Restart Computer, right click for menu", true},
          {&app.frmstart.mnurestartf, &app.frmstart.picrestart, "Double click to Forcefully Restart Computer", true},
          {&app.frmstart.mnulog, &app.frmstart.piclog, "Double click to Log Off, right click for menu", true},
          {&app.frmstart.mnulogf, &app.frmstart.piclog, "Double click to Forcefully Log Off the Computer", true},
          {&app.frmstart.mnushut, &app.frmstart.picshut, "Double click to Shut Down, right click for menu", true},
          {&app.frmstart.mnushutf, &app.frmstart.picshut, "Double click to Forcefully Shut Down the Computer", true},
      }} {
  Frmstart& f = app.frmstart;
  f.onLoad = [this] { frmstart_Load(); };
  f.onMouseMove = [&f](int button, int, int, int) { DragWindow(f, button); };
  f.Command3.onClick = [this] {
    app_.frmstart.Hide();
    app_.frmhrs().Hide();
  };
  f.onShellRestarted = [this] { tray.AddAgain(); };
  tray.RetryWith(f.tmrTray);
  f.tmrTray.onTimer = [this] { tray.AddAgain(); };
  tray.onBalloonClick = [&f] { f.mnupopmenushow.Click(); };
  // The main window lives until E&xit; a close request only hides it.
  f.onQueryUnload = [&f] {
    f.Hide();
    return true;
  };
  WireTrayHandlers();
  WireMenu();
  WireStartWithWindows();
}

bool Shell::Start() {
  Platform& platform = app_.platform;
  if (platform.AnotherInstanceRunning()) {
    platform.MessageBox(kAlreadyRunning, kAppTitle, w::kMbIconExclamation);
    platform.ExitProcess(0);
    return false;
  }
  LoadMainWindow();
  return true;
}

void Shell::LoadMainWindow() {
  app_.frmstart.Hide();  // the first reference loads it
  app_.platform.PublishInstanceWindow(app_.frmstart.hwnd);
}

void Shell::frmstart_Load() {
  Frmstart& f = app_.frmstart;
  Platform& platform = app_.platform;

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
  tray.Add(f.picscreen, quickActions_[2].tip);

  char name[200] = {};
  std::uint32_t length = 199;
  std::string user;
  if (platform.GetUserName(name, &length)) user.assign(name, strnlen(name, 199));
  f.Label1.SetCaption(kUserPrefix + user);

  f.Image2.SetVisible(false);
  settingS();
}

void Shell::WireTrayHandlers() {
  const std::array<Control*, 8> boxes = app_.frmstart.TrayBoxes();
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    Control* box = boxes[i];
    Tray::Handler* handler = &trayHandlers_[i];
    box->onMouseMove = [this, box, handler](int, int, int x, int) {
      tray.Callback(
          *handler, app_.frmstart.hwnd, x, [this, box] { app_.actions->TrayDoubleClick(*box); },
          [this] { PopupMenu(); });
    };
  }
}

}  // namespace tarnby
