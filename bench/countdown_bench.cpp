// How far from the entered total the countdown's action runs, on the fake
// clock, when every window timer call comes late. Prints figures; it does not
// pass or fail.
#include <cstdio>
#include <memory>
#include <string>

#include "core/app.h"
#include "core/countdown/countdown.h"
#include "core/fake_windows.h"
#include "core/system/size_limit.h"

namespace {

using tarnby::App;
using tarnby::FakeWindows;

struct Length {
  const char* name;
  const char* hours;
  const char* minutes;
  std::uint64_t seconds;
};

void Type(tarnby::Control& box, const std::string& text) {
  for (char c : text) {
    int key = static_cast<unsigned char>(c);
    box.KeyPress(key);
    if (key != 0) box.NativeTextChanged(box.Text() + static_cast<char>(key));
  }
}

// Milliseconds between the entered total and the action; negative is early.
long long ActionError(const Length& length, std::uint32_t lateness) {
  FakeWindows win;
  win.SetVersion(FakeWindows::Version::WinXP);  // the screen saver is then one message
  auto app = std::make_unique<App>(win);
  app->Start();
  tarnby::Frmstart& f = app->frmstart;
  f.Timer3.SetEnabled(false);  // the hot key poll only costs time here
  win.timerLateness = lateness;

  f.cmdscreen.Click();
  if (*length.hours) {
    f.Check1.Click();
    Type(app->frmhrs().Text1, length.hours);
  }
  Type(f.Text2, length.minutes);
  f.cmdstart.Click();
  const std::uint64_t deadline = win.now + length.seconds * 1000;

  const auto acted = [&] { return win.Logged("SendMessage(") && !app->countdown->Running(); };
  win.Advance(deadline - win.now - 3000);
  win.ClearLog();
  long long error = 0;
  while (!acted()) {
    win.Advance(1);
    if (win.now > deadline + 60000) break;
  }
  error = static_cast<long long>(win.now) - static_cast<long long>(deadline);
  app.reset();
  tarnby::RestoreWindowProcs();
  return error;
}

}  // namespace

int main() {
  const Length lengths[] = {{"1 minute", "", "1", 60},
                            {"1 hour", "", "60", 3600},
                            {"1 day", "24", "0", 86400},
                            {"2 weeks", "336", "0", 1209600}};
  const std::uint32_t latenesses[] = {15, 55, 400};

  std::printf("Countdown: when the action runs, against the entered total (simulated clock)\n");
  std::printf("%-10s %14s %16s %26s\n", "length", "timer late by", "action error", "one step per call would be");
  for (const Length& length : lengths) {
    for (std::uint32_t lateness : latenesses) {
      const long long error = ActionError(length, lateness);
      const double naive = static_cast<double>(length.seconds) * lateness / 1000.0;
      std::printf("%-10s %11u ms %+13lld ms %23.1f s late\n", length.name, lateness, error, naive);
    }
  }
  return 0;
}
