// Sleep, hibernate and lock from the command line: the switches, a machine
// that cannot (refused in every copy that may see the command, exit code 1,
// nothing armed), the countdown without a ring, its status line, notice and
// time-left window, and the keep-awake request let go before the machine sleeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <functional>

#include "core/command_line/command_line.h"
#include "core/commands/commands.h"
#include "core/command_line_fixture.h"

namespace tarnby {
namespace {

TEST(CommandLinePower, TheSwitchesTakeATimeOrNone) {
  const struct {
    std::vector<std::string> arguments;
    PowerAction power;
    std::optional<std::int64_t> in;
  } cases[] = {{{"/sleep"}, PowerAction::Sleep, std::nullopt},
               {{"--HIBERNATE", "/in", "2s"}, PowerAction::Hibernate, 2},
               {{"-lock", "/at", "23:00", "/hide"}, PowerAction::Lock, std::nullopt}};
  for (const auto& c : cases) {
    const Command command = ParseCommandLine(c.arguments);
    EXPECT_EQ(command.kind, CommandKind::Start) << c.arguments[0];
    EXPECT_EQ(command.power, c.power) << c.arguments[0];
    EXPECT_EQ(command.preSelect, -1);
    EXPECT_EQ(command.inSeconds, c.in);
  }
}

class PowerTest : public CommandLineTest {
 protected:
  std::string Status() { return app->commandLine->StatusLine(); }
};

TEST_F(PowerTest, AMachineThatCannotRefusesInTheFirstCopyAndInTheSenderWithExitCodeOne) {
  const struct {
    std::vector<std::string> arguments;
    bool anotherRuns, companion;  // started by tarnby.com: the message goes to its console
    const char* message;
  } cases[] = {{{"/sleep"}, false, false, "This computer cannot sleep."},
               {{"/sleep", "/in", "5m", "/hide"}, false, false, "This computer cannot sleep."},
               {{"/hibernate", "/at", "23:00"}, false, false, "This computer cannot hibernate."},
               {{"/sleep", "/in", "5"}, true, false, "This computer cannot sleep."},
               {{"/hibernate"}, true, true, "This computer cannot hibernate."}};
  for (const auto& c : cases) {
    FakeWindows machine;
    machine.canSleep = machine.canHibernate = false;
    machine.consoleCompanion = c.companion;
    if (c.anotherRuns) {
      machine.anotherInstance = true;
      machine.runningCopy = [](std::uintptr_t, const std::string&) { return kExitDone; };
    }
    App copy(machine);
    EXPECT_FALSE(copy.Start(c.arguments));
    EXPECT_EQ(machine.exitCode, kExitRefused) << c.arguments[0];
    if (c.companion) {
      EXPECT_TRUE(machine.messageBoxes.empty());
      EXPECT_EQ(machine.consoleErrors, std::vector<std::string>{c.message});
    } else {
      ASSERT_EQ(machine.messageBoxes.size(), 1u);
      EXPECT_EQ(machine.messageBoxes[0].text, c.message);
      EXPECT_EQ(machine.messageBoxes[0].title, "Tarnby");
      EXPECT_EQ(machine.messageBoxes[0].style, w::kMbOk);
    }
    EXPECT_FALSE(machine.Logged("SendCopyData")) << "nothing handed over";
    EXPECT_TRUE(machine.LoadedForms().empty()) << "nothing loaded";
    EXPECT_FALSE(machine.Logged("SetSuspendState"));
  }
}

TEST_F(PowerTest, SleepTakesTheMachinesRoadAndTarnbySaysWhatWindowsRefused) {
  const struct {
    const char* command;
    bool s3, aoAc, refused, screenOffFails;
    const char* call;  // what put the machine to sleep ("off": SC_MONITORPOWER to the main window)
    const char* said;  // the message, or ""
  } cases[] = {{"/sleep", true, false, false, false, "SetSuspendState(0, 0, 0)", ""},
               {"/sleep", false, true, false, false, "CallNtPowerInformation(73)", ""},
               {"/sleep", false, true, false, true, "off", ""},
               {"/sleep", true, false, true, false, "SetSuspendState(0, 0, 0)",
                "Windows did not let Tarnby put the computer to sleep."},
               {"/hibernate", true, true, true, false, "SetSuspendState(1, 0, 0)",
                "Windows did not let Tarnby hibernate the computer."},
               {"/sleep", false, false, false, false, "CallNtPowerInformation(66)", "This computer cannot sleep."}};
  for (const auto& c : cases) {
    FakeWindows machine;
    std::tie(machine.canSleep, machine.aoAc, machine.suspendRefused) = std::tie(c.s3, c.aoAc, c.refused);
    machine.screenOffStatus = c.screenOffFails ? 1 : 0;
    App copy(machine);
    copy.Start({c.command});
    const std::string off = "SendMessage(" + Hex(copy.frmstart.hwnd) + ", 0x112, 0xf170, 2)";
    EXPECT_TRUE(machine.Logged(c.call == std::string("off") ? off : c.call)) << c.command << c.s3 << c.aoAc;
    EXPECT_EQ(machine.Logged("SetSuspendState"), std::string(c.call).starts_with("SetSuspendState"));
    EXPECT_EQ(machine.messageBoxes.empty() ? "" : machine.messageBoxes[0].text, c.said);
    EXPECT_EQ(machine.processEnded, std::string(c.said).starts_with("This computer cannot")) << "only a refusal ends";
    RestoreWindowProcs();  // the hook list is program-wide and outlives this machine
  }
}

TEST_F(PowerTest, TheRunningCopyRefusesAHandedOverCommandAndItsSenderShowsWhyAndEndsWithOne) {
  win.canSleep = false;
  ASSERT_TRUE(StartWith({}));
  const FakeWindows::Answer refused = HandOver({"/sleep", "/in", "10"});
  EXPECT_EQ(refused.code, kExitRefused);
  EXPECT_EQ(refused.text, "This computer cannot sleep.");
  EXPECT_TRUE(win.messageBoxes.empty()) << "a box here for a command of another copy";
  EXPECT_FALSE(countdown().Running());
  EXPECT_EQ(HandOver({"/lock", "/in", "10"}).code, kExitDone) << "a lock is always possible";
  EXPECT_TRUE(countdown().Running());

  FakeWindows sender;  // a machine that says it can, but the running copy said no
  sender.anotherInstance = true;
  sender.runningCopy = [](std::uintptr_t, const std::string&) { return kExitRefused; };
  sender.runningCopyReply = refused.text;
  App copy(sender);
  EXPECT_FALSE(copy.Start({"/sleep"}));
  EXPECT_EQ(sender.exitCode, kExitRefused);
  ASSERT_EQ(sender.messageBoxes.size(), 1u);
  EXPECT_EQ(sender.messageBoxes[0].text, refused.text);
}

TEST_F(PowerTest, AHibernateCountdownShowsNoRingNamesItselfAndLetsTheMachineSleepAtZero) {
  ASSERT_TRUE(StartWith({}));
  f().cmdshut.Click();
  f().chkshut.Click();
  app->commandLine->Act(ParseCommandLine({"/hibernate", "/in", "90"}));
  ASSERT_TRUE(countdown().Running());
  EXPECT_TRUE(f().Visible());
  EXPECT_FALSE(f().shashut.Visible()) << "no ring claims to be what runs";
  EXPECT_FALSE(f().chkshut.Value());
  EXPECT_EQ(f().Text2.Text(), "1");
  EXPECT_EQ(f().Text1.Text(), "30");
  EXPECT_EQ(Status(), "hibernate in 0:01:30");
  win.Advance(30000);
  ASSERT_EQ(win.balloons.size(), 1u);
  EXPECT_EQ(win.balloons[0].text, "Tarnby will hibernate the computer in 60 seconds.");
  f().mnutime.Click();
  EXPECT_EQ(app->frmtime().Label1.Caption(), "Hibernate in 1 : 01");

  win.ClearLog();
  win.Advance(60000);
  const std::vector<std::string> calls = win.Calls("Set");
  const auto released = std::find(calls.begin(), calls.end(), "SetThreadExecutionState(0x80000000)");
  const auto slept = std::find(calls.begin(), calls.end(), "SetSuspendState(1, 0, 0)");
  ASSERT_NE(slept, calls.end());
  EXPECT_LT(released, slept) << "the keep-awake request goes first";
  EXPECT_EQ(win.Count("SetSuspendState"), 1);
  EXPECT_TRUE(win.Logged("EnableShutdownPrivilege"));
  EXPECT_FALSE(win.processEnded) << "Tarnby keeps running";
  ExpectIdle();
  EXPECT_EQ(Status(), "no countdown");
  EXPECT_TRUE(f().shashut.Visible()) << "the user's choice shows again";
  Type(f().Text1, "5");
  f().cmdstart.Click();
  win.Advance(5000);
  EXPECT_TRUE(win.Logged("ExitWindowsEx(5, 0)")) << "after zero the frame's choice runs again, forced as ticked";
}

TEST_F(PowerTest, TheUsersPreSelectionShowsAgainAsItWasWhenAPowerCountdownEndsIsCancelledOrReplaced) {
  ASSERT_TRUE(StartWith({}));
  const auto act = [this](const std::vector<std::string>& arguments) {
    app->commandLine->Act(ParseCommandLine(arguments));
  };
  const struct {
    const char* how;
    std::function<void()> end;
  } cases[] = {{"ends", [this] { win.Advance(5000); }},
               {"is cancelled", [&] { act({"/cancel"}); }},
               {"is replaced by a power countdown that ends",
                [&] {
                  act({"/sleep", "/in", "5"});
                  EXPECT_FALSE(f().shalog.Visible()) << "still no ring";
                  win.Advance(5000);
                }},
               {"is replaced by the user's click", [this] { f().cmdlog.Click(); }}};
  f().cmdlog.Click();
  f().chklog.Click();
  for (const auto& c : cases) {
    act({"/lock", "/in", "5"});
    ASSERT_TRUE(countdown().Running()) << c.how;
    for (const Control* box : {&f().chkrestart, &f().chklog, &f().chkshut})
      EXPECT_TRUE(!box->Value() && !box->Enabled()) << c.how << ": no force box claims to run either";
    EXPECT_FALSE(f().shalog.Visible()) << c.how;
    c.end();
    EXPECT_TRUE(f().shalog.Visible()) << c.how;
    EXPECT_FALSE(f().sharestart.Visible() || f().shashut.Visible() || f().shados.Visible()) << c.how;
    EXPECT_TRUE(f().chklog.Value() && f().chklog.Enabled()) << c.how;
    EXPECT_FALSE(f().chkshut.Enabled() || f().chkrestart.Enabled()) << c.how;
    act({"/cancel"});
  }
  EXPECT_EQ(win.Count("ExitWindowsEx"), 0);
}

TEST_F(PowerTest, SleepAtOnceLetsARunningCountdownGoOnAwakeAndLockAtZeroHasNoNotice) {
  ASSERT_TRUE(StartWith({"/lock", "/in", "30", "/hide"}));
  EXPECT_FALSE(f().Visible());
  EXPECT_EQ(Status(), "lock in 0:00:30");
  win.ClearLog();
  app->commandLine->Act(ParseCommandLine({"/sleep"}));
  EXPECT_EQ(win.Calls("Set"), (std::vector<std::string>{"SetThreadExecutionState(0x80000000)", "SetSuspendState(0, 0, 0)",
                                                        "SetThreadExecutionState(0x80000001)"}));
  EXPECT_TRUE(countdown().Running()) << "a command without a time replaces no countdown";
  f().cmdstop.Click();
  f().cmdstart.Click();
  EXPECT_EQ(Status(), "lock in 0:00:30") << "\"&Start\" resumes the lock";
  win.Advance(30000);
  EXPECT_EQ(win.Count("LockWorkStation"), 1);
  EXPECT_TRUE(win.balloons.empty()) << "a lock ends no session";
  EXPECT_EQ(win.Count("SetSuspendState"), 1);
}

TEST_F(PowerTest, APreSelectionClickedWhileAPowerCountdownRunsIsWhatRunsAtZero) {
  ASSERT_TRUE(StartWith({"/sleep", "/in", "5"}));
  f().cmdsleep.Click();  // "Suspend", which is not sleep
  EXPECT_EQ(Status(), "suspend in 0:00:05");
  win.Advance(5000);
  EXPECT_TRUE(ScreenSaverSent());
  EXPECT_FALSE(win.Logged("SetSuspendState"));
}

}  // namespace
}  // namespace tarnby
