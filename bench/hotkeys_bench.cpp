// The hot key poller on FakeWindows: what one Timer3 tick costs, and whether
// anything it asks the system for is left behind. Prints figures; the real
// binary's handle and GDI counts are measured under Wine by the end-to-end
// benchmark.
#include <chrono>
#include <cstdio>
#include <string>

#include "core/app.h"
#include "core/fake_windows.h"
#include "core/hotkeys/hotkeys.h"

using tarnby::App;
using tarnby::FakeWindows;

namespace {

struct Held {
  int idLists;
  int openKeys;
  int icons;
};

Held Count(const FakeWindows& win) { return {win.liveIdLists, win.OpenKeyCount(), win.liveIcons}; }

// Mean microseconds of one tick over n ticks. The fake's call log is cleared
// between rounds so its growth does not count against the tick.
double MeanTick(App& app, FakeWindows& win, int n) {
  double total = 0;
  for (int done = 0; done < n;) {
    const int round = std::min(1000, n - done);
    win.ClearLog();
    win.keyStateReads.clear();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < round; ++i) app.hotkeys->Timer3_Timer();
    total += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    done += round;
  }
  return total / n;
}

tarnby::Timer* ProgramIconTimer(App& app) {
  for (tarnby::Timer* timer : app.frmprogram().timers)
    if (timer->name == "Timer1") return timer;
  return nullptr;
}

}  // namespace

int main() {
  FakeWindows win;
  for (int i = 0; i < 40; ++i) win.AddFile("C:\\WINDOWS\\Recent\\~hidden" + std::to_string(i) + ".lnk", 0x2);
  win.AddFile("C:\\WINDOWS\\Recent\\Letter.lnk");
  win.SetRegDword(tarnby::w::kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\RemoteAccess",
                  "Remote Connection", 0);
  App app(win);
  if (!app.Start()) return 1;

  std::printf("Timer3 tick, no key held (simulated on FakeWindows, 41 recent entries):\n");
  std::printf("  mean %.3f us over 10000 ticks with the popup menu closed\n", MeanTick(app, win, 10000));
  app.frmstart.mnupopmenu.open = true;
  std::printf("  mean %.3f us with the popup menu down (its two items kept in step)\n", MeanTick(app, win, 10000));
  app.frmstart.mnupopmenu.open = false;
  win.keysDown = {tarnby::w::kVkShift, tarnby::w::kVkControl, 0x71};
  std::printf("  mean %.3f us with Shift+Ctrl+F2 held and that hot key off (one gating value read)\n",
              MeanTick(app, win, 10000));
  win.keysDown.clear();

  FakeWindows fresh;
  App second(fresh);
  if (!second.Start()) return 1;
  tarnby::Timer* icons = ProgramIconTimer(second);
  auto run = [&](int n) {
    for (int i = 0; i < n; ++i) {
      // Half the time with the menu down, so its upkeep is counted too.
      second.frmstart.mnupopmenu.open = i % 2 == 0;
      second.hotkeys->Timer3_Timer();
      if (icons) icons->Tick();
    }
    fresh.ClearLog();
  };
  run(100);
  const Held early = Count(fresh);
  run(9900);
  const Held late = Count(fresh);
  std::printf("Left held after 100 and after 10000 ticks%s:\n",
              icons ? " and program-icon refreshes" : " (no program-icon timer to refresh)");
  std::printf("  shell id lists %d -> %d, open registry keys %d -> %d, icons %d -> %d\n", early.idLists,
              late.idLists, early.openKeys, late.openKeys, early.icons, late.icons);
  const bool flat = early.idLists == late.idLists && early.openKeys == late.openKeys && early.icons == late.icons;
  std::printf("  %s\n", flat ? "flat" : "GROWING");
  return 0;
}
