// The command line on the real tarnby.exe under Wine, from outside: arguments
// handed to the running copy, /status printed, /cancel pausing, a bad
// argument that changes nothing, and the balloon a minute before shut down.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <shellapi.h>

#include <chrono>
#include <string>
#include <utility>

#include "drive.h"

namespace tarnby::drive {
namespace {

using Clock = std::chrono::steady_clock;

class CommandLineEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override { ForgetTarnbySettings(); }
  static std::wstring Exe() { return TARNBY_EXE; }

  static std::pair<DWORD, std::string> Run(const std::wstring& arguments) { return RunToEnd(Exe(), arguments); }

  // The text of the balloon the shell shows, or empty when none shows.
  static std::wstring Balloon() {
    for (HWND hwnd : TopLevelWindows(0))
      if (ClassOf(hwnd) == L"tooltips_class32" && ::IsWindowVisible(hwnd) &&
          (::GetWindowLongW(hwnd, GWL_STYLE) & TTS_BALLOON))
        return TextOf(hwnd);
    return {};
  }
};

TEST_F(CommandLineEndToEnd, ArgumentsReachTheRunningCopyStatusPrintsCancelPausesBadArgumentsChangeNothing) {
  Tarnby first(Exe());
  HWND minutes = first.Control(L"frmstart", L"Label3");
  ASSERT_NE(minutes, nullptr);

  const Clock::time_point handed = Clock::now();
  Tarnby second(Exe(), L"/restart /force /in 1h30m");
  ASSERT_TRUE(WaitFor([&] { return TextOf(minutes) == L"89"; }, 10s)) << "the countdown did not start";
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - handed).count();
  EXPECT_LT(took, 3000) << "89 minutes showed " << took << " ms after the second copy started";
  ASSERT_TRUE(second.WaitForExit(5s));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_TRUE(::IsWindowVisible(first.Form(L"frmstart")));
  EXPECT_TRUE(::IsWindowEnabled(first.Control(L"frmstart", L"chkrestart")));

  auto [code, line] = Run(L"/status");
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(line.starts_with("forced restart in 1:29:")) << line;

  Tarnby bad(Exe(), L"-restart --in 5x");
  HWND box = bad.MessageBoxTitled(L"Tarnby");
  ASSERT_NE(box, nullptr) << "no usage message";
  EXPECT_NE(MessageBoxText(box).find(L"tarnby.exe /status"), std::wstring::npos);
  PressDialogButton(box, IDOK);
  ASSERT_TRUE(bad.WaitForExit(10s));
  EXPECT_EQ(bad.ExitCode(), 1u);
  EXPECT_TRUE(Run(L"/status").second.starts_with("forced restart in 1:29:")) << "a bad argument changed the countdown";

  EXPECT_EQ(Run(L"/CANCEL").first, 0u);
  HWND pause = first.Control(L"frmstart", L"cmdstop");
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowEnabled(pause); }, 5s)) << "not paused";
  EXPECT_EQ(TextOf(first.Control(L"frmstart", L"Text2")), L"");
  EXPECT_EQ(Run(L"/status"), std::make_pair(DWORD{3}, std::string("no countdown\r\n")));
  EXPECT_TRUE(first.Running());
}

TEST_F(CommandLineEndToEnd, OneBalloonAtSixtySecondsBeforeTheShutDownAndItsClickShowsTheTimer) {
  Tarnby tarnby(Exe(), L"/shutdown /in 62s /hide");
  HWND frmstart = tarnby.Form(L"frmstart");
  ASSERT_NE(frmstart, nullptr);
  EXPECT_FALSE(::IsWindowVisible(frmstart));
  const Clock::time_point started = Clock::now();
  ASSERT_TRUE(WaitFor([] { return !Balloon().empty(); }, 10s)) << "no balloon";
  EXPECT_GE(Clock::now() - started, 1s) << "the balloon came before 60 seconds were left";
  const std::wstring notice = L"Tarnby will shut down the computer in 60 seconds.";
  EXPECT_EQ(Balloon(), notice);
  // Once: the text is not written again as the seconds go by.
  const Clock::time_point watchUntil = Clock::now() + 3s;
  while (Clock::now() < watchUntil) {
    const std::wstring shown = Balloon();
    EXPECT_TRUE(shown.empty() || shown == notice) << "a second balloon: " << std::string(shown.begin(), shown.end());
    ::Sleep(100);
  }
  // The shell reports a click on the balloon through the icon's callback.
  TrayMessage(tarnby.Control(L"frmstart", L"picscreen"), NIN_BALLOONUSERCLICK);
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(frmstart) != FALSE; }, 5s)) << "the click did not show the timer";
  EXPECT_TRUE(::IsWindowEnabled(tarnby.Control(L"frmstart", L"cmdstop")));
  EXPECT_EQ(Run(L"/cancel").first, 0u);
  EXPECT_TRUE(WaitFor([] { return Balloon().empty(); }, 5s)) << "the balloon stayed after the pause";
}

}  // namespace
}  // namespace tarnby::drive
