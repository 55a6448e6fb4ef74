// Entry and control: the key filters, the start checks with their messages,
// the hours window, and start and pause with the controls they switch.
#include "core/countdown_fixture.h"

namespace tarnby {
namespace {

struct StartCase {
  const char* name;
  bool preSelected;
  const char* minutes;  // pasted as is (may be text the key filter would refuse)
  const char* seconds;
  const char* alarm;
  const char* message;  // empty: the countdown starts
  const char* minutesAfter;
  const char* secondsAfter;
};

class StartChecks : public CountdownTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartChecks, RefuseWithTheFirstFailingMessageOrStart) {
  const StartCase& c = GetParam();
  if (c.preSelected) f().cmdscreen.Click();
  Paste(f().Text2, c.minutes);
  Paste(f().Text1, c.seconds);
  Paste(f().Text3, c.alarm);
  f().cmdstart.SetEnabled(true);
  f().cmdstart.Click();

  if (*c.message) {
    ASSERT_EQ(win.messageBoxes.size(), 1u);
    EXPECT_EQ(win.messageBoxes[0].text, c.message);
    EXPECT_EQ(win.messageBoxes[0].title, "Tarnby");
    EXPECT_EQ(win.messageBoxes[0].style, 0u);
    EXPECT_FALSE(countdown().Running());
    EXPECT_TRUE(f().cmdstart.Enabled());
  } else {
    EXPECT_TRUE(win.messageBoxes.empty());
    EXPECT_TRUE(countdown().Running());
  }
  EXPECT_EQ(f().Text2.Text(), c.minutesAfter);
  EXPECT_EQ(f().Text1.Text(), c.secondsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Countdown, StartChecks,
    ::testing::Values(
        StartCase{"NoRing", false, "5", "", "5", "You must select one of the options above", "5", ""},
        StartCase{"NoTime", true, "", "", "5", "You must put in the amount of seconds!", "", ""},
        StartCase{"OnlySeconds", true, "", "30", "5", "", "0", "30"},
        StartCase{"OnlyMinutes", true, "10", "", "5", "", "10", "0"},
        StartCase{"ZeroMinutes", true, "0", "", "5", "", "0", "0"},
        StartCase{"MostMinutes", true, "15000", "", "5", "", "15000", "0"},
        StartCase{"TooManyMinutes", true, "15001", "", "5", "Keep it under 15,000 minutes!", "15001", ""},
        StartCase{"MinutesBeforeSeconds", true, "15001", "61", "61", "Keep it under 15,000 minutes!", "15001",
                  "61"},
        StartCase{"PastedTextAsMinutes", true, "ten", "5", "5", "Keep it under 15,000 minutes!", "ten", "5"},
        StartCase{"PastedHugeMinutes", true, "99999999999999999999", "5", "5", "Keep it under 15,000 minutes!",
                  "99999999999999999999", "5"},
        StartCase{"PastedNegativeMinutes", true, "-3", "5", "5", "Keep it under 15,000 minutes!", "-3", "5"},
        StartCase{"MostAlarm", true, "1", "5", "60", "", "1", "5"},
        StartCase{"AlarmTooLong", true, "1", "5", "61", "Alarm seconds must be under 60", "1", "5"},
        StartCase{"PastedTextAsAlarm", true, "1", "5", "x", "Alarm seconds must be under 60", "1", "5"},
        StartCase{"AlarmCheckedBeforeSecondsAreFilled", true, "1", "", "61", "Alarm seconds must be under 60",
                  "1", ""},
        StartCase{"MostSeconds", true, "1", "60", "5", "", "1", "60"},
        StartCase{"TooManySeconds", true, "1", "61", "5", "Seconds must be 60 or below", "1", "61"},
        StartCase{"PastedTextAsSeconds", true, "1", "5x", "5", "Seconds must be 60 or below", "1", "5x"},
        // A fraction would round to a shorter countdown than the box shows.
        StartCase{"HalfAMinute", true, "0.5", "", "5", "Keep it under 15,000 minutes!", "0.5", ""},
        StartCase{"FractionOfMinutes", true, "0.4", "10", "5", "Keep it under 15,000 minutes!", "0.4", "10"},
        StartCase{"FractionOfSeconds", true, "0", "0.5", "5", "Seconds must be 60 or below", "0", "0.5"},
        StartCase{"FractionOfAlarm", true, "1", "5", "2.5", "Alarm seconds must be under 60", "1", "5"},
        StartCase{"WholeWithPoint", true, "2.0", "5", "5", "", "2.0", "5"}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

TEST_F(CountdownTest, StartCopiesTheBoxesIntoTheCounters) {
  StartCountdown(f().cmdscreen, "12", "34", "3");
  const Countdown::Counters& c = countdown().counters();
  EXPECT_EQ(c.minutes, 12);
  EXPECT_EQ(c.seconds, 34);
  EXPECT_EQ(c.hoursCount, 3);
  EXPECT_EQ(c.hoursShown, 3);
  EXPECT_EQ(c.alarmSeconds, 5);
}

TEST_F(CountdownTest, SixtySecondsStartAsTheNextMinute) {
  StartCountdown(f().cmdscreen, "2", "60");
  EXPECT_EQ(countdown().counters().minutes, 3);
  EXPECT_EQ(countdown().counters().seconds, 0);
  EXPECT_EQ(Second(), "3:00");
}

TEST_F(CountdownTest, KeyFiltersPassDigitsAndAnyKeyInTheTimeBoxesEnablesStart) {
  Type(f().Text2, "1a2.-3\b");
  EXPECT_EQ(f().Text2.Text(), "12");
  f().Text2.NativeTextChanged("");
  f().cmdstart.SetEnabled(false);
  Type(f().Text3, "z1");
  EXPECT_EQ(f().Text3.Text(), "51");
  EXPECT_FALSE(f().cmdstart.Enabled());  // the alarm box does not enable it
  Type(f().Text2, "a");
  EXPECT_TRUE(f().cmdstart.Enabled());
  EXPECT_EQ(f().Text2.Text(), "");

  f().cmdstart.SetEnabled(false);
  Type(f().Text1, "q");
  EXPECT_TRUE(f().cmdstart.Enabled());

  f().cmdstart.SetEnabled(false);
  f().Check1.Click();
  Type(app->frmhrs().Text1, "h");
  EXPECT_TRUE(f().cmdstart.Enabled());
  EXPECT_EQ(app->frmhrs().Text1.Text(), "");
}

TEST_F(CountdownTest, HoursBoxOpensTopmostAndForgetsWhenClosed) {
  f().Check1.Click();
  ASSERT_TRUE(app->frmhrs.Loaded());
  EXPECT_TRUE(app->frmhrs().Visible());
  EXPECT_TRUE(win.Logged("SetWindowPos(" + Hex(app->frmhrs().hwnd) + ", -1, 0, 0, 0, 0, 3)"));
  Type(app->frmhrs().Text1, "12");

  f().Check1.Click();
  EXPECT_FALSE(app->frmhrs.Loaded());
  f().Check1.Click();
  EXPECT_EQ(app->frmhrs().Text1.Text(), "");
}

TEST_F(CountdownTest, HoursBeyondTwoWeeksAreRefusedAndCleared) {
  f().Check1.Click();
  Frmhrs& hours = app->frmhrs();
  Type(hours.Text1, "336");
  EXPECT_EQ(hours.Text1.Text(), "336");
  EXPECT_TRUE(win.messageBoxes.empty());

  hours.Text1.NativeTextChanged("");
  Type(hours.Text1, "337");
  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, "Max time limit of 2 weeks has been reached!");
  EXPECT_EQ(win.messageBoxes[0].title, "Time");
  EXPECT_EQ(win.messageBoxes[0].style, 64u);
  EXPECT_EQ(hours.Text1.Text(), "");

  Paste(hours.Text1, "99999999999999999999");
  ASSERT_EQ(win.messageBoxes.size(), 2u);
  EXPECT_EQ(hours.Text1.Text(), "");

  Paste(hours.Text1, "abc");  // no number: nothing to say
  Paste(hours.Text1, "-12");  // a negative count is dropped quietly
  EXPECT_EQ(win.messageBoxes.size(), 2u);
  EXPECT_EQ(hours.Text1.Text(), "");
}

TEST_F(CountdownTest, StartSwitchesTheControlsToRunning) {
  ASSERT_FALSE(f().mnutime.visible);
  StartCountdown(f().cmdscreen, "3", "10", "1");
  EXPECT_TRUE(f().Timer1.Enabled());
  EXPECT_TRUE(f().Timer2.Enabled());
  EXPECT_FALSE(f().Check1.Enabled());
  EXPECT_FALSE(f().cmdstart.Enabled());
  EXPECT_FALSE(f().cmdwav.Visible());
  EXPECT_FALSE(f().Text1.Enabled());
  EXPECT_FALSE(f().Text2.Enabled());
  EXPECT_FALSE(f().Text3.Enabled());
  EXPECT_TRUE(f().cmdstop.Enabled());
  EXPECT_TRUE(f().mnutime.visible);
  EXPECT_FALSE(app->frmhrs.Loaded());
  EXPECT_EQ(Shown(), ":");  // nothing is shown before the first second
}

TEST_F(CountdownTest, PauseGivesBackTheShownTimeAndResumesFromIt) {
  StartCountdown(f().cmdscreen, "3", "10");
  win.Advance(3000);
  ASSERT_EQ(Shown(), "3:08");
  win.Advance(999);
  f().cmdstop.Click();
  ExpectIdle();
  EXPECT_EQ(f().Text2.Text(), "3");
  EXPECT_EQ(f().Text1.Text(), "08");  // the last time shown
  EXPECT_EQ(win.Calls("PlaySound").back(), "PlaySound(, 0, 0)");
  EXPECT_TRUE(f().mnutime.visible);

  win.Advance(60000);  // nothing runs while paused
  EXPECT_EQ(Shown(), "3:08");

  f().cmdstart.Click();
  EXPECT_EQ(Second(), "3:08");
  EXPECT_EQ(Second(), "3:07");
}

TEST_F(CountdownTest, PauseBeforeTheFirstSecondKeepsTheWholeTime) {
  StartCountdown(f().cmdscreen, "30", "", "2");
  win.Advance(400);
  f().cmdstop.Click();
  EXPECT_EQ(f().Text2.Text(), "150");
  EXPECT_EQ(f().Text1.Text(), "00");

  f().cmdstart.Click();
  EXPECT_EQ(Second(), "150:00");
  EXPECT_EQ(Second(), "149:59");
}

TEST_F(CountdownTest, PauseInTheFirstSecondKeepsTheHours) {
  // The first second still shows the minutes as typed; the hours are already
  // folded in behind it, and pausing there must not drop them.
  StartCountdown(f().cmdscreen, "30", "", "2");
  ASSERT_EQ(Second(), "30:00");
  f().cmdstop.Click();
  EXPECT_EQ(f().Text2.Text(), "150");
  EXPECT_EQ(f().Text1.Text(), "00");

  f().cmdstart.Click();
  EXPECT_EQ(Second(), "150:00");
}

TEST_F(CountdownTest, APausedCountdownOfManyHoursCanBeResumed) {
  // 336 hours and 15000 minutes, paused after its first second: more minutes
  // are left than "&Start" accepts, so the hours go back to the hours window.
  StartCountdown(f().cmdscreen, "15000", "", "336");
  Second();
  Second();
  f().cmdstop.Click();
  EXPECT_EQ(f().Text2.Text(), "14999");
  EXPECT_EQ(f().Text1.Text(), "59");
  EXPECT_TRUE(f().Check1.Value());
  EXPECT_EQ(app->frmhrs().Text1.Text(), "336");
  EXPECT_TRUE(app->frmhrs().Visible());
  const std::size_t boxes = win.messageBoxes.size();
  f().cmdstart.Click();
  EXPECT_EQ(win.messageBoxes.size(), boxes) << "resumed without a refusal";
  EXPECT_EQ(Second(), "14999:59");  // the first second shows the minutes as typed
  EXPECT_EQ(Second(), "35159:58");
}

TEST_F(CountdownTest, PausedHoursAreAlwaysInSight) {
  // Paused before and within the first second, with "&Hours?" still ticked:
  // the hours handed back must be on the screen, not in a hidden window.
  for (const int millis : {0, 1000}) {
    StartCountdown(f().cmdscreen, "15000", "", "336");
    win.Advance(millis);
    f().cmdstop.Click();
    ASSERT_TRUE(f().Check1.Value());
    EXPECT_EQ(app->frmhrs().Text1.Text(), "336") << millis;
    EXPECT_TRUE(app->frmhrs().Visible()) << millis;
    f().Check1.Click();  // unticked: the next round starts clean
  }
}

TEST_F(CountdownTest, HoursThatAreNoWholeNumberAreRefusedAtStart) {
  for (const char* text : {"1e9", "NaN", "1.5", "0.5", "12x"}) {
    win.messageBoxes.clear();
    f().cmdscreen.Click();
    f().Check1.Click();
    Paste(app->frmhrs().Text1, text);
    Paste(f().Text2, "5");
    f().cmdstart.SetEnabled(true);
    f().cmdstart.Click();
    EXPECT_FALSE(countdown().Running()) << text;
    ASSERT_EQ(win.messageBoxes.size(), 1u) << text;
    EXPECT_EQ(win.messageBoxes[0].text, "Max time limit of 2 weeks has been reached!");
    EXPECT_EQ(win.messageBoxes[0].title, "Time");
    EXPECT_EQ(win.messageBoxes[0].style, 64u);
    f().Check1.Click();
  }
}

TEST_F(CountdownTest, LongestEntryRunsItsFullLength) {
  // 336 hours and 15000 minutes: 2,109,600 seconds, far past 16 bits of minutes.
  const std::uint64_t total = (336ull * 3600 + 15000ull * 60) * 1000;
  win.SetVersion(FakeWindows::Version::WinXP);
  StartCountdown(f().cmdscreen, "15000", "", "336");
  EXPECT_EQ(Second(), "15000:00");
  EXPECT_EQ(Second(), "35159:59");
  win.Stall(total - 5000);
  win.Advance(1000);
  EXPECT_EQ(Shown(), "0:03");
  EXPECT_FALSE(ScreenSaverSent());
  win.Advance(1999);
  EXPECT_FALSE(ScreenSaverSent());
  win.Advance(1);
  EXPECT_TRUE(ScreenSaverSent());
}

}  // namespace
}  // namespace tarnby
