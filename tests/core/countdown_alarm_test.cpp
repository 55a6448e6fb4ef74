// The alarm: when it beeps or starts the wave file, its switch, the latch
// that starts the file once per countdown, and choosing the file.
#include "core/countdown_fixture.h"
#include "core/wave_bytes.h"

namespace tarnby {
namespace {

class AlarmTest : public CountdownTest {
 protected:
  // The seconds (1-based) on which the countdown beeped, up to its zero.
  std::vector<int> BeepSeconds(int total) {
    std::vector<int> beeps;
    for (int second = 1; second <= total; ++second) {
      const int before = win.Count("Beep");
      win.Advance(1000);
      if (win.Count("Beep") > before) beeps.push_back(second);
    }
    return beeps;
  }

  // Chooses a proper wave file, written there first.
  void ChooseWave(const std::string& path, const std::string& bytes = test::WaveBytes({})) {
    const std::size_t first = path.find_first_not_of(' ');
    win.SetFileContent(path.substr(first, path.find_last_not_of(' ') + 1 - first), bytes);
    win.fileDialogAnswers.push_back(path);
    f().cmdwav.Click();
  }

  int WaveStarts() { return win.Count("PlaySound(C:\\Sounds\\bell.wav, 0, 9)"); }
};

struct BeepCase {
  const char* name;
  const char* minutes;
  const char* seconds;
  const char* alarm;
  int total;
  std::vector<int> beeps;
};

class BeepTable : public AlarmTest, public ::testing::WithParamInterface<BeepCase> {};

TEST_P(BeepTable, BeepsWhileOneToAlarmMinusOneSecondsAreLeft) {
  const BeepCase& c = GetParam();
  Paste(f().Text3, c.alarm);
  StartCountdown(f().cmdshut, c.minutes, c.seconds);
  EXPECT_EQ(BeepSeconds(c.total), c.beeps);
  EXPECT_TRUE(win.processEnded);
}

std::vector<int> Range(int first, int last) {
  std::vector<int> seconds;
  for (int s = first; s <= last; ++s) seconds.push_back(s);
  return seconds;
}

INSTANTIATE_TEST_SUITE_P(
    Countdown, BeepTable,
    ::testing::Values(BeepCase{"FiveOfTen", "0", "10", "5", 10, {6, 7, 8, 9}},
                      BeepCase{"FiveInTheLastMinuteOnly", "2", "", "5", 120, {116, 117, 118, 119}},
                      BeepCase{"Two", "0", "10", "2", 10, {9}},
                      BeepCase{"One", "0", "10", "1", 10, {}},
                      BeepCase{"Zero", "0", "10", "0", 10, {}},
                      BeepCase{"SixtyFromTheLastMinute", "1", "30", "60", 90, Range(31, 89)},
                      BeepCase{"StartedInsideTheAlarm", "0", "3", "5", 3, {1, 2}}),
    [](const ::testing::TestParamInfo<BeepCase>& info) { return std::string(info.param.name); });

TEST_F(AlarmTest, WaveFileLoopsFromTheFirstAlarmSecondUntilZero) {
  ChooseWave("C:\\Sounds\\bell.wav");
  StartCountdown(f().cmdscreen, "0", "10");
  win.Advance(5000);
  EXPECT_EQ(WaveStarts(), 0);
  win.Advance(1000);
  EXPECT_EQ(WaveStarts(), 1);
  EXPECT_EQ(win.playing, "C:\\Sounds\\bell.wav");
  win.Advance(3000);
  EXPECT_EQ(WaveStarts(), 1);
  EXPECT_FALSE(win.Logged("Beep"));
  win.Advance(1000);
  EXPECT_EQ(win.playing, "");
  EXPECT_FALSE(countdown().Running());
}

TEST_F(AlarmTest, PauseStopsTheWaveAndTheLatchKeepsItOffUntilTheNextZero) {
  ChooseWave("C:\\Sounds\\bell.wav");
  StartCountdown(f().cmdscreen, "0", "10");
  win.Advance(7000);
  ASSERT_EQ(win.playing, "C:\\Sounds\\bell.wav");
  f().cmdstop.Click();
  EXPECT_EQ(win.playing, "");
  f().cmdstart.Click();  // resumes at 0:04, inside the alarm period
  win.Advance(4000);
  EXPECT_EQ(WaveStarts(), 1);
  ASSERT_FALSE(countdown().Running());

  // Zero opened the latch: the next countdown sounds again.
  StartCountdown(f().cmdscreen, "0", "6");
  win.Advance(2000);
  EXPECT_EQ(WaveStarts(), 2);
}

TEST_F(AlarmTest, AFileThatIsNoPlayableWaveBeepsLikeNoFile) {
  using test::WaveFormat;
  const std::string good = test::WaveBytes({});
  const std::string bad[] = {
      "",                                                       // empty (or gone)
      "RIFF\x04\0\0\0WAVE",                                     // no fmt chunk
      "RIFX" + good.substr(4),                                  // not RIFF
      good.substr(0, 30),                                       // cut inside fmt
      test::WaveBytes(WaveFormat{.fmtSize = 0x7FFFFFF0}),       // fmt claims an absurd size
      test::WaveBytes(WaveFormat{.fmtSize = 12}),               // too small
      test::WaveBytes(WaveFormat{.bits = 0xFFF0}),              // absurd bits per sample
      test::WaveBytes(WaveFormat{.bits = 12}),                  // PCM bits that fill no byte
      test::WaveBytes(WaveFormat{.channels = 0}),
      test::WaveBytes(WaveFormat{.channels = 0xFFFF}),
      test::WaveBytes(WaveFormat{.rate = 0}),
      test::WaveBytes(WaveFormat{.rate = 0xFFFFFFFF}),
      test::WaveBytes(WaveFormat{.alignDelta = 1}),             // block alignment disagrees
      test::WaveBytes(WaveFormat{.format = 0xFFFE}),            // extensible without its fields
  };
  for (const std::string& bytes : bad) {
    SCOPED_TRACE(::testing::PrintToString(bytes));
    win.ClearLog();
    ChooseWave("C:\\Sounds\\bell.wav", bytes);
    StartCountdown(f().cmdscreen, "0", "10");
    EXPECT_EQ(BeepSeconds(10), (std::vector<int>{6, 7, 8, 9}));
    EXPECT_EQ(WaveStarts(), 0);
  }
  // The same file, made proper, plays: the check is made when the alarm comes.
  win.SetFileContent("C:\\Sounds\\bell.wav", test::WaveBytes({.format = 3, .bits = 32}));
  StartCountdown(f().cmdscreen, "0", "10");
  win.Advance(6000);
  EXPECT_EQ(WaveStarts(), 1);
}

TEST_F(AlarmTest, BeepsHaveNoLatch) {
  StartCountdown(f().cmdshut, "0", "10");
  win.Advance(7000);
  f().cmdstop.Click();
  f().cmdstart.Click();
  win.Advance(2000);
  EXPECT_EQ(win.Count("Beep"), 4);  // 05, 04 before the pause; 03, 02 after
}

TEST_F(AlarmTest, SwitchedOffNothingSoundsAndOnAgainItDoes) {
  f().Image1.Click();
  EXPECT_FALSE(f().Image1.Visible());
  EXPECT_TRUE(f().Image2.Visible());
  StartCountdown(f().cmdscreen, "0", "10");
  win.Advance(10000);
  EXPECT_FALSE(win.Logged("Beep"));

  f().Image2.Click();
  EXPECT_TRUE(f().Image1.Visible());
  EXPECT_FALSE(f().Image2.Visible());
  StartCountdown(f().cmdscreen, "0", "10");
  win.Advance(10000);
  EXPECT_EQ(win.Count("Beep"), 4);
}

TEST_F(AlarmTest, SwitchingOffLeavesAPlayingWaveToPlayOn) {
  ChooseWave("C:\\Sounds\\bell.wav");
  StartCountdown(f().cmdscreen, "0", "10");
  win.Advance(6000);
  f().Image1.Click();
  win.Advance(1000);
  EXPECT_EQ(win.playing, "C:\\Sounds\\bell.wav");
}

TEST_F(AlarmTest, CatchingUpSoundsOnlyForTheCurrentSecond) {
  StartCountdown(f().cmdscreen, "0", "10");
  win.Advance(4000);
  win.Stall(4500);  // free at 8.5 s: seconds 5 to 8 are due at once
  win.Advance(1);
  EXPECT_EQ(win.Count("Beep"), 1);
  EXPECT_EQ(f().display.Caption(), "03");
}

TEST_F(AlarmTest, ChoosingTheWaveAsksWithTheProgramFolderAndTrimsTheAnswer) {
  ChooseWave("  C:\\Sounds\\bell.wav ");
  ASSERT_EQ(win.fileDialogs.size(), 1u);
  const OpenFileName& asked = win.fileDialogs[0];
  EXPECT_EQ(asked.lStructSize, 76u);
  EXPECT_EQ(asked.hwndOwner, f().hwnd);
  EXPECT_EQ(asked.lpstrTitle, "Select *.wav file to use for alarm sound");
  const char filter[] = "Wav Sounds (*.wav)\0*.wav\0";  // and the closing NUL
  EXPECT_EQ(asked.lpstrFilter, std::string(filter, sizeof filter));
  EXPECT_EQ(asked.lpstrInitialDir, "C:\\Program Files\\Tarnby");
  EXPECT_EQ(asked.nMaxFile, 255u);
  EXPECT_EQ(asked.lpstrFile, std::string(254, ' '));
  EXPECT_EQ(asked.Flags, 0u);
  EXPECT_EQ(countdown().AlarmSoundPath(), "C:\\Sounds\\bell.wav");

  win.fileDialogAnswers.push_back(std::nullopt);
  f().cmdwav.Click();
  EXPECT_EQ(countdown().AlarmSoundPath(), "C:\\Sounds\\bell.wav");  // a cancel keeps it
}

TEST_F(AlarmTest, WithoutAWaveDeviceTheButtonOnlySaysSo) {
  win.waveDevices = 0;
  f().cmdwav.Click();
  EXPECT_TRUE(win.fileDialogs.empty());
  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, "Your System Cannot Play Wave Data");
  EXPECT_EQ(win.messageBoxes[0].title, "Tarnby");
  EXPECT_EQ(win.messageBoxes[0].style, 0u);
}

}  // namespace
}  // namespace tarnby
