// The one way into a countdown: what "&Start", the command line and the
// triggers hand it is refused with "&Start"'s own messages, and a countdown it
// starts shows its time in the boxes.
#include "core/command_line/command_line.h"
#include "core/commands/commands.h"
#include "core/countdown/preselect_names.h"
#include "core/countdown_fixture.h"

namespace tarnby {
namespace {

const PreSelectName& Named(const char* switchName) {
  for (const PreSelectName& name : kPreSelectNames)
    if (std::string(name.switchName) == switchName) return name;
  return kPreSelectNames.front();
}

struct BeginCase {
  const char* name;
  const char* action;  // the switch name of what Begin is asked to run; "" none
  bool forced;
  CountdownTime time;
  const char* alarm;
  const char* message;
  const char* title;
};

class BeginRefusals : public CountdownTest, public ::testing::WithParamInterface<BeginCase> {};

TEST_P(BeginRefusals, AreStartsOwnAndChangeNothing) {
  const BeginCase& c = GetParam();
  f().cmdshut.Click();  // the frame shows shut down, not forced
  Paste(f().Text2, "7");
  Paste(f().Text3, c.alarm);
  const Countdown::ZeroAction action{*c.action ? &Named(c.action) : nullptr, c.forced, std::nullopt};
  EXPECT_FALSE(countdown().Begin(action, c.time));
  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, c.message);
  EXPECT_EQ(win.messageBoxes[0].title, c.title);
  EXPECT_FALSE(countdown().Running());
  EXPECT_EQ(f().Text2.Text(), "7") << "a refused start writes no box";
  EXPECT_TRUE(win.Calls("SetThreadExecutionState").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Countdown, BeginRefusals,
    ::testing::Values(
        BeginCase{"NoAction", "", false, {0, 5, 0}, "5", "You must select one of the options above", "Tarnby"},
        BeginCase{"NotWhatTheFrameShows", "restart", false, {0, 5, 0}, "5", "You must select one of the options above",
                  "Tarnby"},
        BeginCase{"ForcedButTheBoxIsClear", "shutdown", true, {0, 5, 0}, "5",
                  "You must select one of the options above", "Tarnby"},
        BeginCase{"TooManyMinutes", "shutdown", false, {0, 15001, 0}, "5", "Keep it under 15,000 minutes!", "Tarnby"},
        BeginCase{"AlarmTooLong", "shutdown", false, {0, 5, 0}, "61", "Alarm seconds must be under 60", "Tarnby"},
        BeginCase{"TooManySeconds", "shutdown", false, {0, 5, 61}, "5", "Seconds must be 60 or below", "Tarnby"},
        BeginCase{"NegativeSeconds", "shutdown", false, {0, 5, -1}, "5", "Seconds must be 60 or below", "Tarnby"},
        BeginCase{"TooManyHours", "shutdown", false, {337, 0, 0}, "5", "Max time limit of 2 weeks has been reached!",
                  "Time"}),
    [](const ::testing::TestParamInfo<BeginCase>& info) { return std::string(info.param.name); });

TEST_F(CountdownTest, ABeginShowsItsTimeInTheBoxesAndKeepsTheUsersSpelling) {
  f().cmdscreen.Click();
  Paste(f().Text2, "2.0");
  ASSERT_TRUE(countdown().Begin({&Named("screensaver"), false, std::nullopt}, CountdownTime::Of(2 * 3600 + 2 * 60 + 5)));
  EXPECT_EQ(f().Text2.Text(), "2.0") << "already reads 2";
  EXPECT_EQ(f().Text1.Text(), "5");
  EXPECT_TRUE(f().Check1.Value());
  EXPECT_EQ(countdown().SecondsLeft(), 2 * 3600 + 2 * 60 + 5);
  EXPECT_EQ(Second(), "2:05");
  EXPECT_EQ(f().lblhrs.Caption(), "2");
}

TEST_F(CountdownTest, ACommandReplacingAPausedCountdownIsANewOneWithItsOwnNotice) {
  app->commandLine->Act(ParseCommandLine({"/shutdown", "/in", "30", "/hide"}));
  ASSERT_EQ(win.balloons.size(), 1u);
  f().cmdstop.Click();
  app->commandLine->Act(ParseCommandLine({"/logoff", "/in", "20", "/hide"}));
  EXPECT_TRUE(countdown().Running());
  EXPECT_EQ(countdown().SecondsLeft(), 20);
  ASSERT_EQ(win.balloons.size(), 2u);
  EXPECT_EQ(win.balloons[1].text, "Tarnby will log you off in 20 seconds.");
}

}  // namespace
}  // namespace tarnby
