// The hot key poller on the real platform and windows under Wine: the mean
// cost of one Timer3 tick, and the process's handle and GDI object counts
// after 10,000 ticks and 10,000 program-icon refreshes next to the counts
// after the first 100. Prints figures; it is not a test.
//   xvfb-run -a tools/wine-run build/mingw/tests/win32/hotkeys_wine_bench.exe
#include "win32/win32_api.h"  // first: see there why

#include <cstdio>
#include <memory>
#include <string>

#include "core/app.h"
#include "core/hotkeys/hotkeys.h"
#include "win32/native_host_impl.h"
#include "win32/win32_platform.h"

namespace {

struct Counts {
  DWORD handles = 0;
  DWORD gdi = 0;
  DWORD user = 0;
};

// Wine answers GetProcessHandleCount and GetGuiResources with 0. There the
// live objects are counted by asking after every possible handle value: a
// kernel handle is a multiple of 4, and a GDI handle without its generation
// bits still names its table entry.
DWORD ProbeHandles() {
  DWORD live = 0;
  DWORD flags = 0;
  for (ULONG_PTR value = 4; value < 0x10000; value += 4)
    if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++live;
  return live;
}

DWORD ProbeGdiObjects() {
  DWORD live = 0;
  for (ULONG_PTR value = 0x10; value < 0x10000; ++value)
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0) ++live;
  return live;
}

bool probed = false;

Counts Now() {
  Counts counts;
  ::GetProcessHandleCount(::GetCurrentProcess(), &counts.handles);
  counts.gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  counts.user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  if (counts.handles == 0) {
    counts.handles = ProbeHandles();
    probed = true;
  }
  if (counts.gdi == 0) {
    counts.gdi = ProbeGdiObjects();
    probed = true;
  }
  return counts;
}

template <class F>
double MeanMicroseconds(int n, F&& work) {
  LARGE_INTEGER from, to, frequency;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&from);
  for (int i = 0; i < n; ++i) work();
  ::QueryPerformanceCounter(&to);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart) / n;
}

void SetString(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring InWindows(const wchar_t* file) {
  wchar_t folder[MAX_PATH] = {};
  ::GetWindowsDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\" + file;
}

}  // namespace

int main() {
  using namespace tarnby;
  // Two stored programs, so every refresh really extracts and draws icons.
  SetString(L"Software\\Tarnby\\Registry\\Run", L"strRun", InWindows(L"notepad.exe"));
  SetString(L"Software\\Tarnby\\Registry\\Run", L"strRun2", InWindows(L"regedit.exe"));

  NativeHostImpl host(::GetModuleHandleW(nullptr));
  Win32Platform platform(host);
  App app(platform);
  if (!app.Start()) {
    std::printf("another copy is running\n");
    return 1;
  }
  host.DoEvents();

  constexpr int kRounds = 10000;
  HotKeys& hotkeys = *app.hotkeys;
  std::printf("Timer3 tick, no key held, menu closed, real platform under Wine: mean %.1f us over %d ticks\n",
              MeanMicroseconds(kRounds, [&] { hotkeys.Timer3_Timer(); }), kRounds);
  std::printf("  of which: Shift and Ctrl read, hot key chain skipped %.1f us\n",
              MeanMicroseconds(kRounds, [&] { hotkeys.PollHotKeys(); }));
  std::printf("  Shift and Ctrl held, no row's key: the whole chain %.1f us\n", [&] {
    // Held as far as GetAsyncKeyState is concerned, without reaching other programs.
    INPUT down[2] = {};
    down[0].type = down[1].type = INPUT_KEYBOARD;
    down[0].ki.wVk = VK_SHIFT;
    down[1].ki.wVk = VK_CONTROL;
    ::SendInput(2, down, sizeof(INPUT));
    host.DoEvents();
    const double us = MeanMicroseconds(1000, [&] { hotkeys.PollHotKeys(); });
    INPUT up[2] = {down[0], down[1]};
    up[0].ki.dwFlags = up[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, up, sizeof(INPUT));
    host.DoEvents();
    return us;
  }());
  std::printf("While the menu is down, each tick also: recent documents %.1f us, dial-up %.1f us\n",
              MeanMicroseconds(1000, [&] { hotkeys.UpdateDocumentsItem(); }),
              MeanMicroseconds(1000, [&] { hotkeys.UpdateNetItem(); }));

  app.frmprogram().Show();
  host.DoEvents();
  Timer* icons = nullptr;
  for (Timer* timer : app.frmprogram().timers)
    if (timer->name == "Timer1") icons = timer;
  if (icons == nullptr) std::printf("(the program selection window has no icon timer: ticks only)\n");

  auto run = [&](int n) {
    for (int i = 0; i < n; ++i) {
      // Half the ticks with the popup menu down, so its upkeep is counted too.
      app.frmstart.mnupopmenu.open = i % 2 == 0;
      app.hotkeys->Timer3_Timer();
      if (icons) icons->Tick();
      if (i % 100 == 0) host.DoEvents();
    }
    app.frmstart.mnupopmenu.open = false;
    host.DoEvents();
  };
  run(100);
  const Counts early = Now();
  run(kRounds - 100);
  const Counts late = Now();
  std::printf("After 100 and after %d ticks%s:\n", kRounds, icons ? " and program-icon refreshes" : "");
  if (probed) std::printf("  (counted by probing handle values: the system does not report them)\n");
  std::printf("  handles %lu -> %lu, GDI objects %lu -> %lu", static_cast<unsigned long>(early.handles),
              static_cast<unsigned long>(late.handles), static_cast<unsigned long>(early.gdi),
              static_cast<unsigned long>(late.gdi));
  if (early.user != 0 || late.user != 0)
    std::printf(", USER objects %lu -> %lu", static_cast<unsigned long>(early.user),
                static_cast<unsigned long>(late.user));
  std::printf("\n");
  const bool flat = early.handles == late.handles && early.gdi == late.gdi && early.user == late.user;
  std::printf("  %s\n", flat ? "flat" : "GROWING");
  app.frmprogram.Unload();
  return flat ? 0 : 2;
}
