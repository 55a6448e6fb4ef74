// Triggers on the in-memory Windows: the switches (their bad combinations
// stand with the others in command_line_test.cpp), and each trigger armed,
// fired, re-armed (idle) and cancelled, with a process that may not be
// opened, input that comes back, loud samples, a machine that slept and a
// tick count that wraps.
#include <gtest/gtest.h>

#include "core/command_line/command_line.h"
#include "core/commands/commands.h"
#include "core/command_line_fixture.h"
#include "core/triggers/triggers.h"

namespace tarnby {
namespace {

TEST(TriggerSwitches, ReadIntoTheCommand) {
  Command c = ParseCommandLine({"/shutdown", "/When-Exits", "C:\\Tools\\HandBrake.exe", "/in", "5s"});
  ASSERT_EQ(c.kind, CommandKind::Start) << c.problem;
  EXPECT_EQ(c.when.kind, WhenKind::Exits);
  EXPECT_EQ(c.when.program, "HandBrake.exe");
  EXPECT_FALSE(c.when.pid);
  EXPECT_EQ(ParseCommandLine({"/dos", "/when-exits", "4711"}).when.pid, 4711u);
  c = ParseCommandLine({"/logoff", "--when-quiet", "1h30m", "/net", "10000000", "-cpu", "100"});
  ASSERT_EQ(c.kind, CommandKind::Start) << c.problem;
  EXPECT_EQ(c.when.seconds, 5400);
  EXPECT_EQ(c.when.cpuPercent, 100);
  EXPECT_EQ(c.when.netKbps, 10000000);
  c = ParseCommandLine({"/screensaver", "/when-quiet", "90"});
  EXPECT_EQ(c.when.cpuPercent, 10);
  EXPECT_EQ(c.when.netKbps, 50);
  EXPECT_EQ(ParseCommandLine({"/restart", "/force", "/when-idle", "10:00", "/hide"}).when.seconds, 600);

}

TEST(TriggerTexts, LengthsAsTheStatusLineSaysThem) {
  const std::pair<std::int64_t, const char*> lengths[] = {
      {5, "5 s"}, {60, "60 s"}, {119, "119 s"}, {120, "2 minutes"}, {600, "10 minutes"},
      {3600, "1 hour"}, {7200, "2 hours"}, {5415, "1:30:15"}, {150, "2:30"}};
  for (const auto& [seconds, text] : lengths) EXPECT_EQ(SpokenLength(seconds), text);
  EXPECT_EQ(ClockText(192), "3:12");
  EXPECT_EQ(ClockText(3792), "1:03:12");
}

class TriggersTest : public CommandLineTest {
 protected:
  void Act(const std::vector<std::string>& arguments) { app->commandLine->Act(ParseCommandLine(arguments)); }
  Triggers& triggers() { return *app->triggers; }
  std::string Tip() { return win.trayIcons.begin()->second.szTip.substr(0, win.trayIcons.begin()->second.szTip.find('\0')); }
  bool SaverStarted() {
    for (const std::string& call : win.Calls("SendMessage("))
      if (call.find(", 0x112, 0xf140,") != std::string::npos) return true;
    return false;
  }
  static constexpr char kScreenTip[] = "Double click to start screensaver, right click for menu";
};

TEST_F(TriggersTest, ExitsWaitsForEveryProcessOfTheNameAndWatchesOneItMayNotOpenByItsPresence) {
  win.SetVersion(FakeWindows::Version::Win10);
  win.processes = {{100, "explorer.exe"}, {200, "Notepad.exe"}, {300, "notepad.exe", false}, {400, "notepad.exe"}};
  ASSERT_TRUE(StartWith({"/screensaver", "/when-exits", "NOTEPAD", "/in", "5s", "/hide"}));
  EXPECT_TRUE(triggers().Waiting());
  EXPECT_EQ(win.OpenProcessHandles(), 2);
  EXPECT_EQ(win.RegisteredWaits(), 2);
  EXPECT_EQ(triggers().StatusLine(), "start the screen saver 5 s after Notepad.exe exits");
  EXPECT_EQ(Tip(), "Start the screen saver 5 s after Notepad.exe exits");
  EXPECT_FALSE(f().Visible());
  // Only the process handle says a process ended, whatever message came: any program may post them.
  for (std::uintptr_t cookie = 0; cookie < 8; ++cookie) f().onObjectSignalled(cookie);
  EXPECT_TRUE(triggers().Waiting()) << "a stray message fired the trigger while notepad runs";

  win.EndProcess(200);
  win.EndProcess(400);
  win.ClearLog();
  win.Advance(60000);
  EXPECT_TRUE(triggers().Waiting()) << "process 300 still runs";
  EXPECT_LE(win.Count("ProcessSnapshot"), 30) << "looked for more often than every two seconds";
  EXPECT_FALSE(countdown().Running());

  // Its id given to a new program is not the same process.
  win.EndProcess(300);
  win.processes.push_back({300, "game.exe"});
  win.Advance(2000);
  EXPECT_FALSE(triggers().Waiting());
  ASSERT_TRUE(countdown().Running());
  EXPECT_EQ(countdown().SecondsLeft(), 5);
  EXPECT_FALSE(f().Visible()) << "/hide";
  EXPECT_EQ(Tip(), kScreenTip) << "fired: the quick action's tip again";
  EXPECT_EQ(win.OpenProcessHandles(), 0);
  EXPECT_EQ(win.RegisteredWaits(), 0);
  win.Advance(4900);
  EXPECT_FALSE(SaverStarted());
  win.Advance(200);
  EXPECT_TRUE(SaverStarted());
}

TEST_F(TriggersTest, ExitsWithNothingToWaitForIsRefusedWithExitOneWhereverItCameFrom) {
  win.processes = {{100, "notepad.exe"}};
  EXPECT_FALSE(StartWith({"/shutdown", "/when-exits", "render", "/hide"}));
  EXPECT_EQ(win.exitCode, kExitRefused);
  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, "No program named \"render\" is running, so there is nothing to wait for.");
  EXPECT_TRUE(win.LoadedForms().empty()) << "no Tarnby was loaded for it";

  // The running copy refuses before anything changes, and the reason goes back.
  {
  FakeWindows running;
  running.processes = {{100, "notepad.exe"}, {running.currentProcessId, "tarnby.exe"}};
  App copy(running);
  ASSERT_TRUE(copy.Start());
  for (const char* program : {"tarnby", "101"})
    copy.frmstart.onCopyData(kCommandCopyData, JoinArguments({"/shutdown", "/when-exits", program}), kSender);
  running.Advance(1);
  ASSERT_EQ(running.answers.size(), 2u);
  EXPECT_EQ(running.answers[1].code, kExitRefused);
  EXPECT_EQ(running.answers[1].text, "No process has the id 101, so there is nothing to wait for.");
  EXPECT_TRUE(running.messageBoxes.empty());
  EXPECT_FALSE(copy.triggers->Waiting());
  RestoreWindowProcs();  // the hook list is program-wide
  }

  FakeWindows sender;
  sender.anotherInstance = true;
  sender.runningCopy = [](std::uintptr_t, const std::string&) { return kExitRefused; };
  sender.runningCopyReply = "No program named \"render\" is running, so there is nothing to wait for.";
  App third(sender);
  EXPECT_FALSE(third.Start({"/shutdown", "/when-exits", "render"}));
  EXPECT_EQ(sender.exitCode, kExitRefused);
  ASSERT_EQ(sender.messageBoxes.size(), 1u);
  EXPECT_EQ(sender.messageBoxes[0].text, sender.runningCopyReply);
}

TEST_F(TriggersTest, StatusTravelsAsTextCancelDisarmsAndANewCommandReplacesTheTrigger) {
  win.processes = {{200, "notepad.exe"}};
  ASSERT_TRUE(StartWith({"/shutdown", "/when-exits", "200"}));
  const FakeWindows::Answer status = HandOver({"/status"});
  EXPECT_EQ(status.code, kExitDone);
  EXPECT_EQ(status.text, "shut down 60 s after notepad.exe (process 200) exits");

  Act({"/cancel"});
  EXPECT_FALSE(triggers().Waiting());
  EXPECT_EQ(win.OpenProcessHandles(), 0);
  EXPECT_EQ(Tip(), kScreenTip);
  win.EndProcess(200);
  win.Advance(3000);
  EXPECT_FALSE(countdown().Running()) << "a cancelled trigger fired";

  win.processes = {{201, "notepad.exe"}};
  Act({"/shutdown", "/when-exits", "notepad.exe"});
  Act({"/restart", "/in", "30"});
  EXPECT_FALSE(triggers().Waiting());
  EXPECT_EQ(win.RegisteredWaits(), 0);
  EXPECT_TRUE(f().sharestart.Visible());
  EXPECT_EQ(countdown().SecondsLeft(), 30);
  Act({"/logoff", "/when-idle", "1h"});
  EXPECT_FALSE(countdown().Running()) << "a trigger replaces a running countdown too";
  Act({"/hibernate", "/when-idle", "2h"});
  EXPECT_TRUE(triggers().StatusLine().starts_with("hibernate after 2 hours idle (idle now ")) << triggers().StatusLine();

  // The sender prints the text that came back, exit code 0.
  FakeWindows sender;
  sender.anotherInstance = true;
  sender.runningCopy = [](std::uintptr_t, const std::string&) { return kExitDone; };
  sender.runningCopyReply = "log off after 1 hour idle (idle now 0:05)";
  App copy(sender);
  EXPECT_FALSE(copy.Start({"/status"}));
  EXPECT_EQ(sender.console, std::vector<std::string>{sender.runningCopyReply});
  EXPECT_EQ(sender.exitCode, kExitDone);
}

// tarnby.exe (5000) asks, started by tarnby.com (5001): both end as soon as
// they have the answer.
TEST_F(TriggersTest, WhenExitsOfTarnbyLeavesOutTheAskingCopyAndItsConsoleCompanion) {
  win.processes = {{win.currentProcessId, "tarnby.exe"}, {5000, "tarnby.exe", true, 5001}, {5001, "tarnby.com"}};
  win.windowProcesses[kSender] = 5000;
  ASSERT_TRUE(StartWith({}));
  for (const char* program : {"tarnby.exe", "tarnby", "TARNBY.EXE", "tarnby.com", "5001"})
    EXPECT_EQ(HandOver({"/shutdown", "/when-exits", program}).code, kExitRefused) << program;
  FakeWindows first;  // no copy runs: the one that asks is the first
  first.currentProcessId = 5000;
  first.processes = win.processes;
  App copy(first);
  EXPECT_FALSE(copy.Start({"/shutdown", "/when-exits", "tarnby.com"}));
  EXPECT_EQ(first.exitCode, kExitRefused);
}

// One rule: a waiting trigger runs what the window shows when it fires.
TEST_F(TriggersTest, AWaitingTriggerRunsWhatTheWindowShowsAndTheTipAndStatusNameIt) {
  win.processes = {{200, "notepad.exe"}};
  ASSERT_TRUE(StartWith({"/hibernate", "/when-exits", "notepad", "/in", "5", "/hide"}));
  EXPECT_EQ(Tip(), "Hibernate 5 s after notepad.exe exits");
  HandOver({"/logoff"});
  f().chklog.Click();
  EXPECT_EQ(triggers().StatusLine(), "forced log off 5 s after notepad.exe exits");
  EXPECT_EQ(Tip(), "Forced log off 5 s after notepad.exe exits");
  win.EndProcess(200);
  win.Advance(5000);
  EXPECT_TRUE(win.Logged("ExitWindowsEx(4, 0)"));
  EXPECT_FALSE(win.Logged("SetSuspendState"));
}

TEST_F(TriggersTest, IdleFiresWhenTheIdleTimeIsReachedAndStartsOverWhenTheUserComesBack) {
  win.SetVersion(FakeWindows::Version::Win10);
  // The tick count wraps a minute from now.
  win.tickCountOffset = 0xFFFFFFFFu - 60000;
  win.UserInput();
  ASSERT_TRUE(StartWith({"/screensaver", "/when-idle", "10m", "/in", "2s"}));
  win.Advance(4 * 60000);
  EXPECT_EQ(triggers().StatusLine(), "start the screen saver after 10 minutes idle (idle now 4:00)");
  win.UserInput();
  win.ClearLog();
  win.Advance(10 * 60000 - 1);
  EXPECT_TRUE(triggers().Waiting()) << "input at 4:00 moved the moment to 14:00";
  EXPECT_LE(win.Count("GetLastInputInfo"), 2) << "looked at the idle time more often than needed";
  win.Advance(1);
  EXPECT_FALSE(triggers().Waiting());
  ASSERT_TRUE(countdown().Running()) << "not fired the moment the idle time reached 10 minutes";

  // Back during the countdown: it stops, and the wait starts over.
  win.Advance(500);
  win.UserInput();
  win.Advance(1000);
  EXPECT_FALSE(countdown().Running());
  EXPECT_TRUE(triggers().Waiting());
  EXPECT_EQ(Tip(), "Start the screen saver after 10 minutes idle");
  EXPECT_FALSE(SaverStarted());

  win.Advance(10 * 60000);
  ASSERT_TRUE(countdown().Running());
  win.Advance(2100);
  EXPECT_TRUE(SaverStarted());
  win.UserInput();  // leaving the screen saver
  win.Advance(5000);
  EXPECT_FALSE(triggers().Waiting()) << "the trigger is done once its countdown reached zero";
  EXPECT_FALSE(countdown().Running());
}

TEST_F(TriggersTest, IdleAlreadyReachedFiresAtOnceAndInputReadBeforeTheClockNeverFires) {
  win.now = 3600000;
  win.lastInput = 0;
  ASSERT_TRUE(StartWith({"/screensaver", "/when-idle", "30m", "/hide"}));
  EXPECT_TRUE(countdown().Running());
  Act({"/cancel"});
  // Input stamped after the clock's reading (it came between the two reads)
  // is no idle time of 49 days.
  win.lastInput = win.GetTickCount() + 5;
  Act({"/screensaver", "/when-idle", "30m", "/hide"});
  EXPECT_TRUE(triggers().Waiting());
}

TEST_F(TriggersTest, IdleTimeCountsFromTheWakeNotAcrossTheSleep) {
  for (const bool told : {true, false}) {  // untold: the timer comes before the broadcast
    FakeWindows machine;
    machine.UserInput();
    App tarnby(machine);
    ASSERT_TRUE(tarnby.Start({"/screensaver", "/when-idle", "10m", "/hide"}));
    machine.Advance(4 * 60000);
    machine.SleepMachine(3600000, told);
    machine.Advance(1);
    EXPECT_TRUE(tarnby.triggers->Waiting()) << told << ": an hour asleep counted as idle";
    EXPECT_EQ(tarnby.triggers->StatusLine(), "start the screen saver after 10 minutes idle (idle now 0:00)") << told;
    machine.Advance(10 * 60000 - 2);
    EXPECT_TRUE(tarnby.triggers->Waiting()) << told;
    machine.Advance(1);
    EXPECT_FALSE(tarnby.triggers->Waiting()) << told << ": not fired ten minutes after the wake";
    RestoreWindowProcs();  // the hook list is program-wide and outlives this machine
  }
}

TEST_F(TriggersTest, QuietFiresAfterTheDurationOfQuietSamplesAndALoudOneOrASleepStartsItAgain) {
  ASSERT_TRUE(StartWith({"/screensaver", "/when-quiet", "1m", "/cpu", "20", "/net", "100", "/hide"}));
  win.Busy(30);
  win.Advance(5 * 60000);
  EXPECT_TRUE(triggers().Waiting()) << "30 % busy is not quiet below 20 %";
  win.Busy(10);
  win.Traffic(150 * 1000);
  win.Advance(5 * 60000);
  EXPECT_TRUE(triggers().Waiting()) << "150 kB/s is not quiet below 100";
  win.Traffic(50 * 1000);
  win.Advance(30000);
  EXPECT_EQ(triggers().StatusLine(), "start the screen saver when quiet for 60 s (quiet now 0:30)");
  win.Busy(90);
  win.Advance(5000);  // one loud sample
  win.Busy(10);
  win.Advance(55000);
  EXPECT_TRUE(triggers().Waiting()) << "the loud sample did not start the minute again";
  win.SleepMachine(3600000);
  win.Advance(59000);
  EXPECT_TRUE(triggers().Waiting()) << "an hour asleep counted as quiet";
  win.Advance(1000);
  EXPECT_FALSE(triggers().Waiting()) << "not fired a minute after waking";
  EXPECT_TRUE(countdown().Running());
  EXPECT_EQ(countdown().SecondsLeft(), 60) << "60 seconds when no /in is given";
}

TEST_F(TriggersTest, QuietNeverFiresOnProcessorTimesItCannotRead) {
  win.systemTimesKnown = false;
  win.octetsKnown = false;
  ASSERT_TRUE(StartWith({"/screensaver", "/when-quiet", "10s", "/hide"}));
  win.Advance(60000);
  EXPECT_TRUE(triggers().Waiting());
  win.systemTimesKnown = true;
  win.Advance(20000);
  EXPECT_FALSE(triggers().Waiting()) << "a machine without network counters is quiet on its processors alone";
  Act({"/cancel"});
  win.Busy(100);
  Act({"/screensaver", "/when-quiet", "10s", "/cpu", "100", "/hide"});
  win.Advance(10000);
  EXPECT_FALSE(triggers().Waiting()) << "/cpu 100 leaves the processors out";
}

}  // namespace
}  // namespace tarnby
