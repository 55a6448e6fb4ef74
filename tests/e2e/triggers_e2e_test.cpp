// Triggers on the real tarnby.exe under Wine, handed over from outside: the
// screen saver five seconds after notepad has ended, a refusal when nobody
// runs the program, /cancel, the idle wait that keys keep putting off, and
// the quiet wait. As Windows 98 has it, the screen saver is the stored file,
// opened by the shell: a stand-in that notes each start.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "../win32/actions_stand_in.h"
#include "drive.h"

namespace tarnby::drive {
namespace {

using Clock = std::chrono::steady_clock;
using test::ExeFolder;
using test::NotedIds;

long long Milliseconds(Clock::duration d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); }

// A key as the user presses it: GetLastInputInfo counts it.
void PressShift() {
  SendKey(VK_SHIFT, false);
  SendKey(VK_SHIFT, true);
}

class TriggersEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetTarnbySettings();
    SetTarnbyWindowsVersion(L"win98");
    marker_ = ExeFolder() + L"\\triggers e2e marker.txt";
    ::DeleteFileW(marker_.c_str());
    ::SetEnvironmentVariableW(L"TARNBY_MARKER", marker_.c_str());
    const std::wstring saver = ExeFolder() + L"\\actions_marker.exe";
    SetRegString(HKEY_CURRENT_USER, L"Software\\Tarnby\\Registry\\Path", L"strscreen", saver);
  }
  void TearDown() override {
    if (notepad_) {
      ::TerminateProcess(notepad_, 0);
      ::CloseHandle(notepad_);
    }
    ::SetEnvironmentVariableW(L"TARNBY_MARKER", nullptr);
    ::DeleteFileW(marker_.c_str());
  }
  bool SaverStarted() const { return !NotedIds(marker_).empty(); }

  bool StartNotepad() {
    wchar_t command[] = L"notepad.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      return false;
    ::CloseHandle(process.hThread);
    notepad_ = process.hProcess;
    return ::WaitForInputIdle(notepad_, 10000) == 0;
  }
  // Ends notepad and waits until it has; the moment it ended.
  Clock::time_point EndNotepad() {
    ::TerminateProcess(notepad_, 0);
    ::WaitForSingleObject(notepad_, 10000);
    ::CloseHandle(notepad_);
    notepad_ = nullptr;
    return Clock::now();
  }

  // The moment the screen saver started, waiting at most the timeout.
  Clock::time_point WhenSaverStarts(Duration timeout) const {
    WaitFor([&] { return SaverStarted(); }, timeout);
    return Clock::now();
  }

  std::wstring marker_;
  HANDLE notepad_ = nullptr;
};

TEST_F(TriggersEndToEnd, TheScreenSaverComesFiveSecondsAfterNotepadHasEnded) {
  Tarnby tarnby(Exe());
  ASSERT_NE(tarnby.Form(L"frmstart"), nullptr);
  ASSERT_TRUE(StartNotepad());

  EXPECT_EQ(RunTarnby(L"/screensaver /when-exits notepad.exe /in 5s /hide").first, 0u);
  auto [code, line] = RunTarnby(L"/status");
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(line, "start the screen saver 5 s after notepad.exe exits\r\n");
  EXPECT_TRUE(WaitFor(
      [] {
        for (const std::wstring& tip : TrayTips())
          if (tip == L"Start the screen saver 5 s after notepad.exe exits") return true;
        return false;
      },
      5s))
      << "the tray's tip does not say what Tarnby waits for";

  // A name nobody runs: a message naming it, exit code 1, and the wait stays.
  Tarnby refused(Exe(), L"/shutdown /when-exits nobody-runs-this.exe");
  const auto message = refused.AnswerMessageBox(L"Tarnby");
  ASSERT_TRUE(message) << "no message";
  EXPECT_NE(message->find(L"nobody-runs-this.exe"), std::wstring::npos);
  ASSERT_TRUE(refused.WaitForExit(10s));
  EXPECT_EQ(refused.ExitCode(), 1u);

  // Any program may post the window the message of an ended wait, or the
  // number it once had: only notepad's handle tells.
  for (const UINT message : {::RegisterWindowMessageW(L"Tarnby.ObjectSignalled"), UINT{WM_APP + 1}})
    for (WPARAM cookie = 0; cookie < 8; ++cookie) ::PostMessageW(tarnby.Form(L"frmstart"), message, cookie, 0);
  ::Sleep(3000);
  EXPECT_FALSE(SaverStarted()) << "the screen saver started while notepad runs";
  EXPECT_EQ(RunTarnby(L"/status").second, line) << "the refused command changed the wait";

  const Clock::time_point ended = EndNotepad();
  const long long at = Milliseconds(WhenSaverStarts(15s) - ended);
  ASSERT_TRUE(SaverStarted()) << "no screen saver after notepad ended";
  EXPECT_GE(at, 4500) << "the countdown did not last 5 s";
  EXPECT_LE(at, 7000) << "the screen saver came " << at << " ms after notepad ended";
  EXPECT_FALSE(::IsWindowVisible(tarnby.Form(L"frmstart"))) << "/hide";
  EXPECT_EQ(RunTarnby(L"/status").first, 3u) << "the trigger is done";
}

TEST_F(TriggersEndToEnd, CancelDisarmsTheWait) {
  Tarnby tarnby(Exe());
  ASSERT_NE(tarnby.Form(L"frmstart"), nullptr);
  ASSERT_TRUE(StartNotepad());
  ASSERT_EQ(RunTarnby(L"/screensaver /when-exits notepad /in 1s /hide").first, 0u);
  EXPECT_EQ(RunTarnby(L"/cancel").first, 0u);
  EXPECT_EQ(RunTarnby(L"/status"), std::make_pair(DWORD{3}, std::string("no countdown\r\n")));
  EndNotepad();
  ::Sleep(4000);
  EXPECT_FALSE(SaverStarted()) << "a cancelled trigger fired";
  EXPECT_TRUE(tarnby.Running());
}

TEST_F(TriggersEndToEnd, IdleWaitsWhileKeysArePressedAndFiresEightSecondsAfterTheLast) {
  Tarnby tarnby(Exe());
  ASSERT_NE(tarnby.Form(L"frmstart"), nullptr);
  PressShift();  // Wine reads no input time before the first input
  ASSERT_EQ(RunTarnby(L"/screensaver /when-idle 6s /in 2s /hide").first, 0u);
  const std::string status = RunTarnby(L"/status").second;
  EXPECT_TRUE(status.starts_with("start the screen saver after 6 s idle (idle now 0:0")) << status;
  Clock::time_point last;
  for (int key = 0; key < 6; ++key) {
    PressShift();
    last = Clock::now();
    ::Sleep(2000);
  }
  EXPECT_FALSE(SaverStarted()) << "fired while keys were pressed every two seconds";
  const long long at = Milliseconds(WhenSaverStarts(15s) - last);
  ASSERT_TRUE(SaverStarted()) << "never fired";
  EXPECT_GE(at, 7500) << "fired before the idle time and the countdown had passed";
  EXPECT_LE(at, 9500) << "fired " << at << " ms after the last key";
}

TEST_F(TriggersEndToEnd, QuietFiresAfterFiveQuietSecondsAndTheCountdown) {
  Tarnby tarnby(Exe());
  ASSERT_NE(tarnby.Form(L"frmstart"), nullptr);
  const Clock::time_point handed = Clock::now();
  ASSERT_EQ(RunTarnby(L"/screensaver /when-quiet 5s /cpu 100 /net 10000000 /in 2s /hide").first, 0u);
  const long long at = Milliseconds(WhenSaverStarts(20s) - handed);
  ASSERT_TRUE(SaverStarted()) << "never fired";
  EXPECT_GE(at, 6500);
  EXPECT_LE(at, 9500) << "fired " << at << " ms after the command";
}

}  // namespace
}  // namespace tarnby::drive
