#include <algorithm>

#include "core/app_fixture.h"
#include "core/system/folders.h"
#include "core/system/os_info.h"

namespace tarnby {
namespace {

using V = FakeWindows::Version;

TEST_F(AppTest, ASecondCopyIsRefusedAndEndsAtOnce) {
  win.anotherInstance = true;
  app = std::make_unique<App>(win);
  EXPECT_FALSE(app->Start());
  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, "This program is already running!");
  EXPECT_EQ(win.messageBoxes[0].title, "Tarnby");
  EXPECT_EQ(win.messageBoxes[0].style, 48u);
  EXPECT_TRUE(win.processEnded);
  EXPECT_FALSE(f().Loaded());
  EXPECT_TRUE(win.trayIcons.empty());
}

TEST_F(AppTest, LoadRunsItsStepsInOrderAndStaysHidden) {
  Start();
  EXPECT_TRUE(f().Loaded());
  EXPECT_FALSE(f().Visible());
  // Version probe, hook, topmost, tray, user name, then the saved settings.
  const auto at = [&](const std::string& call) {
    return std::find_if(win.log.begin(), win.log.end(), [&](const std::string& l) { return l.rfind(call, 0) == 0; }) -
           win.log.begin();
  };
  const auto n = static_cast<long>(win.log.size());
  const long version = at("GetVersionEx"), hook = at("SetWindowLongPtr"), run = at("RegOpenKey(0x80000002"),
             topmost = at("SetWindowPos"), tray = at("Shell_NotifyIcon(0"), user = at("GetUserName"),
             settings = at("RegOpenKey(0x80000001, Software\\Tarnby");
  for (long step : {version, hook, run, topmost, tray, user, settings}) ASSERT_LT(step, n);
  EXPECT_LT(version, hook);
  EXPECT_LT(hook, run);
  EXPECT_LT(run, topmost);
  EXPECT_LT(topmost, tray);
  EXPECT_LT(tray, user);
  EXPECT_LT(user, settings);
  const std::string topmostCall = win.Calls("SetWindowPos")[0];
  EXPECT_NE(topmostCall.find(", -1, 0, 0, 0, 0, 3)"), std::string::npos) << topmostCall;
  EXPECT_FALSE(f().Image2.Visible());
  EXPECT_TRUE(f().Image1.Visible());
}

TEST_F(AppTest, TheWindowSitsInTheBottomRightCorner) {
  Start();
  const Twips p = f().Position();
  EXPECT_EQ(p.left + p.width, win.screen.widthTwips);
  EXPECT_EQ(p.top + p.height, win.screen.heightTwips);
}

TEST_F(AppTest, OnAScreenLowerThanTheWindowTheTopIsNegative) {
  win.screen.heightTwips = 400 * 15;
  Start();
  EXPECT_LT(f().Position().top, 0);
  EXPECT_EQ(f().Position().top + f().Position().height, 400 * 15);
}

TEST_F(AppTest, UserNameLabel) {
  win.userName = "Zoë Ångström";
  Start();
  EXPECT_EQ(f().Label1.Caption(), "Current user logged on: Zoë Ångström");
}

TEST_F(AppTest, AFailedUserNameLeavesTheLabelWithNothingAfterIt) {
  win.userName.reset();
  Start();
  EXPECT_EQ(f().Label1.Caption(), "Current user logged on: ");
}

TEST_F(AppTest, UserNameOfExactly199CharactersFitsTheBuffer) {
  win.userName = std::string(198, 'u');
  Start();
  EXPECT_EQ(f().Label1.Caption(), "Current user logged on: " + std::string(198, 'u'));
}

TEST(Startup, VersionDecidesSuspendAndTheScreenSaverChoice) {
  struct Case {
    V version;
    bool sleepEnabled, screenChangeEnabled;
  } cases[] = {{V::Win95, false, false}, {V::Win98, true, true}, {V::WinMe, true, true},
               {V::WinNT4, true, false}, {V::WinXP, true, false}, {V::Win10, true, false}};
  for (const Case& c : cases) {
    FakeWindows fresh;
    fresh.SetVersion(c.version);
    App local(fresh);
    ASSERT_TRUE(local.Start());
    EXPECT_EQ(local.frmstart.cmdsleep.Enabled(), c.sleepEnabled) << static_cast<int>(c.version);
    EXPECT_EQ(local.frmstart.mnusleep.enabled, c.sleepEnabled) << static_cast<int>(c.version);
    EXPECT_EQ(local.frmstart.mnuscreenchange.enabled, c.screenChangeEnabled) << static_cast<int>(c.version);
    RestoreWindowProcs();
  }
}

TEST(COpSysInfo, SplitsThe9xFamilyAtMinorVersion10) {
  struct Case {
    std::uint32_t platform, minor;
    bool win95, win98;
  } cases[] = {{1, 0, true, false}, {1, 9, true, false},  {1, 10, false, true}, {1, 90, false, true},
               {2, 0, false, false}, {2, 10, false, false}, {0, 0, false, false}, {3, 10, false, false}};
  for (const Case& c : cases) {
    FakeWindows win;
    win.version.dwPlatformId = c.platform;
    win.version.dwMinorVersion = c.minor;
    const COpSysInfo os(win);
    EXPECT_EQ(os.IsWin95(), c.win95) << c.platform << "." << c.minor;
    EXPECT_EQ(os.IsWin98(), c.win98) << c.platform << "." << c.minor;
  }
}

TEST(Folders, AreEmptyWhenTheSystemCannotSay) {
  FakeWindows win;
  EXPECT_EQ(GetWindowsDir(win), "C:\\WINDOWS");
  EXPECT_EQ(GetSystemPath(win), "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(GetTmpPath(win), "C:\\WINDOWS\\TEMP\\");
  win.windowsDir.clear();
  win.systemDir.clear();
  win.tempPath.reset();
  EXPECT_EQ(GetWindowsDir(win), "");
  EXPECT_EQ(GetSystemPath(win), "");
  EXPECT_EQ(GetTmpPath(win), "");
  // A folder longer than the buffer is not half-read.
  win.windowsDir = "C:\\" + std::string(300, 'w');
  win.tempPath = "C:\\" + std::string(300, 't') + "\\";
  EXPECT_EQ(GetWindowsDir(win), "");
  EXPECT_EQ(GetTmpPath(win), "");
}

TEST_F(AppTest, HideHidesTheMainWindowAndTheHoursWindow) {
  Start();
  f().Show();
  app->frmhrs().Show();
  f().Command3.Click();
  EXPECT_FALSE(f().Visible());
  EXPECT_FALSE(app->frmhrs().Visible());
}

TEST_F(AppTest, OnlyALeftButtonDragMovesTheWindow) {
  Start();
  win.ClearLog();
  for (int button : {2, 3, 4, 0}) f().MouseMove(button, 0, 100, 100);
  EXPECT_FALSE(win.Logged("ReleaseCapture"));
  f().MouseMove(kLeftButton, 0, 100, 100);
  EXPECT_TRUE(win.Logged("ReleaseCapture"));
  EXPECT_EQ(win.Count("SendMessage("), 1);
  EXPECT_NE(win.Calls("SendMessage(")[0].find(", 0xa1, 0x2, 0)"), std::string::npos);
}

TEST_F(AppTest, ClosingTheMainWindowOnlyHidesIt) {
  Start();
  f().Show();
  f().RequestClose();
  EXPECT_TRUE(f().Loaded());
  EXPECT_FALSE(f().Visible());
}

}  // namespace
}  // namespace tarnby
