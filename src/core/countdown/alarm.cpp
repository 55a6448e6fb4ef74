// The alarm: a looping wave file, or a beep a second, in the last seconds
// before zero; a pair of pictures switches it, a button chooses the file.
#include "core/actions/file_request.h"
#include "core/app.h"
#include "core/countdown/countdown.h"

namespace tarnby {

namespace {
constexpr char kNoWaveDevice[] = "Your System Cannot Play Wave Data";
constexpr char kChooseWaveTitle[] = "Select *.wav file to use for alarm sound";
const std::string kWaveFilter("Wav Sounds (*.wav)\0*.wav\0", 25);
}  // namespace

void Countdown::WireAlarm() {
  f_.Image1.onClick = [this] {
    f_.Image1.SetVisible(false);
    f_.Image2.SetVisible(true);
  };
  f_.Image2.onClick = [this] {
    f_.Image2.SetVisible(false);
    f_.Image1.SetVisible(true);
  };
  // The latch: the wave file starts once per countdown that reaches zero.
  f_.Command1.onClick = [this] {
    replay();
    f_.Command1.SetEnabled(false);
  };
  f_.cmdwav.onClick = [this] { cmdwav_Click(); };
}

void Countdown::alarm() {
  // The counters have been stepped: sound while 1 to A - 1 seconds are left.
  const Counters& c = counters_;
  if (c.minutes != 0 || c.seconds < 1 || c.seconds >= c.alarmSeconds) return;
  if (alarmSoundPath_.empty())
    app_.platform.Beep();
  else if (f_.Command1.Enabled())
    f_.Command1.Click();
}

void Countdown::replay() { app_.platform.PlaySound(alarmSoundPath_, 0, w::kSndAsync | w::kSndLoop); }

void Countdown::cmdwav_Click() {
  Platform& platform = app_.platform;
  if (platform.waveOutGetNumDevs() < 1) {
    platform.MessageBox(kNoWaveDevice, kAppTitle, w::kMbOk);
    return;
  }
  OpenFileName request =
      OpenFileRequest(platform, f_.hwnd, kWaveFilter, platform.ProgramFolder(), kChooseWaveTitle);
  if (const std::optional<std::string> chosen = AskForFile(platform, request)) alarmSoundPath_ = *chosen;
}

}  // namespace tarnby
