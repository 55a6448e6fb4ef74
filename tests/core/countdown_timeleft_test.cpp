// The time-left window: opened from the popup menu while a countdown runs,
// sized to its text at load, refreshed every second, slid out by "&Close"
// (and Esc), and closed at zero.
#include "core/countdown_fixture.h"

namespace tarnby {
namespace {

class TimeLeftTest : public CountdownTest {
 protected:
  Frmtime& OpenAt(const std::string& minutes, const std::string& seconds, int secondsRun) {
    StartCountdown(f().cmdscreen, minutes, seconds);
    win.Advance(1000ull * secondsRun);
    f().mnupopmenushow.Click();
    f().mnutime.Click();
    return app->frmtime();
  }
};

TEST_F(TimeLeftTest, MenuItemShowsFromTheFirstStartAndHidesAtZero) {
  EXPECT_FALSE(f().mnutime.visible);
  StartCountdown(f().cmdscreen, "0", "3");
  EXPECT_TRUE(f().mnutime.visible);
  f().cmdstop.Click();
  EXPECT_TRUE(f().mnutime.visible);
  f().cmdstart.Click();
  win.Advance(3000);
  EXPECT_FALSE(f().mnutime.visible);
}

TEST_F(TimeLeftTest, ShowsTheMainWindowsTimeAndFollowsItEverySecond) {
  Frmtime& time = OpenAt("12", "10", 3);
  EXPECT_TRUE(time.Visible());
  EXPECT_FALSE(f().Visible());
  EXPECT_EQ(time.Label1.Caption(), "12 : 08");
  win.Advance(1000);
  EXPECT_EQ(time.Label1.Caption(), "12 : 07");
}

TEST_F(TimeLeftTest, SizedToItsTextAtLoadAndNotAfter) {
  Frmtime& time = OpenAt("1", "2", 1);
  ASSERT_EQ(time.Label1.Caption(), "1 : 02");
  const TextSize text = win.MeasureText(time.Label1);
  EXPECT_EQ(time.Position().width, text.width);
  EXPECT_EQ(time.Position().height, text.height + 225);
  EXPECT_EQ(time.Command1.Position().left, 0);
  EXPECT_EQ(time.Command1.Position().width, text.width);

  const int width = time.Position().width;
  win.Advance(59000);
  f().cmdstop.Click();  // hold "0:02" while the window goes on refreshing
  f().Label3.SetCaption("10000");
  win.Advance(1000);
  EXPECT_EQ(time.Label1.Caption(), "10000 : 03");
  EXPECT_GT(time.Label1.Position().width, width);
  EXPECT_EQ(time.Position().width, width);  // the longer text is cut
}

TEST_F(TimeLeftTest, CloseSlidesOffTheLeftEdgeThenUnloads) {
  Frmtime& time = OpenAt("5", "", 1);
  ASSERT_TRUE(time.Command1.isCancel);  // Esc presses it
  std::vector<int> lefts;
  win.onDoEvents = [&] { lefts.push_back(time.Position().left); };
  time.Command1.Click();
  EXPECT_FALSE(app->frmtime.Loaded());
  EXPECT_FALSE(f().Visible());
  ASSERT_GE(lefts.size(), 2u);
  EXPECT_EQ(lefts[0], 3852);
  for (std::size_t i = 1; i < lefts.size(); ++i) EXPECT_EQ(lefts[i], lefts[i - 1] - 300);
  // The last step is the first that leaves it wholly beyond the edge.
  EXPECT_GE(lefts.back(), -time.Position().width);
  EXPECT_LT(lefts.back() - 300, -time.Position().width);
}

TEST_F(TimeLeftTest, ZeroClosesIt) {
  OpenAt("0", "5", 2);
  win.Advance(3000);
  EXPECT_FALSE(app->frmtime.Loaded());
}

TEST_F(TimeLeftTest, ZeroArrivingWhileItSlidesEndsTheSlide) {
  Frmtime& time = OpenAt("0", "5", 4);
  int turns = 0;
  win.onDoEvents = [&] {
    if (++turns == 3) win.Advance(1000);
  };
  time.Command1.Click();
  EXPECT_EQ(turns, 3);
  EXPECT_FALSE(app->frmtime.Loaded());
}

}  // namespace
}  // namespace tarnby
