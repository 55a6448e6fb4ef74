// The engine: what each second shows, the hours fold, the blinking
// separator, the pre-selected action at zero, the return to idle, and the
// clock: no drift over two weeks, a catch-up on a busy machine, the time
// asleep, one action only.
#include "core/countdown_fixture.h"

namespace tarnby {
namespace {

class EngineTest : public CountdownTest {
 protected:
  // On systems other than Windows 98 the screen saver is one message, which
  // makes it the plainest action to time.
  void SetUp() override {
    win.SetVersion(FakeWindows::Version::WinXP);
    CountdownTest::SetUp();
  }

  // What the display reads with `left` seconds to go.
  static std::string Reads(int left) { return std::to_string(left / 60) + ":" + TwoDigits(left % 60); }
};

struct TickCase {
  const char* name;
  const char* minutes;
  const char* seconds;
  const char* hours;
  int total;  // seconds until the action
  std::vector<std::pair<int, const char*>> spots;  // second (1-based) and what it reads
};

class TickTable : public EngineTest, public ::testing::WithParamInterface<TickCase> {};

TEST_P(TickTable, EverySecondShowsTheTimeLeftAndTheActionRunsAtTheTotal) {
  const TickCase& c = GetParam();
  // Shut down ends the program at zero and leaves the last second on show.
  StartCountdown(f().cmdshut, c.minutes, c.seconds, c.hours);
  std::vector<std::string> shown;
  for (int second = 1; second <= c.total; ++second) {
    ASSERT_FALSE(win.processEnded) << "action ran early, at second " << second - 1;
    win.Advance(1000);
    shown.push_back(Shown());
  }
  EXPECT_TRUE(win.processEnded);
  for (auto [second, reads] : c.spots) EXPECT_EQ(shown[second - 1], reads) << "second " << second;
  // Without hours, every second but the last reads exactly the time left.
  if (!*c.hours) {
    for (int second = 1; second <= c.total; ++second) ASSERT_EQ(shown[second - 1], Reads(c.total - second + 1));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Countdown, TickTable,
    ::testing::Values(
        TickCase{"TenSeconds", "0", "10", "", 10, {{1, "0:10"}, {2, "0:09"}, {9, "0:02"}}},
        TickCase{"OneMinuteFive", "1", "5", "", 65, {{1, "1:05"}, {5, "1:01"}, {6, "1:00"}, {7, "0:59"}, {64, "0:02"}}},
        TickCase{"TenMinutesEmptySeconds", "10", "", "", 600, {{1, "10:00"}, {2, "9:59"}, {60, "9:01"}, {61, "9:00"}}},
        TickCase{"ZeroSecondsCountLikeAnyOther", "2", "0", "", 120, {{1, "2:00"}, {2, "1:59"}}},
        TickCase{"HoursFoldAtTheSecondSecond",
                 "30",
                 "",
                 "2",
                 9000,
                 {{1, "30:00"}, {2, "149:59"}, {3, "149:58"}, {8941, "1:00"}, {8942, "0:59"}, {9000, "0:01"}}}),
    [](const ::testing::TestParamInfo<TickCase>& info) { return std::string(info.param.name); });

TEST_F(EngineTest, ZeroMinutesWithEmptySecondsActsAtTheFirstSecond) {
  StartCountdown(f().cmdscreen, "0", "");
  win.Advance(999);
  EXPECT_FALSE(ScreenSaverSent());
  win.Advance(1);
  EXPECT_TRUE(ScreenSaverSent());
}

TEST_F(EngineTest, HoursFoldOnceAndCloseTheHoursWindow) {
  StartCountdown(f().cmdscreen, "30", "", "2");
  win.Advance(1000);
  EXPECT_EQ(f().lblhrs.Caption(), "2");
  EXPECT_FALSE(f().Check1.Value());
  EXPECT_FALSE(f().Check1.Enabled());
  EXPECT_FALSE(app->frmhrs.Loaded());
  EXPECT_EQ(countdown().counters().minutes, 149);
  win.Advance(1000);
  EXPECT_EQ(f().Label3.Caption(), "149");
  EXPECT_EQ(f().lblhrs.Caption(), "2");
}

TEST_F(EngineTest, NoHoursShowZeroHoursUntilZeroEmptiesTheLabel) {
  StartCountdown(f().cmdscreen, "0", "3");
  win.Advance(1000);
  EXPECT_EQ(f().lblhrs.Caption(), "0");
  win.Advance(2000);
  EXPECT_EQ(f().lblhrs.Caption(), "");
}

TEST_F(EngineTest, SeparatorBlinksEverySecondAndStaysAsPaused) {
  StartCountdown(f().cmdscreen, "5", "");
  std::vector<bool> seen;
  for (int i = 0; i < 4; ++i) {
    win.Advance(1000);
    seen.push_back(f().Label5.Visible());
  }
  EXPECT_EQ(seen, (std::vector<bool>{false, true, false, true}));
  win.Advance(1000);
  ASSERT_FALSE(f().Label5.Visible());
  f().cmdstop.Click();
  win.Advance(5000);
  EXPECT_FALSE(f().Label5.Visible());
}

// ---------------------------------------------------------------- the clock

TEST_F(EngineTest, TwoWeeksWithATimerFifteenMillisecondsLateEndOnTime) {
  win.timerLateness = 15;
  StartCountdown(f().cmdscreen, "0", "", "336");
  const std::uint64_t started = win.now;
  const std::uint64_t deadline = started + 336ull * 3600 * 1000;
  win.Advance(deadline - started - 2000);
  ASSERT_FALSE(ScreenSaverSent());
  EXPECT_EQ(Shown(), "0:04");  // the call due at 3 s to go comes 15 ms late
  while (!ScreenSaverSent() && win.now < deadline + 5000) win.Advance(5);
  ASSERT_TRUE(ScreenSaverSent());
  EXPECT_LE(win.now - deadline, 500u);
}

TEST_F(EngineTest, LateTimerCallsCatchUpEverySecondInOrder) {
  // A timer that fires 2.5 s late each time still counts every second.
  win.timerLateness = 2500;
  StartCountdown(f().cmdscreen, "0", "20");
  win.Advance(3500);
  EXPECT_EQ(Shown(), "0:18");  // seconds 1 to 3 ran; the third is shown
  win.Advance(3500);
  EXPECT_EQ(Shown(), "0:15");  // called at 6.5 s
  win.Advance(20000);
  EXPECT_TRUE(ScreenSaverSent());
  EXPECT_EQ(win.Count("SendMessage(" + Hex(f().hwnd) + ", 0x112"), 1);
}

TEST(CountdownAcrossASleep, ALengthCountsTheTimeAwakeAndAClockTimeGivesItsLastMinuteAtTheWake) {
  const struct {
    const char* name;
    std::vector<std::string> command;  // at 22:50:00, ten minutes before 23:00
    std::uint64_t awake, asleep;       // ms, from the start
    bool told;                         // the broadcasts come, before the timer
    std::int64_t leftAtWake;           // s
  } cases[] = {
      {"LengthAsleepAnHour", {"/shutdown", "/in", "10m", "/hide"}, 30000, 3600000, true, 570},
      {"LengthAsleepUntold", {"/shutdown", "/in", "10m", "/hide"}, 30000, 3600000, false, 570},
      {"ClockTimeAsleepPastIt", {"/shutdown", "/at", "23:00", "/hide"}, 30000, 1200000, true, 60},
      {"ClockTimeAsleepPastItUntold", {"/shutdown", "/at", "23:00", "/hide"}, 30000, 1200000, false, 60},
      {"ClockTimeAsleepInItsLastMinute", {"/shutdown", "/at", "23:00", "/hide"}, 550000, 20000, true, 60},
      {"ClockTimeAsleepBeforeIt", {"/shutdown", "/at", "23:00", "/hide"}, 30000, 300000, true, 270},
  };
  for (const auto& c : cases) {
    FakeWindows machine;
    machine.localTime.wHour = 22;
    machine.localTime.wMinute = 50;
    App tarnby(machine);
    ASSERT_TRUE(tarnby.Start(c.command)) << c.name;
    machine.Advance(c.awake);
    machine.SleepMachine(c.asleep, c.told);
    machine.Advance(1);
    EXPECT_FALSE(machine.processEnded) << c.name << ": acted at the wake";
    EXPECT_EQ(tarnby.countdown->SecondsLeft(), c.leftAtWake) << c.name;
    if (c.leftAtWake == 60) {
      EXPECT_EQ(tarnby.frmstart.Label3.Caption() + ":" + tarnby.frmstart.display.Caption(), "1:00") << c.name;
      ASSERT_FALSE(machine.balloons.empty()) << c.name;
      EXPECT_EQ(machine.balloons.back().text, "Tarnby will shut down the computer in 60 seconds.");
    }
    machine.Advance(static_cast<std::uint64_t>(c.leftAtWake) * 1000 - 2);
    EXPECT_FALSE(machine.processEnded) << c.name << ": acted early";
    machine.Advance(2);
    EXPECT_TRUE(machine.Logged("ExitWindowsEx(1, 1)")) << c.name;
    RestoreWindowProcs();  // the hook list is program-wide and outlives this machine
  }
}

TEST_F(EngineTest, ResumeCountsFromTheResumeNotFromTheFirstStart) {
  StartCountdown(f().cmdscreen, "0", "30");
  win.Advance(10000);
  f().cmdstop.Click();
  win.Advance(60000);
  f().cmdstart.Click();
  win.Advance(20999);
  EXPECT_FALSE(ScreenSaverSent());
  win.Advance(1);
  EXPECT_TRUE(ScreenSaverSent());
}

// ------------------------------------------------------------------ at zero

TEST_F(EngineTest, ZeroLeavesTheWindowIdleHiddenAndQuiet) {
  Type(f().Text3, "\b9");
  countdown().cmdwav_Click();  // cancelled: no file, so it beeps
  f().Check1.Click();
  f().Check1.Click();
  app->platform.PlaySound("C:\\x.wav", 0, 9);
  StartCountdown(f().cmdscreen, "0", "4");
  f().mnupopmenushow.Click();
  ASSERT_TRUE(f().Visible());
  win.Advance(4000);
  ASSERT_TRUE(ScreenSaverSent());
  EXPECT_FALSE(f().Visible());
  ExpectIdle();
  EXPECT_EQ(f().Text1.Text(), "");
  EXPECT_EQ(f().Text2.Text(), "");
  EXPECT_EQ(Shown(), ":");
  EXPECT_EQ(f().lblhrs.Caption(), "");
  EXPECT_FALSE(f().mnutime.visible);
  EXPECT_TRUE(f().Command1.Enabled());
  EXPECT_EQ(win.playing, "");
  EXPECT_FALSE(win.processEnded);
  EXPECT_TRUE(f().shascreen.Visible());  // the pre-selection stays
  EXPECT_EQ(countdown().counters().hoursShown, 0);
  // A start with the boxes emptied by zero is refused.
  f().cmdstart.Click();
  EXPECT_EQ(win.messageBoxes.back().text, "You must put in the amount of seconds!");
}

TEST_F(EngineTest, ZeroClosesTheHoursWindowAndLeavesItEmpty) {
  StartCountdown(f().cmdscreen, "0", "2");
  f().Check1.SetEnabled(true);
  win.Advance(2000);
  EXPECT_TRUE(app->frmhrs.Loaded());
  EXPECT_FALSE(app->frmhrs().Visible());
  EXPECT_EQ(app->frmhrs().Text1.Text(), "");
}

}  // namespace
}  // namespace tarnby
