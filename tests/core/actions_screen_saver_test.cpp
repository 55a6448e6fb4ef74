// The screen-saver file: choosing it from the menu, and the Windows 98 steps
// that run it or ask for it.
#include "core/actions_fixture.h"

namespace tarnby {
namespace {

using V = FakeWindows::Version;

TEST_F(ActionsTest, ChangeScreensaverAsksWithTheScrFilterInTheSystemFolder) {
  StoreScreenSaver("C:\\WINDOWS\\SYSTEM\\old.scr");
  win.fileDialogAnswers.push_back("C:\\WINDOWS\\SYSTEM\\Curves and Colors.scr");
  Start();
  ASSERT_TRUE(f().mnuscreenchange.enabled);
  win.ClearLog();

  ChooseFromMenu(f().picscreen, "mnuscreenchange");

  ASSERT_EQ(win.fileDialogs.size(), 1u);
  const OpenFileName& request = win.fileDialogs[0];
  static const char kFilter[] = "Screensaver Files (*.scr)\0*scr\0";
  EXPECT_EQ(request.lpstrFilter, std::string(kFilter, sizeof kFilter));
  EXPECT_EQ(request.lpstrTitle, "Select screensaver file to run");
  EXPECT_EQ(request.lpstrInitialDir, "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(request.hwndOwner, f().hwnd);
  EXPECT_EQ(request.lpstrFile, std::string(254, ' '));
  EXPECT_EQ(request.nMaxFile, 255u);
  EXPECT_EQ(request.nMaxFileTitle, 255u);
  EXPECT_EQ(request.Flags, 0u);

  EXPECT_EQ(StoredScreenSaver(), "C:\\WINDOWS\\SYSTEM\\Curves and Colors.scr");
  EXPECT_FALSE(win.Logged("ShellExecute"));  // chosen, not run
  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, "Screensaver changed!");
  EXPECT_EQ(win.messageBoxes[0].title, "Done!");
  EXPECT_EQ(win.messageBoxes[0].style, 64u);

  // The next screen-saver action runs the new file.
  win.ClearLog();
  DoubleClick(f().picscreen);
  EXPECT_EQ(SystemCalls(), std::vector<std::string>{OpenCall("C:\\WINDOWS\\SYSTEM\\Curves and Colors.scr")});
}

TEST_F(ActionsTest, ChangeScreensaverCancelledKeepsTheOldFileAndSaysNothing) {
  StoreScreenSaver("C:\\WINDOWS\\SYSTEM\\old.scr");
  Start();
  f().mnuscreenchange.Click();
  EXPECT_EQ(win.fileDialogs.size(), 1u);
  EXPECT_EQ(StoredScreenSaver(), "C:\\WINDOWS\\SYSTEM\\old.scr");
  EXPECT_TRUE(win.messageBoxes.empty());
}

TEST_F(ActionsTest, ChangeScreensaverStoresExactlyTheTrimmedPath) {
  win.fileDialogAnswers.push_back(" C:\\My Savers\\Deep Space scr ");
  Start();
  f().mnuscreenchange.Click();
  const auto stored = win.GetRegValue(w::kHkeyCurrentUser, kPathKey, "strscreen");
  ASSERT_TRUE(stored);
  const std::string expected = "C:\\My Savers\\Deep Space scr";
  std::vector<std::uint8_t> bytes(expected.begin(), expected.end());
  bytes.push_back(0);
  EXPECT_EQ(stored->data, bytes);
  EXPECT_EQ(win.StoredName(w::kHkeyCurrentUser, kPathKey, "strscreen"), "strscreen");
}

TEST_F(ActionsTest, ChangeScreensaverDoesNothingOutsideWindows98) {
  for (V version : {V::Win95, V::WinNT4, V::WinXP, V::Win10}) {
    FakeWindows fresh;
    fresh.SetVersion(version);
    fresh.fileDialogAnswers.push_back("C:\\x.scr");
    App other(fresh);
    ASSERT_TRUE(other.Start());
    EXPECT_FALSE(other.frmstart.mnuscreenchange.enabled);
    other.frmstart.mnuscreenchange.Click();  // reached anyway
    EXPECT_TRUE(fresh.fileDialogs.empty());
    EXPECT_FALSE(fresh.GetRegString(w::kHkeyCurrentUser, kPathKey, "strscreen"));
    RestoreWindowProcs();
  }
}

TEST_F(ActionsTest, Windows98AsksForAFileRunsItAndRemembersIt) {
  win.fileDialogAnswers.push_back("C:\\WINDOWS\\SYSTEM\\Mystify.scr");
  Start();
  win.ClearLog();

  DoubleClick(f().picscreen);
  EXPECT_EQ(SystemCalls(), (std::vector<std::string>{"GetOpenFileName(Select screensaver file to run, C:\\WINDOWS\\SYSTEM)",
                                                     OpenCall("C:\\WINDOWS\\SYSTEM\\Mystify.scr")}));
  EXPECT_EQ(StoredScreenSaver(), "C:\\WINDOWS\\SYSTEM\\Mystify.scr");
  EXPECT_TRUE(win.messageBoxes.empty());

  win.ClearLog();
  DoubleClick(f().picscreen);
  EXPECT_EQ(SystemCalls(), std::vector<std::string>{OpenCall("C:\\WINDOWS\\SYSTEM\\Mystify.scr")});
}

TEST_F(ActionsTest, Windows98StoredScreenSaverTooLongForTheShellFailsQuietly) {
  Start();
  for (const std::size_t length : {260u, 1023u, 65000u}) {
    StoreScreenSaver("C:\\" + std::string(length - 3, 's'));
    win.ClearLog();
    DoubleClick(f().picscreen);
    EXPECT_EQ(SystemCalls(), std::vector<std::string>{}) << length;
    EXPECT_TRUE(win.messageBoxes.empty());
    EXPECT_FALSE(win.processEnded);
  }
}

TEST_F(ActionsTest, Windows98CancelStoresNothingSoTheNextTimeAsksAgain) {
  Start();
  DoubleClick(f().picscreen);
  actions().Perform(ActionCode::screen, Caller::HotKey);
  EXPECT_EQ(win.fileDialogs.size(), 2u);
  EXPECT_FALSE(win.Logged("ShellExecute"));
  EXPECT_FALSE(StoredScreenSaver());
}

TEST_F(ActionsTest, AHeldHotKeyNeverOpensASecondScreenSaverDialog) {
  win.fileDialogAnswers.push_back("C:\\WINDOWS\\SYSTEM\\Mystify.scr");
  Start();
  win.whileFileDialog = [&] {
    win.whileFileDialog = nullptr;  // the ticks come while the first dialog is up
    actions().Perform(ActionCode::screen, Caller::HotKey);
    f().mnuscreenchange.Click();
  };
  actions().Perform(ActionCode::screen, Caller::HotKey);
  EXPECT_EQ(win.fileDialogs.size(), 1u);
  EXPECT_EQ(win.Count("ShellExecute"), 1);
  EXPECT_EQ(StoredScreenSaver(), "C:\\WINDOWS\\SYSTEM\\Mystify.scr");
  // Once it is closed, the next request may ask again.
  EXPECT_FALSE(actions().ChooseScreenSaverFile());
  EXPECT_EQ(win.fileDialogs.size(), 2u);
}

TEST_F(ActionsTest, TheScreenSaverDialogStartsWithoutAFolderWhenTheSystemCannotSay) {
  win.systemDir = "";
  Start();
  actions().ChooseScreenSaverFile();
  ASSERT_EQ(win.fileDialogs.size(), 1u);
  EXPECT_EQ(win.fileDialogs[0].lpstrInitialDir, "");
}

}  // namespace
}  // namespace tarnby
