#include <functional>
#include <sstream>

#include "core/app_fixture.h"
#include "core/shell/shell.h"
#include "core/system/settings_store.h"

namespace tarnby {
namespace {

using V = FakeWindows::Version;

class TrayTest : public AppTest {};

TEST_F(TrayTest, EveryCallbackBringsTheMainWindowForwardFirst) {
  Start();
  win.ClearLog();
  TrayMessage(f().picscreen, w::kWmMouseMove);
  TrayMessage(f().picscreen, 0x201);  // left button down
  ASSERT_EQ(win.Count("SetForegroundWindow"), 2);
  EXPECT_FALSE(win.Logged("TrackPopupMenu"));
}

TEST_F(TrayTest, RightButtonUpOpensTheMenuOnEverySystem) {
  for (V version : {V::Win95, V::Win98, V::WinNT4, V::Win10}) {
    FakeWindows fresh;
    fresh.SetVersion(version);
    App local(fresh);
    ASSERT_TRUE(local.Start());
    local.frmstart.picscreen.MouseMove(0, 0, 0x205 * 15, 0);
    EXPECT_EQ(fresh.Count("TrackPopupMenu(mnupopmenu"), 1) << static_cast<int>(version);
    RestoreWindowProcs();
  }
}

TEST_F(TrayTest, TheMessageIsDecodedWithTheMainWindowsTwipsPerPixel) {
  win.screen.twipsPerPixelX = 12;  // 120 DPI
  Start();
  f().picscreen.MouseMove(0, 0, 0x205 * 12, 0);
  EXPECT_EQ(win.Count("TrackPopupMenu"), 1);
  f().picscreen.MouseMove(0, 0, 0x205 * 15, 0);
  EXPECT_EQ(win.Count("TrackPopupMenu"), 1) << "a different message at this DPI";
  // Dragged to a monitor at 144 DPI, the window converts with its new factors.
  win.windowScales[f().hwnd] = {10, 10};
  f().picscreen.MouseMove(0, 0, 0x205 * 10, 0);
  EXPECT_EQ(win.Count("TrackPopupMenu"), 2);
  f().picscreen.MouseMove(0, 0, 0x205 * 12, 0);
  EXPECT_EQ(win.Count("TrackPopupMenu"), 2) << "the screen's factors no longer hold for it";
}

TEST_F(TrayTest, OpeningTheMenuRefreshesStartWithWindowsFirst) {
  Start();
  EXPECT_TRUE(f().Option1.Enabled());
  win.SetRegString(w::kHkeyLocalMachine, kWindowsRunKey, "Tarnby", win.programFolder + "\\tarnby.exe");
  win.ClearLog();
  RightClick(f().picscreen);
  EXPECT_FALSE(f().Option1.Enabled());
  EXPECT_TRUE(f().Option2.Enabled());
  // The menu's own step brings the window forward again before it drops down.
  EXPECT_EQ(win.Count("SetForegroundWindow"), 2);
}

TEST_F(TrayTest, ASecondRightClickWhileTheMenuIsOpenOpensNoOther) {
  Start();
  win.whileMenuOpen = [&] { RightClick(f().picscreen); };
  RightClick(f().picscreen);
  EXPECT_EQ(win.Count("TrackPopupMenu"), 1);
  win.whileMenuOpen = nullptr;
  RightClick(f().picscreen);
  EXPECT_EQ(win.Count("TrackPopupMenu"), 2) << "Busy is cleared when the menu closes";
}

TEST_F(TrayTest, BusyIsPerIcon) {
  Start();
  // While the screen saver icon's menu is open, another box's callback still runs.
  f().mnushut.Click();
  win.whileMenuOpen = [&] {
    win.whileMenuOpen = nullptr;
    RightClick(f().picshut);
  };
  RightClick(f().picscreen);
  EXPECT_EQ(win.Count("TrackPopupMenu"), 2);
}

TEST_F(TrayTest, ChoosingAnItemRunsItsHandlerAfterTheMenuCloses) {
  Start();
  ChooseFromMenu(f().picscreen, "mnushut");
  EXPECT_TRUE(f().mnushut.checked);
  ChooseFromMenu(f().picshut, "mnupopmenushow");
  EXPECT_TRUE(f().Visible());
}

TEST_F(TrayTest, AnIconTheShellRefusedIsAskedForUntilItIsTaken) {
  win.shellReady = false;  // logon: the shell is not there yet
  Start();
  EXPECT_TRUE(win.trayIcons.empty());
  win.Advance(3000);
  EXPECT_TRUE(win.trayIcons.empty());
  EXPECT_GE(win.Count("Shell_NotifyIcon(0"), 3);

  win.shellReady = true;
  win.Advance(1000);
  ASSERT_EQ(win.trayIcons.size(), 1u);
  EXPECT_EQ(win.trayIcons.begin()->first.first, f().picscreen.hwnd);
  win.ClearLog();
  win.Advance(5000);
  EXPECT_FALSE(win.Logged("Shell_NotifyIcon")) << "asked again after the shell took it";

  // The shell announces itself while it still shows the icon: kept, not asked for every second.
  f().onShellRestarted();
  win.Advance(3000);
  EXPECT_EQ(win.trayIcons.size(), 1u);
  EXPECT_LE(win.Count("Shell_NotifyIcon"), 2);
}

TEST_F(TrayTest, AWindowAskedForAgainIsBroughtForward) {
  Start();
  auto broughtForward = [&](Form& form) {
    std::ostringstream hwnd;
    hwnd << "BringWindowForward(0x" << std::hex << form.hwnd << ")";
    return form.Visible() && win.Logged(hwnd.str());
  };
  // Each item opens its window; chosen again while it is open, the same
  // window comes in front of whatever the user works in.
  const std::pair<const char*, std::function<Form&()>> items[] = {
      {"mnuabout", [&]() -> Form& { return app->frmAbout(); }},
      {"mnuhot", [&]() -> Form& { return app->frmhot(); }},
      {"mnuprogram", [&]() -> Form& { return app->frmprogram(); }},
      {"mnupopmenushow", [&]() -> Form& { return f(); }}};
  for (const auto& [item, form] : items) {
    ChooseFromMenu(f().picscreen, item);
    win.ClearLog();
    ChooseFromMenu(f().picscreen, item);
    EXPECT_TRUE(broughtForward(form())) << item;
  }
  // The time-left window, from the running countdown.
  f().cmdscreen.Click();
  f().Text1.NativeTextChanged("30");
  f().cmdstart.SetEnabled(true);
  f().cmdstart.Click();
  f().mnutime.Click();
  win.ClearLog();
  f().mnutime.Click();
  EXPECT_TRUE(broughtForward(app->frmtime()));
}

TEST_F(TrayTest, DisabledHiddenAndSeparatorItemsDoNothing) {
  win.SetVersion(V::Win95);
  Start();
  ChooseFromMenu(f().picscreen, "mnusleep");  // disabled on Windows 95
  EXPECT_TRUE(f().mnuscreen.checked);
  ChooseFromMenu(f().picscreen, "mnutime");  // hidden until a countdown starts
  ChooseFromMenu(f().picscreen, "mnuline");
  EXPECT_FALSE(win.processEnded);
  EXPECT_TRUE(f().mnuscreen.checked);
}

TEST_F(TrayTest, TheIconComesBackWhenTheShellRestarts) {
  Start();
  f().mnulogf.Click();
  win.trayIcons.clear();  // Explorer died and took every icon with it
  ASSERT_TRUE(f().onShellRestarted);
  f().onShellRestarted();
  ASSERT_EQ(win.trayIcons.size(), 1u);
  const NotifyIconData& icon = win.trayIcons.begin()->second;
  EXPECT_EQ(icon.hWnd, f().piclog.hwnd);
  EXPECT_EQ(icon.szTip.substr(0, icon.szTip.find('\0')), "Double click to Forcefully Log Off the Computer");
}

class ExitTest : public AppTest {};

TEST_F(ExitTest, NoKeepsEverythingButHidesTheHoursWindow) {
  Start();
  app->frmhrs().Show();
  f().mnushut.Click();
  win.messageBoxAnswers = {w::kIdNo};
  ChooseFromMenu(f().picshut, "mnupopmenuexit");
  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, "Are you sure you want to exit Tarnby?");
  EXPECT_EQ(win.messageBoxes[0].title, "Leave Tarnby?");
  EXPECT_EQ(win.messageBoxes[0].style, 36u);
  EXPECT_FALSE(win.processEnded);
  EXPECT_EQ(win.trayIcons.size(), 1u);
  EXPECT_TRUE(f().Loaded());
  EXPECT_FALSE(app->frmhrs().Visible());
  EXPECT_EQ(LimitedWindowCount(), 1);
}

TEST_F(ExitTest, YesTakesDownTheIconStopsSoundUnhooksUnloadsAndEnds) {
  Start();
  f().mnurestartf.Click();
  app->frmhot().Show();
  app->frmAbout().Show();
  win.playing = "C:\\alarm.wav";
  win.messageBoxAnswers = {w::kIdYes};
  std::vector<std::string> deletes;
  for (const Control* box : {&f().picprogram, &f().picwin, &f().picrestart, &f().picshut, &f().piclog,
                             &f().picNotifier, &f().picsleep, &f().picscreen, &f().picdos}) {
    std::ostringstream call;
    call << "Shell_NotifyIcon(2, 0x" << std::hex << box->hwnd << ")";
    deletes.push_back(call.str());
  }
  win.ClearLog();
  ChooseFromMenu(f().picrestart, "mnupopmenuexit");
  EXPECT_TRUE(win.trayIcons.empty());
  EXPECT_EQ(win.Calls("Shell_NotifyIcon(2"), deletes) << "the nine boxes, in the exit's own order";
  EXPECT_TRUE(win.Logged("PlaySound(, 0, 2)"));
  EXPECT_TRUE(win.playing.empty());
  EXPECT_EQ(LimitedWindowCount(), 0);
  EXPECT_TRUE(win.windowProcs.count(f().hwnd) == 0 || win.windowProcs.at(f().hwnd) == 0xDEF0);
  EXPECT_FALSE(f().Loaded());
  EXPECT_FALSE(app->frmhot.Loaded());
  EXPECT_FALSE(app->frmAbout.Loaded());
  EXPECT_FALSE(app->frmhrs.Loaded());
  EXPECT_TRUE(win.processEnded);
  EXPECT_FALSE(win.Logged("ExitWindowsEx")) << "exit leaves Windows alone";
  // Unload order: the main window first, then the others.
  const auto destroyed = win.Calls("DestroyFormWindow");
  ASSERT_GE(destroyed.size(), 3u);
  EXPECT_EQ(destroyed[0], "DestroyFormWindow(frmstart)");
}

}  // namespace
}  // namespace tarnby
