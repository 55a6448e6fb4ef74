// tarnby.com on the real tarnby.exe under Wine, from outside: what a script
// gets from "tarnby ..." in a console. Lines on the right output, exit codes,
// arguments that arrive exactly, no box, and a prompt that comes back when
// tarnby.com starts a Tarnby that goes on running.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>

#include "drive.h"

namespace tarnby::drive {
namespace {

using Clock = std::chrono::steady_clock;

class ConsoleEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    EndRunningTarnby();  // one left by a test that failed half-way
    ForgetTarnbySettings();
  }
  void TearDown() override { EndRunningTarnby(); }
  static Finished Com(const std::wstring& arguments) { return RunToEnd(ConsoleCompanion(), arguments); }

  // The tarnby.exe that went on running after tarnby.com ended.
  static DWORD RunningTarnby() {
    for (HWND hwnd : TopLevelWindows(0))
      if (NameOf(hwnd) == L"frmstart") return ProcessOf(hwnd);
    return 0;
  }
  static void EndRunningTarnby() {
    if (const DWORD id = RunningTarnby(); id != 0) {
      HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
      ::TerminateProcess(process, 0);
      ::WaitForSingleObject(process, 5000);
      ::CloseHandle(process);
    }
  }

  // A box of any process that shows, or null.
  static HWND OpenBox() {
    for (HWND hwnd : TopLevelWindows(0))
      if (ClassOf(hwnd) == L"#32770" && ::IsWindowVisible(hwnd)) return hwnd;
    return nullptr;
  }
};

TEST_F(ConsoleEndToEnd, LinesExitCodesAndArgumentsAsTarnbyExeHasThem) {
  struct Case {
    const wchar_t* arguments;
    DWORD code;
    const char* output;  // the start of what goes to the output
    const char* errors;  // and to the error output
  };
  const Case cases[] = {
      {L"/status", 3, "no countdown\r\n", ""},
      {L"/?", 0, "Usage:\r\ntarnby.exe [ACTION]", ""},
      {L"/in 5x", 1, "", "\"5x\" is not a time such as 90, 45m, 1h30m or 1:30:00.\r\n\r\nUsage:\r\n"},
      // Quotes, blanks and backslashes arrive as they left the prompt.
      {L"/shutdown \"say \\\"hi\\\" \\\\\" /in 5", 1, "", "\"say \"hi\" \\\" is not a switch.\r\n"},
  };
  for (const Case& c : cases) {
    const Finished finished = Com(c.arguments);
    const std::string name(c.arguments, c.arguments + std::wcslen(c.arguments));
    EXPECT_EQ(finished.code, c.code) << name;
    EXPECT_TRUE(finished.output.starts_with(c.output)) << name << ": " << finished.output;
    EXPECT_TRUE(finished.errors.starts_with(c.errors)) << name << ": " << finished.errors;
    if (c.code == 1) {
      EXPECT_NE(finished.errors.find("tarnby.exe /status\r\n"), std::string::npos) << "the usage";
    }
    EXPECT_EQ(OpenBox(), nullptr) << name;
  }
  EXPECT_EQ(RunningTarnby(), 0u) << "nothing started a Tarnby";
}

TEST_F(ConsoleEndToEnd, ACountdownStartedFromTheConsoleLetsThePromptGoOnAndAnswersStatus) {
  const Clock::time_point started = Clock::now();
  const Finished start = Com(L"/shutdown /in 1h /hide");
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
  EXPECT_EQ(start.code, 0u);
  EXPECT_TRUE(start.closed) << "the running Tarnby holds the script's output";
  EXPECT_LT(took, 5000) << "tarnby.com waited " << took << " ms for the Tarnby it started";
  ASSERT_TRUE(WaitFor([] { return RunningTarnby() != 0; }, 10s));

  const Finished status = Com(L"/status");
  EXPECT_EQ(status.code, 0u);
  EXPECT_TRUE(status.output.starts_with("shut down in 0:59:") || status.output == "shut down in 1:00:00\r\n")
      << status.output;

  EXPECT_EQ(Com(L"/cancel").code, 0u);
  EXPECT_EQ(Com(L"/status").code, 3u);
  EXPECT_NE(RunningTarnby(), 0u) << "a cancel pauses; Tarnby keeps running";

  // Without arguments (an empty one is none) it starts Tarnby and returns at
  // once: here the copy that runs says so in its box, as from the icon.
  const Finished again = Com(L"\"\"");
  EXPECT_EQ(again.code, 0u);
  EXPECT_TRUE(again.output.empty() && again.errors.empty());
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = OpenBox()) != nullptr; }, 10s));
  EXPECT_EQ(MessageBoxText(box), L"This program is already running!");
  PressDialogButton(box, IDOK);
}

// With Tarnby running, tarnby.com asks it itself: the question is answered
// with tarnby.exe renamed away, so no tarnby.exe started for it. What the
// running copy does not take as a command still gets tarnby.exe's word.
TEST_F(ConsoleEndToEnd, WithTarnbyRunningTarnbyComAsksItWithoutStartingTarnbyExe) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"tarnby-com-" + std::to_wstring(::GetCurrentProcessId());
  const std::wstring exe = folder + L"\\tarnby.exe", away = folder + L"\\away.exe", com = folder + L"\\tarnby.com";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW(WindowsPath(TARNBY_EXE).c_str(), exe.c_str(), FALSE));
  ASSERT_TRUE(::CopyFileW(WindowsPath(TARNBY_COM).c_str(), com.c_str(), FALSE));
  {
    Tarnby running(exe, L"/screensaver /in 1h /hide");
    ASSERT_TRUE(WaitFor([] { return RunningTarnby() != 0; }, 10s));
    ASSERT_TRUE(::MoveFileW(exe.c_str(), away.c_str()));

    Finished status;
    EXPECT_TRUE(WaitFor([&] { return (status = RunToEnd(com, L"/status")).code == 0; }, 10s))
        << status.code << ": " << status.output << status.errors;
    EXPECT_TRUE(status.output.starts_with("start the screen saver in ")) << status.output;
    // Refused by the running copy: the reason on the error output, 1, no box there.
    const Finished refused = RunToEnd(com, L"/shutdown /when-exits nosuchprogram.exe");
    EXPECT_EQ(refused.code, 1u);
    EXPECT_EQ(refused.errors, "No program named \"nosuchprogram.exe\" is running, so there is nothing to wait for.\r\n");
    EXPECT_EQ(OpenBox(), nullptr) << "a box in the running copy";
    EXPECT_EQ(RunToEnd(com, L"/cancel").code, 0u);
    const Finished none = RunToEnd(com, L"/status");
    EXPECT_EQ(none.code, 3u);
    EXPECT_EQ(none.output, "no countdown\r\n");

    ASSERT_TRUE(::MoveFileW(away.c_str(), exe.c_str()));
    const Finished bad = RunToEnd(com, L"/in 5x");
    EXPECT_EQ(bad.code, 1u);
    EXPECT_TRUE(bad.errors.starts_with("\"5x\" is not a time")) << bad.errors;
    EXPECT_TRUE(running.Running());
  }
  ::DeleteFileW(away.c_str());
  ::DeleteFileW(exe.c_str());
  ::DeleteFileW(com.c_str());
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace tarnby::drive
