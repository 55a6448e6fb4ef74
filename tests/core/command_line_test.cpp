// The command line: every TIME and CLOCK form, every bad command line with
// its problem and exit code, /at across midnight, a command's road through
// the pre-selection and the start checks, and the notice before the session
// ends. The hand-over to a running copy is proved on the real program
// (tests/e2e).
#include <gtest/gtest.h>

#include <algorithm>

#include "core/actions/catalogue.h"
#include "core/command_line/command_line.h"
#include "core/commands/commands.h"
#include "core/command_line_fixture.h"
#include "core/triggers/triggers.h"

namespace tarnby {
namespace {

TEST(CommandLineTime, EveryFormInSeconds) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"90", 90},        {"90s", 90},         {"45m", 2700},     {"2h", 7200},         {"1h30m", 5400},
      {"1h30m15s", 5415}, {"2H15S", 7215},     {"1:30:00", 5400}, {"05:30", 330},      {"0", 0},
      {"336h", kMaxCommandSeconds}, {"1209601", kMaxCommandSeconds + 1}, {"99999999999999999999h", kMaxCommandSeconds + 1}};
  for (const auto& [text, seconds] : cases) EXPECT_EQ(ParseTime(text), seconds) << text;
  for (const char* bad : {"", "5x", "1m1h", "1h1h", "1h30", "h", "1:5", "1:60", "1:60:00", "1:2:03:04", ":30", "-5",
                          "1.5h", " 5"})
    EXPECT_FALSE(ParseTime(bad)) << bad;
}

TEST(CommandLineClock, FormsAndTheNextTimeTheyCome) {
  const auto at = ParseClock("06:30:15");
  ASSERT_TRUE(at);
  EXPECT_EQ(at->hour * 10000 + at->minute * 100 + at->second, 63015);
  EXPECT_TRUE(ParseClock("7:05"));
  for (const char* bad : {"24:00", "12:60", "12", "123:00", "12:00:60", "12:0", "12:00:00:00", "ab:cd"})
    EXPECT_FALSE(ParseClock(bad)) << bad;
  auto now = [](int h, int m, int s) { return SystemTime{2026, 12, 1, 7, std::uint16_t(h), std::uint16_t(m), std::uint16_t(s), 500}; };
  EXPECT_EQ(SecondsUntil({0, 15, 0}, now(23, 30, 0)), 45 * 60) << "across midnight";
  EXPECT_EQ(SecondsUntil({10, 0, 0}, now(9, 59, 59)), 1);
  EXPECT_EQ(SecondsUntil({10, 0, 0}, now(10, 0, 0)), 24 * 3600) << "now has come already: tomorrow";
  EXPECT_EQ(SecondsUntil({10, 0, 0}, now(10, 0, 30)), 24 * 3600 - 30);
}

// As Windows starts a run entry at logon: the line as the entry holds it, and
// the words CommandLineToArgvW makes of it.
TEST(CommandLineOwnPath, ALineOfNothingButTheProgramsPathHasNoArguments) {
  const std::string path = "C:\\Program Files\\Tar nby\\tarnby.exe";
  struct Case {
    std::string line;
    std::vector<std::string> words;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {"\"" + path + "\"", {path}, {}},
      {path, {"C:\\Program", "Files\\Tar", "nby\\tarnby.exe"}, {}},
      {"  c:\\program files\\TAR NBY\\Tarnby.exe ", {"c:\\program", "files\\TAR", "NBY\\Tarnby.exe"}, {}},
      {"C:\\Program\" \"Files\\Tar nby\\tarnby.exe", {"C:\\Program Files\\Tar", "nby\\tarnby.exe"}, {}},
      {"\"" + path + "\" /status", {path, "/status"}, {"/status"}},
      {path + " /status", {"C:\\Program", "Files\\Tar", "nby\\tarnby.exe", "/status"},
       {"Files\\Tar", "nby\\tarnby.exe", "/status"}},
      {"tarnby.exe Files\\Tar nby\\tarnby.exe", {"tarnby.exe", "Files\\Tar", "nby\\tarnby.exe"},
       {"Files\\Tar", "nby\\tarnby.exe"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ArgumentsAfterProgram(c.line, c.words, path), c.arguments) << c.line;
  EXPECT_EQ(ArgumentsAfterProgram("x /a", {"x", "/a"}, ""), std::vector<std::string>{"/a"}) << "path unknown";
}

// Every bad command line, with (a part of) the problem it is told. Each is
// read before anything else: it shows the problem and the usage, ends with
// one and reaches no running copy.
const std::pair<std::vector<std::string>, const char*> kBadArguments[] = {
    {{"/bogus"}, "is not a switch Tarnby knows."},
    {{"shutdown"}, "\"shutdown\" is not a switch."},
    {{"/in", "5m"}, "need an action such as /shutdown."},
    {{"", "/in", "5m"}, "need an action such as /shutdown."},
    {{"/shutdown", "/in"}, "/in needs a time after it."},
    {{"/shutdown", "/in", "5x"}, "\"5x\" is not a time such as"},
    {{"/shutdown", "/in", "337h"}, "A countdown lasts 336 hours at most."},
    {{"/dos", "/at", "25:00"}, "\"25:00\" is not a clock time"},
    {{"/shutdown", "/in", "5", "/at", "23:00"}, "Give /in or /at, not both."},
    {{"/hibernate", "/in", "5", "/at", "23:00"}, "Give /in or /at, not both."},
    {{"/screensaver", "/force", "/in", "5"}, "/force goes with /shutdown, /restart or /logoff only."},
    {{"/sleep", "/force"}, "/force goes with /shutdown, /restart or /logoff only."},
    {{"/shutdown", "/restart"}, "Give one action only."},
    {{"/sleep", "/shutdown"}, "Give one action only."},
    {{"/suspend", "/sleep"}, "Give one action only."},
    {{"/lock", "/hibernate"}, "Give one action only."},
    {{"/cancel", "/hide"}, "/cancel stands alone."},
    {{"/sleep", "/cancel"}, "/cancel stands alone."},
    {{"/status", "/shutdown"}, "/status stands alone."},
    {{"/status", "/when-idle", "5m"}, "/status stands alone."},
    {{"/hide", "/hide", "/dos"}, "/hide is given twice."},
    {{"/lock", "/lock"}, "/lock is given twice."},
    {{"/shutdown", "/when-idle", "5m", "/when-quiet", "5m"}, "Give one trigger only."},
    {{"/shutdown", "/when-idle", "5m", "/at", "23:00"}, "A trigger goes with /in, not with /at."},
    {{"/shutdown", "/when-idle", "5m", "/cpu", "20"}, "/cpu and /net go with /when-quiet only."},
    {{"/shutdown", "/net", "20"}, "/cpu and /net go with /when-quiet only."},
    {{"/when-idle", "5m"}, "need an action"},
    {{"/shutdown", "/when-idle", "0"}, "one second at least"},
    {{"/shutdown", "/when-idle", "337h"}, "336 hours at most"},
    {{"/shutdown", "/when-idle", "5x"}, "is not a duration"},
    {{"/shutdown", "/when-idle"}, "needs a value"},
    {{"/shutdown", "/when-quiet", "5m", "/cpu", "0"}, "not a percentage"},
    {{"/shutdown", "/when-quiet", "5m", "/cpu", "101"}, "not a percentage"},
    {{"/shutdown", "/when-quiet", "5m", "/net", "-5"}, "not a rate"},
    {{"/shutdown", "/when-quiet", "5m", "/net", "1000000001"}, "not a rate"},
    {{"/shutdown", "/when-quiet", "5m", "/net", "99999999999999999999999999"}, "not a rate"},
    {{"/shutdown", "/when-exits", "0"}, "not a process id"},
    {{"/shutdown", "/when-exits", "4294967296"}, "not a process id"},
    {{"/shutdown", "/when-exits", "99999999999"}, "not a process id"},
    {{"/shutdown", "/when-exits", "C:\\Tools\\"}, "needs a program"},
    {{"/shutdown", "/when-later", "5m"}, "is not a switch Tarnby knows"},
};

TEST_F(CommandLineTest, BadArgumentsShowTheProblemAndTheUsageEndWithOneAndReachNoRunningCopy) {
  for (const auto& [arguments, problem] : kBadArguments) {
    const std::string line = JoinArguments(arguments);
    const Command command = ParseCommandLine(arguments);
    EXPECT_EQ(command.kind, CommandKind::Bad) << line;
    EXPECT_NE(command.problem.find(problem), std::string::npos) << line << ": " << command.problem;

    FakeWindows second;
    second.runningCopy = [](std::uintptr_t, const std::string&) -> std::intptr_t { return 1; };
    App copy(second);
    EXPECT_FALSE(copy.Start(arguments));
    EXPECT_EQ(second.exitCode, kExitBadArguments) << line;
    ASSERT_EQ(second.messageBoxes.size(), 1u);
    EXPECT_EQ(second.messageBoxes[0].text, command.problem + "\n\n" + UsageText()) << line;
    EXPECT_EQ(second.messageBoxes[0].title, "Tarnby");
    EXPECT_FALSE(second.Logged("SendCopyData")) << line;
    EXPECT_FALSE(second.Logged("AnotherInstanceRunning"));
  }
  EXPECT_FALSE(StartWith({"-?", "/bogus"}));
  EXPECT_EQ(win.exitCode, kExitDone);
  EXPECT_EQ(win.messageBoxes.at(0).text, UsageText());
}

TEST_F(CommandLineTest, StartedByTheConsoleCompanionUsageAndProblemsGoToItsConsoleNotABox) {
  using Lines = std::vector<std::string>;
  const struct {
    std::vector<std::string> arguments;
    std::uint32_t exitCode;
    Lines output, errors;
  } cases[] = {
      {{"/?"}, kExitDone, {UsageText()}, {}},
      {{"/in", "5x"}, kExitBadArguments, {}, {"\"5x\" is not a time such as 90, 45m, 1h30m or 1:30:00.\n\n" + UsageText()}},
      {{"/cancel"}, kExitNotDelivered, {}, {"The running Tarnby did not answer."}},
  };
  for (const auto& c : cases) {
    FakeWindows copy;
    copy.consoleCompanion = true;
    copy.anotherInstance = true;  // that does not answer
    App started(copy);
    EXPECT_FALSE(started.Start(c.arguments));
    EXPECT_TRUE(copy.messageBoxes.empty()) << c.arguments[0];
    EXPECT_EQ(copy.console, c.output);
    EXPECT_EQ(copy.consoleErrors, c.errors);
    EXPECT_EQ(copy.exitCode, c.exitCode);
    EXPECT_FALSE(copy.Logged("LetGoOfConsole")) << "the companion reads to this copy's end";
  }
  win.consoleCompanion = true;
  ASSERT_TRUE(StartWith({"/shutdown", "/in", "1h"}));
  const auto at = [&](const std::string& call) {
    return std::find_if(win.log.begin(), win.log.end(), [&](const std::string& c) { return c.starts_with(call); });
  };
  // Tarnby goes on, so the companion stops waiting; the script's next "tarnby /status" finds this copy.
  EXPECT_LT(at("AnotherInstanceRunning"), at("LetGoOfConsole"));
  EXPECT_LT(at("LetGoOfConsole"), at("CreateFormWindow"));
}

TEST_F(CommandLineTest, ACountdownStartsAsTheUserWouldStartIt) {
  ASSERT_TRUE(StartWith({"--RESTART", "-force", "/In", "1h30m"}));
  EXPECT_TRUE(f().sharestart.Visible());
  EXPECT_TRUE(f().chkrestart.Value());
  EXPECT_TRUE(f().Visible()) << "shown as \"&Show Timer\" shows it";
  EXPECT_TRUE(countdown().Running());
  EXPECT_EQ(countdown().counters().hoursCount, 1);
  EXPECT_EQ(countdown().counters().minutes, 30);
  EXPECT_EQ(win.Calls("SetThreadExecutionState"), std::vector<std::string>{"SetThreadExecutionState(0x80000001)"});
  EXPECT_EQ(Second(), "30:00");
  EXPECT_EQ(Second(), "89:59");
  f().cmdstop.Click();
  EXPECT_EQ(win.Calls("SetThreadExecutionState").back(), "SetThreadExecutionState(0x80000000)");
}

TEST_F(CommandLineTest, AtAcrossMidnightHiddenAndAnActionWithoutTimeOnlyPreSelects) {
  win.localTime = SystemTime{2026, 12, 1, 7, 23, 30, 0, 0};
  ASSERT_TRUE(StartWith({"/logoff", "/at", "00:15", "/hide"}));
  EXPECT_FALSE(f().Visible());
  EXPECT_EQ(f().Text2.Text(), "45");
  EXPECT_EQ(countdown().SecondsLeft(), 45 * 60);
  app->commandLine->Act(ParseCommandLine({"/dos"}));
  EXPECT_TRUE(f().shados.Visible());
  EXPECT_TRUE(f().Visible());
  EXPECT_TRUE(countdown().Running()) << "no time: nothing started, nothing stopped";
}

TEST_F(CommandLineTest, TheStartChecksRefuseACommandAsTheyRefuseTheUser) {
  win.SetVersion(FakeWindows::Version::Win95);  // no suspend button to press
  ASSERT_TRUE(StartWith({"/suspend", "/in", "5"}));
  EXPECT_FALSE(countdown().Running());
  EXPECT_EQ(win.messageBoxes.at(0).text, "You must select one of the options above");
  EXPECT_TRUE(win.Calls("SetThreadExecutionState").empty());
}

TEST_F(CommandLineTest, ACommandWhoseButtonIsDisabledDoesNotRunWhatTheFrameShowsInstead) {
  win.SetVersion(FakeWindows::Version::Win95);
  ASSERT_TRUE(StartWith({}));
  f().cmdshut.Click();
  app->commandLine->Act(ParseCommandLine({"/suspend", "/in", "5"}));
  EXPECT_FALSE(countdown().Running());
  EXPECT_EQ(win.messageBoxes.back().text, "You must select one of the options above");
  win.Advance(10000);
  EXPECT_FALSE(win.Logged("ExitWindowsEx"));
}

TEST_F(CommandLineTest, StatusAndCancelWithNothingRunningAnswerAtOnceAndAnEmptyArgumentIsNone) {
  for (const char* argument : {"/STATUS", "/cancel"}) {
    FakeWindows copy;
    App started(copy);
    EXPECT_FALSE(started.Start({argument}));
    EXPECT_EQ(copy.exitCode, argument[1] == 'S' ? kExitNoCountdown : kExitDone);
    EXPECT_TRUE(copy.LoadedForms().empty()) << argument << " started a Tarnby";
    EXPECT_FALSE(copy.Logged("AnotherInstanceRunning")) << "a copy that asks claims no Tarnby's place";
  }
  ASSERT_TRUE(StartWith({"", ""}));
  EXPECT_TRUE(win.messageBoxes.empty()) << "\"\" taken for a command";
}

// Telling the tray waits on the shell, which lets other copies' commands in:
// they wait their turn.
TEST_F(CommandLineTest, CommandsHandedOverWhileOneIsCarriedOutRunAfterItInTheOrderTheyCame) {
  win.processes = {{100, "notepad.exe"}, {101, "notepad.exe"}};
  ASSERT_TRUE(StartWith({}));
  win.whileShellNotified = [&] {
    win.whileShellNotified = nullptr;
    for (const char* command : {"/status", "/cancel", "/status"})
      f().onCopyData(kCommandCopyData, JoinArguments({command}), kSender);
    f().tmrCommands.onTimer();  // a tick in the wait: it runs nothing, and stops ticking
    EXPECT_FALSE(f().tmrCommands.Enabled());
  };
  EXPECT_EQ(HandOver({"/lock", "/when-exits", "notepad", "/in", "2h"}).code, kExitDone);
  EXPECT_TRUE(app->triggers->Waiting()) << "the cancel ran inside the arm";
  win.Advance(1);
  ASSERT_EQ(win.answers.size(), 4u);
  EXPECT_EQ(win.answers[1].text, "lock 2 hours after notepad.exe exits");
  EXPECT_EQ(win.answers[3].code, kExitNoCountdown);
  EXPECT_FALSE(app->triggers->Waiting());
}

// Refused in the running copy before anything changes, with no box there:
// the reason and exit code go back to the sender.
TEST_F(CommandLineTest, EveryCheckThatRefusesACommandIsMadeBeforeTheAnswer) {
  const struct {
    bool win95;
    const char* alarm;
    std::vector<std::string> arguments;
    const char* reason;
  } cases[] = {{false, "99", {"/shutdown", "/in", "60"}, "Alarm seconds must be under 60"},
               {false, "99", {"/restart", "/when-idle", "5m"}, "Alarm seconds must be under 60"},
               {true, "", {"/suspend"}, "You must select one of the options above"}};
  for (const auto& c : cases) {
    if (c.win95) win.SetVersion(FakeWindows::Version::Win95);
    ASSERT_TRUE(StartWith({"/dos"}));
    Paste(f().Text3, c.alarm);
    EXPECT_EQ(HandOver(c.arguments).text, c.reason);
    EXPECT_EQ(win.answers.back().code, kExitRefused);
    EXPECT_TRUE(win.messageBoxes.empty() && f().shados.Visible()) << c.arguments[0];
    EXPECT_EQ(app->commandLine->StatusLine(), "no countdown");
    RestoreWindowProcs();
    win.NewProcess();
  }
}

TEST_F(CommandLineTest, OneBalloonPerCountdownAtSixtySecondsOnlyWhenTheSessionEnds) {
  ASSERT_TRUE(StartWith({"/shutdown", "/in", "62"}));
  const std::string tip = win.trayIcons.begin()->second.szTip;
  EXPECT_EQ(Second(), "1:02");
  EXPECT_TRUE(win.balloons.empty()) << "61 seconds left";
  EXPECT_EQ(Second(), "1:01");  // the display shows each second as it began
  ASSERT_EQ(win.balloons.size(), 1u);
  EXPECT_EQ(win.balloons[0].text, "Tarnby will shut down the computer in 60 seconds.");
  EXPECT_EQ(win.balloons[0].title, "Tarnby");
  EXPECT_EQ(win.balloons[0].hWnd, f().picscreen.hwnd);
  EXPECT_EQ(win.trayIcons.begin()->second.szTip, tip) << "the icon and its tip stay";
  f().Hide();
  TrayMessage(f().picscreen, w::kNinBalloonUserClick);
  EXPECT_TRUE(f().Visible()) << "a click on the balloon shows the timer";
  f().cmdstop.Click();
  f().cmdstart.Click();
  win.Advance(5000);
  EXPECT_EQ(win.balloons.size(), 1u) << "none after a pause";

  app->commandLine->Act(ParseCommandLine({"/logoff", "/force", "/in", "1"}));
  ASSERT_EQ(win.balloons.size(), 2u) << "a new countdown of a second";
  EXPECT_EQ(win.balloons[1].text, "Tarnby will force you to log off in 1 second.");
  app->commandLine->Act(ParseCommandLine({"/screensaver", "/in", "30"}));
  win.Advance(3000);
  EXPECT_EQ(win.balloons.size(), 2u) << "the screen saver ends no session";
  win.Advance(30000);
  EXPECT_FALSE(countdown().Running());
  EXPECT_EQ(win.executionState, w::kEsContinuous) << "the machine may sleep again after zero";
}

TEST_F(CommandLineTest, InTheLastMinuteASessionEndingCountdownShowsItsHiddenWindowOnTopWithoutTheFocusOnce) {
  std::vector<std::pair<std::string, bool>> actions = {{"hibernate", false}, {"sleep", false}, {"lock", false}};
  for (const CatalogueRow& row : kCatalogue)
    if (row.switchName) actions.emplace_back(row.switchName, row.endsSession);
  for (const auto& [action, ends] : actions) {
    FakeWindows machine;
    App tarnby(machine);
    ASSERT_TRUE(tarnby.Start({"/" + action, "/in", "70s", "/hide"})) << action;
    Frmstart& f = tarnby.frmstart;
    machine.Advance(9999);
    EXPECT_FALSE(f.Visible()) << action << ": shown before its last minute";
    machine.ClearLog();
    machine.Advance(1);
    EXPECT_EQ(f.Visible(), ends) << action;
    EXPECT_EQ(machine.Logged("ShowWindow(" + Hex(f.hwnd) + ", 4)"), ends) << action << ": SW_SHOWNOACTIVATE";
    EXPECT_EQ(machine.Logged("SetWindowPos(" + Hex(f.hwnd) + ", -1, 0, 0, 0, 0, 19)"), ends) << action;
    EXPECT_FALSE(machine.Logged("SetForegroundWindow") || machine.Logged("BringWindowForward")) << action;
    for (const auto& balloon : machine.balloons) EXPECT_EQ(balloon.uFlags, w::kNifInfo | w::kNifRealtime) << action;
    f.Command3.Click();  // "&Hide"
    machine.Advance(30000);
    EXPECT_FALSE(f.Visible()) << action << ": hidden again, it came back";
    RestoreWindowProcs();  // the hook list is program-wide and outlives this machine
  }
}

}  // namespace
}  // namespace tarnby
