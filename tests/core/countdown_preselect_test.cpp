// The "Pre-Selects" frame: each button's end state, the force boxes that
// keep or lose their tick, and the program button opening its dialog.
#include "core/countdown_fixture.h"

namespace tarnby {
namespace {

const char* const kRings[] = {"shados", "shaprogram", "shascreen", "shasleep",
                              "shacd",  "sharestart", "shalog",    "shashut"};
const char* const kBoxes[] = {"chkrestart", "chklog", "chkshut"};

struct EndState {
  const char* button;
  const char* ring;
  const char* box;  // the one force box left usable, or ""
};

class PreSelectTable : public CountdownTest, public ::testing::WithParamInterface<EndState> {};

TEST_P(PreSelectTable, ShowsOnlyItsRingAndKeepsOnlyItsOwnBox) {
  const EndState& e = GetParam();
  for (const char* box : kBoxes) f().Find(box)->Click();  // all ticked before any choice
  f().Find(e.button)->Click();
  for (const char* ring : kRings) EXPECT_EQ(f().Find(ring)->Visible(), std::string(ring) == e.ring) << ring;
  for (const char* box : kBoxes) {
    const bool own = std::string(box) == e.box;
    EXPECT_EQ(f().Find(box)->Enabled(), own) << box;
    EXPECT_EQ(f().Find(box)->Value(), own) << box;  // its own tick stays, the others clear
  }
  // Choosing runs nothing.
  EXPECT_FALSE(countdown().Running());
  EXPECT_FALSE(win.Logged("ExitWindowsEx"));
}

INSTANTIATE_TEST_SUITE_P(Countdown, PreSelectTable,
                         ::testing::Values(EndState{"cmddos", "shados", ""},
                                           EndState{"cmdprogram", "shaprogram", ""},
                                           EndState{"cmdscreen", "shascreen", ""},
                                           EndState{"cmdsleep", "shasleep", ""},
                                           EndState{"cmdcd", "shacd", ""},
                                           EndState{"cmdrestart", "sharestart", "chkrestart"},
                                           EndState{"cmdlog", "shalog", "chklog"},
                                           EndState{"cmdshut", "shashut", "chkshut"}),
                         [](const ::testing::TestParamInfo<EndState>& info) {
                           return std::string(info.param.button);
                         });

TEST_F(CountdownTest, NothingIsPreSelectedAtStartUp) {
  for (const char* ring : kRings) EXPECT_FALSE(f().Find(ring)->Visible()) << ring;
  for (const char* box : kBoxes) {
    EXPECT_TRUE(f().Find(box)->Enabled()) << box;
    EXPECT_FALSE(f().Find(box)->Value()) << box;
  }
}

TEST_F(CountdownTest, ReselectingKeepsTheTickAndAnotherButtonMovesIt) {
  f().cmdlog.Click();
  f().chklog.Click();
  f().cmdlog.Click();
  EXPECT_TRUE(f().chklog.Value());
  f().cmdrestart.Click();
  EXPECT_FALSE(f().chklog.Value());
  EXPECT_FALSE(f().chklog.Enabled());
  EXPECT_TRUE(f().chkrestart.Enabled());
  EXPECT_FALSE(f().chkrestart.Value());
}

TEST_F(CountdownTest, ProgramButtonOpensTheProgramSelectionEveryTime) {
  f().cmdprogram.Click();
  ASSERT_TRUE(app->frmprogram.Loaded());
  EXPECT_TRUE(app->frmprogram().Visible());
  app->frmprogram().Hide();
  f().cmdprogram.Click();
  EXPECT_TRUE(app->frmprogram().Visible());
  EXPECT_TRUE(f().shaprogram.Visible());
}

TEST_F(CountdownTest, ChangingTheChoiceWhileRunningIsWhatZeroRuns) {
  win.SetVersion(FakeWindows::Version::WinXP);
  StartCountdown(f().cmdshut, "0", "3");
  win.Advance(1000);
  f().cmdscreen.Click();
  win.Advance(2000);
  EXPECT_FALSE(win.processEnded);
  EXPECT_TRUE(ScreenSaverSent());
}

}  // namespace
}  // namespace tarnby
