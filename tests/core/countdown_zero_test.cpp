// At zero: the pre-selected action found in its fixed order, carried out
// through the action catalogue; the rows that end the program give the
// window procedure back first, the others return to idle, and a timer call
// during the action's own message box or dialog never runs it twice.
#include <algorithm>

#include "core/countdown_fixture.h"
#include "core/system/size_limit.h"

namespace tarnby {
namespace {

class ZeroTest : public CountdownTest {
 protected:
  std::vector<std::string>::const_iterator At(const std::string& prefix) const {
    return std::find_if(win.log.begin(), win.log.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  }
};

struct EndCase {
  const char* name;
  std::vector<const char*> clicks;  // pre-select buttons and force boxes, in order
  const char* operation;            // the call the action makes
};

class EndsAtOnce : public ZeroTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndsAtOnce, GiveTheWindowProcedureBackRunTheActionAndEnd) {
  const EndCase& c = GetParam();
  for (const char* name : c.clicks) f().Find(name)->Click();
  Type(f().Text1, "2");
  f().cmdstart.Click();
  ASSERT_EQ(LimitedWindowCount(), 1);
  win.Advance(1999);
  EXPECT_FALSE(win.processEnded);
  win.Advance(1);
  EXPECT_EQ(LimitedWindowCount(), 0);
  EXPECT_TRUE(win.processEnded);
  EXPECT_LT(At("SetWindowLongPtr(" + Hex(f().hwnd) + ", -4)"), At(c.operation));
  EXPECT_LT(At(c.operation), At("ExitProcess"));
  EXPECT_EQ(win.Count("ExitProcess"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Countdown, EndsAtOnce,
    ::testing::Values(EndCase{"ForcedRestart", {"cmdrestart", "chkrestart"}, "ExitWindowsEx(6, 0)"},
                      EndCase{"Restart", {"cmdrestart"}, "ExitWindowsEx(2, 2)"},
                      EndCase{"RestartWindowsOnly", {"cmdcd"}, "ShellExecute"},
                      EndCase{"ForcedShutDownTickedBeforeItsButton", {"chkshut", "cmdshut"}, "ExitWindowsEx(5, 0)"},
                      EndCase{"ShutDown", {"cmdshut"}, "ExitWindowsEx(1, 1)"},
                      EndCase{"ExitToDos", {"cmddos"}, "Shell(C:\\WINDOWS\\exit to dos.pif, 2)"},
                      EndCase{"ForcedLogOff", {"cmdlog", "chklog"}, "ExitWindowsEx(4, 0)"},
                      EndCase{"LogOff", {"cmdlog"}, "ExitWindowsEx(0, 0xFFFFFFFF)"}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

// An installer that must replace Tarnby's files asks it to go: it goes at
// once, asks nothing, does not act, and leaves every setting as it was.
TEST_F(ZeroTest, AnInstallersRequestEndsTheCountdownUnacted) {
  f().cmdshut.Click();
  Type(f().Text1, "2");
  f().cmdstart.Click();
  win.ClearLog();
  ASSERT_TRUE(f().onCloseApp);
  f().onCloseApp();
  EXPECT_TRUE(win.processEnded);
  EXPECT_TRUE(win.trayIcons.empty());
  win.Advance(3000);
  EXPECT_TRUE(win.messageBoxes.empty());
  EXPECT_FALSE(win.Logged("ExitWindowsEx"));
  EXPECT_FALSE(win.Logged("RegSetValueEx"));
  EXPECT_FALSE(win.Logged("RegDeleteValue"));
}

TEST_F(ZeroTest, RunProgramsStartsTheSlotsAndReturnsToIdle) {
  f().cmdprogram.Click();
  app->frmprogram().Text2.SetText("C:\\Tools\\backup.exe");
  Type(f().Text1, "2");
  f().cmdstart.Click();
  win.Advance(2000);
  EXPECT_TRUE(win.Logged("ShellExecute(" + Hex(f().hwnd) + ", Open, C:\\Tools\\backup.exe, , C:\\Program Files\\Tarnby, 1)"));
  EXPECT_TRUE(win.messageBoxes.empty());
  EXPECT_FALSE(app->frmprogram.Loaded());
  EXPECT_FALSE(win.processEnded);
  ExpectIdle();
  EXPECT_FALSE(f().Visible());
}

TEST_F(ZeroTest, ATimerCallWhileTheNoProgramsMessageIsOpenRunsNothingTwice) {
  StartCountdown(f().cmdprogram, "0", "2");
  win.whileMessageBox = [&](const std::string&) { win.Advance(5000); };
  win.Advance(2000);
  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, "There are no programs selected!");
  EXPECT_EQ(win.messageBoxes[0].title, "Error");
  EXPECT_EQ(win.messageBoxes[0].style, 64u);
  EXPECT_EQ(win.Count("PlaySound(, 0, 0)"), 2);  // zero's own stop and the pause steps', once each
  ExpectIdle();
  EXPECT_EQ(f().Text1.Text(), "");
  EXPECT_EQ(f().Text2.Text(), "");
}

TEST_F(ZeroTest, SuspendIsSentAtTheFifthSecondThenIdleAndHidden) {
  const std::string suspend = "SendMessage(" + Hex(f().hwnd) + ", 0x112, 0xf140, 0)";
  StartCountdown(f().cmdsleep, "0", "5");
  win.Advance(4999);
  EXPECT_FALSE(win.Logged(suspend));
  win.Advance(1);
  EXPECT_EQ(win.Count(suspend), 1);
  EXPECT_FALSE(win.processEnded);
  ExpectIdle();
  EXPECT_FALSE(f().Visible());
  EXPECT_EQ(Shown(), ":");
}

TEST_F(ZeroTest, Windows98RunsTheStoredScreenSaver) {
  win.SetRegString(w::kHkeyCurrentUser, "Software\\Tarnby\\Registry\\Path", "strscreen", "C:\\WINDOWS\\Mystify.scr");
  StartCountdown(f().cmdscreen, "0", "2");
  win.Advance(2000);
  EXPECT_TRUE(win.Logged("ShellExecute(" + Hex(f().hwnd) + ", Open, C:\\WINDOWS\\Mystify.scr, , C:\\Program Files\\Tarnby, 1)"));
  EXPECT_FALSE(ScreenSaverSent());
  ExpectIdle();
  EXPECT_FALSE(f().Visible());
}

TEST_F(ZeroTest, Windows98WithoutAStoredFilePausesFirstThenAsks) {
  StartCountdown(f().cmdscreen, "0", "2");
  bool pausedWhenAsked = false;
  win.whileFileDialog = [&] {
    pausedWhenAsked = !f().Timer1.Enabled() && f().cmdstart.Enabled() && f().Text1.Text().empty();
    win.Advance(5000);
  };
  win.fileDialogAnswers.push_back("C:\\WINDOWS\\Flying.scr");
  win.Advance(2000);
  EXPECT_TRUE(pausedWhenAsked);
  EXPECT_EQ(win.fileDialogs.size(), 1u);
  EXPECT_EQ(win.Count("ShellExecute("), 1);
  EXPECT_EQ(win.GetRegString(w::kHkeyCurrentUser, "Software\\Tarnby\\Registry\\Path", "strscreen"),
            "C:\\WINDOWS\\Flying.scr");
  ExpectIdle();
}

}  // namespace
}  // namespace tarnby
