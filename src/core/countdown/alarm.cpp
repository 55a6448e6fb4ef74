// The alarm: a looping wave file, or a beep a second, in the last seconds
// before zero; a pair of pictures switches it, a button chooses the file.
#include "core/actions/file_request.h"
#include "core/app_title.h"
#include "core/countdown/countdown.h"
#include "core/countdown/wave_header.h"
#include "core/system/folders.h"

namespace tarnby {

namespace {
constexpr char kNoWaveDevice[] = "Your System Cannot Play Wave Data";
constexpr char kChooseWaveTitle[] = "Select *.wav file to use for alarm sound";
const std::string kWaveFilter("Wav Sounds (*.wav)\0*.wav\0", 25);
}  // namespace

void Countdown::WireAlarm() {
  f_.Image1.onClick = [this] { Image1_Click(); };
  f_.Image2.onClick = [this] { Image2_Click(); };
  f_.Command1.onClick = [this] { Command1_Click(); };
  f_.cmdwav.onClick = [this] { cmdwav_Click(); };
}

void Countdown::Image1_Click() {
  f_.Image1.SetVisible(false);
  f_.Image2.SetVisible(true);
}

void Countdown::Image2_Click() {
  f_.Image2.SetVisible(false);
  f_.Image1.SetVisible(true);
}

// The latch: the wave file starts once per countdown that reaches zero.
void Countdown::Command1_Click() {
  replay();
  f_.Command1.SetEnabled(false);
}

void Countdown::alarm() {
  // The counters have been stepped: sound while 1 to A - 1 seconds are left.
  const Counters& c = counters_;
  if (c.minutes != 0 || c.seconds < 1 || c.seconds >= c.alarmSeconds) return;
  if (!alarmSoundPath_.empty() && !f_.Command1.Enabled()) return;  // the wave file plays already
  // A file that is missing, or no wave file the system can play, sounds like
  // no file at all: the system's sound call is never handed a broken header.
  Platform& platform = platform_;
  if (alarmSoundPath_.empty() || !FitsMaxPath(alarmSoundPath_) ||
      !IsPlayableWave(platform.ReadFileStart(alarmSoundPath_, kWaveHeaderBytes)))
    platform.Beep();
  else
    f_.Command1.Click();
}

void Countdown::replay() { platform_.PlaySound(alarmSoundPath_, 0, w::kSndAsync | w::kSndLoop); }

void Countdown::cmdwav_Click() {
  Platform& platform = platform_;
  if (platform.waveOutGetNumDevs() < 1) {
    platform.MessageBox(kNoWaveDevice, kAppTitle, w::kMbOk);
    return;
  }
  OpenFileName request =
      OpenFileRequest(platform, f_.hwnd, kWaveFilter, platform.ProgramFolder(), kChooseWaveTitle);
  if (const std::optional<std::string> chosen = AskForFile(platform, request)) alarmSoundPath_ = *chosen;
}

}  // namespace tarnby
