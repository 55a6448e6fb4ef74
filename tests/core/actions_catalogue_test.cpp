// The action catalogue: each tray icon's double-click under each check mark,
// the arguments of every operation per trigger, the shutdown privilege, and
// the screen-saver rule on each Windows family.
#include "core/actions_fixture.h"

namespace tarnby {
namespace {

using V = FakeWindows::Version;
using Calls = std::vector<std::string>;

struct TrayCase {
  const char* name;
  V version;
  const char* quickAction;  // the menu item selected first
  const char* box;          // the icon double-clicked
  Calls calls;
  bool ends;
};

class TrayDoubleClickTest : public ActionsTest, public ::testing::WithParamInterface<TrayCase> {};

TEST_P(TrayDoubleClickTest, RunsTheCheckedActionAndEndsWhereTheTrayPathDoes) {
  const TrayCase& c = GetParam();
  win.SetVersion(c.version);
  StoreScreenSaver("C:\\WINDOWS\\SYSTEM\\Mystify.scr");
  Start();
  for (MenuItem* item : f().mnupopmenu.items)
    if (item->name == c.quickAction) item->Click();
  win.ClearLog();

  Control* box = f().Find(c.box);
  ASSERT_NE(box, nullptr);
  DoubleClick(*box);

  EXPECT_EQ(SystemCalls(), c.calls);
  EXPECT_EQ(win.processEnded, c.ends);
}

const Calls kEnd = {"ExitProcess(0)"};
Calls Then(Calls calls, const Calls& more) {
  calls.insert(calls.end(), more.begin(), more.end());
  return calls;
}

INSTANTIATE_TEST_SUITE_P(
    EachIconAndCheckMark, TrayDoubleClickTest,
    ::testing::Values(
        TrayCase{"ShutDown", V::Win98, "mnushut", "picshut", Then({"ExitWindowsEx(1, 1)"}, kEnd), true},
        TrayCase{"ForcedShutDown", V::Win98, "mnushutf", "picshut", Then({"ExitWindowsEx(5, 0)"}, kEnd), true},
        TrayCase{"Restart", V::Win98, "mnurestart", "picrestart", Then({"ExitWindowsEx(2, 2)"}, kEnd), true},
        TrayCase{"ForcedRestart", V::Win98, "mnurestartf", "picrestart", Then({"ExitWindowsEx(6, 0)"}, kEnd), true},
        TrayCase{"LogOff", V::Win98, "mnulog", "piclog", Then({"ExitWindowsEx(0, 0)"}, kEnd), true},
        TrayCase{"ForcedLogOff", V::Win98, "mnulogf", "piclog", Then({"ExitWindowsEx(4, 0)"}, kEnd), true},
        TrayCase{"ShutDownOnXp", V::WinXP, "mnushut", "picshut",
                 Then({"EnableShutdownPrivilege", "ExitWindowsEx(1, 1)"}, kEnd), true},
        TrayCase{"ForcedRestartOnWin10", V::Win10, "mnurestartf", "picrestart",
                 Then({"EnableShutdownPrivilege", "ExitWindowsEx(6, 0)"}, kEnd), true},
        TrayCase{"LogOffOnNt4", V::WinNT4, "mnulog", "piclog",
                 Then({"EnableShutdownPrivilege", "ExitWindowsEx(0, 0)"}, kEnd), true},
        TrayCase{"RestartOnWin95", V::Win95, "mnurestart", "picrestart", Then({"ExitWindowsEx(2, 2)"}, kEnd), true},
        TrayCase{"Suspend", V::Win98, "mnusleep", "picsleep", {kScreenSaveMessage}, false},
        TrayCase{"RestartWindowsOnly", V::Win98, "mnuwin", "picwin",
                 {OpenCall("C:\\Program Files\\Tarnby\\restart.exe")}, false},
        TrayCase{"RestartWindowsOnlyOnXp", V::WinXP, "mnuwin", "picwin",
                 {OpenCall("C:\\Program Files\\Tarnby\\restart.exe")}, false},
        TrayCase{"ExitToDos", V::Win98, "mnudos", "picdos", Then({"Shell(C:\\WINDOWS\\exit to dos.pif, 2)"}, kEnd),
                 true},
        // Nothing checked for the icon: the double-click does nothing at all.
        TrayCase{"ShutDownUnchecked", V::Win98, "mnulog", "picshut", {}, false},
        TrayCase{"LogOffUnchecked", V::Win98, "mnushut", "piclog", {}, false},
        TrayCase{"RestartUnchecked", V::Win98, "mnushutf", "picrestart", {}, false},
        TrayCase{"SuspendUnchecked", V::Win98, "mnuscreen", "picsleep", {}, false},
        TrayCase{"RestartWindowsUnchecked", V::Win98, "mnuscreen", "picwin", {}, false},
        TrayCase{"DosUnchecked", V::Win98, "mnuscreen", "picdos", {}, false},
        TrayCase{"ProgramsUnchecked", V::Win98, "mnuscreen", "picprogram", {}, false},
        // The screen saver: Windows 98 runs its file whatever is checked;
        // Windows 95 and the NT family send the command when it is checked.
        TrayCase{"ScreenSaverWin98", V::Win98, "mnuscreen", "picscreen",
                 {OpenCall("C:\\WINDOWS\\SYSTEM\\Mystify.scr")}, false},
        TrayCase{"ScreenSaverWin98Unchecked", V::Win98, "mnushut", "picscreen",
                 {OpenCall("C:\\WINDOWS\\SYSTEM\\Mystify.scr")}, false},
        TrayCase{"ScreenSaverWinMe", V::WinMe, "mnuscreen", "picscreen",
                 {OpenCall("C:\\WINDOWS\\SYSTEM\\Mystify.scr")}, false},
        TrayCase{"ScreenSaverWin95", V::Win95, "mnuscreen", "picscreen", {kScreenSaveMessage}, false},
        TrayCase{"ScreenSaverWin95Unchecked", V::Win95, "mnushut", "picscreen", {}, false},
        TrayCase{"ScreenSaverXp", V::WinXP, "mnuscreen", "picscreen", {kScreenSaveMessage}, false},
        TrayCase{"ScreenSaverWin10", V::Win10, "mnuscreen", "picscreen", {kScreenSaveMessage}, false},
        TrayCase{"ScreenSaverXpUnchecked", V::WinXP, "mnulog", "picscreen", {}, false}),
    [](const ::testing::TestParamInfo<TrayCase>& info) { return std::string(info.param.name); });

TEST_F(ActionsTest, ExitToDosEndsTheProgramEvenWhenThePifCannotStart) {
  win.unstartable.insert("c:\\windows\\exit to dos.pif");
  Start();
  f().mnudos.Click();
  DoubleClick(f().picdos);
  EXPECT_TRUE(win.Logged("Shell(C:\\WINDOWS\\exit to dos.pif, 2)"));
  EXPECT_TRUE(win.processEnded);
}

TEST_F(ActionsTest, EndingAtOnceLeavesTheTrayIconAndSavesNothing) {
  Start();
  f().mnushut.Click();
  win.ClearLog();
  DoubleClick(f().picshut);
  ASSERT_TRUE(win.processEnded);
  EXPECT_EQ(win.trayIcons.size(), 1u);
  EXPECT_FALSE(win.Logged("Shell_NotifyIcon(2"));
  EXPECT_FALSE(win.Logged("RegSetValueEx"));
  EXPECT_FALSE(win.Logged("DestroyFormWindow"));
}

// ------------------------------------------------------------ Perform

struct PerformCase {
  const char* name;
  V version;
  ActionCode code;
  Caller caller;
  Calls calls;
};

class PerformTest : public ActionsTest, public ::testing::WithParamInterface<PerformCase> {};

TEST_P(PerformTest, SendsTheOperationWithTheTriggersArgumentsAndNeverEndsTheProgram) {
  const PerformCase& c = GetParam();
  win.SetVersion(c.version);
  StoreScreenSaver("C:\\WINDOWS\\SYSTEM\\Flying Windows.scr");
  Start();
  win.ClearLog();
  actions().Perform(c.code, c.caller);
  EXPECT_EQ(SystemCalls(), c.calls);
  EXPECT_FALSE(win.processEnded);
}

INSTANTIATE_TEST_SUITE_P(
    EachCodeAndTrigger, PerformTest,
    ::testing::Values(
        PerformCase{"LogCountdown", V::Win98, ActionCode::log, Caller::Countdown, {"ExitWindowsEx(0, 0xFFFFFFFF)"}},
        PerformCase{"LogHotKey", V::Win98, ActionCode::log, Caller::HotKey, {"ExitWindowsEx(0, 0)"}},
        PerformCase{"LogCountdownXp", V::WinXP, ActionCode::log, Caller::Countdown,
                    {"EnableShutdownPrivilege", "ExitWindowsEx(0, 0xFFFFFFFF)"}},
        PerformCase{"ShutHotKeyWin10", V::Win10, ActionCode::shut, Caller::HotKey,
                    {"EnableShutdownPrivilege", "ExitWindowsEx(1, 1)"}},
        PerformCase{"RestartwCountdown", V::WinXP, ActionCode::restartw, Caller::Countdown,
                    {OpenCall("C:\\Program Files\\Tarnby\\restart.exe")}},
        PerformCase{"SleepHotKey", V::WinXP, ActionCode::sleep, Caller::HotKey, {kScreenSaveMessage}},
        PerformCase{"DosHotKey", V::Win98, ActionCode::dos, Caller::HotKey,
                    {"Shell(C:\\WINDOWS\\exit to dos.pif, 2)"}},
        PerformCase{"ScreenHotKeyWin98", V::Win98, ActionCode::screen, Caller::HotKey,
                    {OpenCall("C:\\WINDOWS\\SYSTEM\\Flying Windows.scr")}},
        PerformCase{"ScreenHotKeyWin95", V::Win95, ActionCode::screen, Caller::HotKey, {kScreenSaveMessage}},
        PerformCase{"ScreenHotKeyXp", V::WinXP, ActionCode::screen, Caller::HotKey, {kScreenSaveMessage}},
        PerformCase{"ScreenCountdownWin10", V::Win10, ActionCode::screen, Caller::Countdown, {kScreenSaveMessage}}),
    [](const ::testing::TestParamInfo<PerformCase>& info) { return std::string(info.param.name); });

TEST_F(ActionsTest, ExitToDosUsesAnEmptyWindowsFolderWhenTheSystemCannotSay) {
  win.windowsDir = "";
  Start();
  actions().Perform(ActionCode::dos, Caller::HotKey);
  EXPECT_TRUE(win.Logged("Shell(\\exit to dos.pif, 2)"));
}

TEST_F(ActionsTest, RestartExeIsLookedUpInTheProgramFolder) {
  win.programFolder = "D:\\Tools\\Tarnby 2";
  win.AddFolder(win.programFolder);
  Start();
  actions().Perform(ActionCode::restartw, Caller::HotKey);
  EXPECT_EQ(SystemCalls(), Calls({OpenCall("D:\\Tools\\Tarnby 2\\restart.exe", "D:\\Tools\\Tarnby 2")}));
}

}  // namespace
}  // namespace tarnby
