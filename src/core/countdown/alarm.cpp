// The alarm: a looping wave file, or a beep a second, in the last seconds
// before zero; a pair of pictures switches it, a button chooses the file.
#include "core/app.h"
#include "core/countdown/countdown.h"

namespace tarnby {

namespace {
constexpr char kAppTitle[] = "Tarnby";
constexpr char kNoWaveDevice[] = "Your System Cannot Play Wave Data";
constexpr char kChooseWaveTitle[] = "Select *.wav file to use for alarm sound";
const std::string kWaveFilter("Wav Sounds (*.wav)\0*.wav\0\0", 28);
constexpr std::uint32_t kFileBuffer = 255;

// The file the dialog wrote: up to its NUL, without the blanks around it.
std::string ReturnedPath(const std::string& buffer) {
  const std::string path = buffer.substr(0, buffer.find('\0'));
  const std::size_t first = path.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return path.substr(first, path.find_last_not_of(' ') + 1 - first);
}
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
  OpenFileName request;
  request.hwndOwner = f_.hwnd;
  request.hInstance = platform.InstanceHandle();
  request.lpstrFilter = kWaveFilter;
  request.nFilterIndex = 0;
  request.lpstrFile = std::string(kFileBuffer - 1, ' ');
  request.nMaxFile = kFileBuffer;
  request.lpstrFileTitle = std::string(kFileBuffer - 1, ' ');
  request.nMaxFileTitle = kFileBuffer;
  request.lpstrInitialDir = platform.ProgramFolder();
  request.lpstrTitle = kChooseWaveTitle;
  request.Flags = 0;
  if (!platform.GetOpenFileName(request)) return;
  alarmSoundPath_ = ReturnedPath(request.lpstrFile);
}

}  // namespace tarnby
