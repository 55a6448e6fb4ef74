// Sleep, hibernate and lock on the real tarnby.exe under Wine, from outside.
// Wine's SetSuspendState and LockWorkStation change nothing one could see, so
// Wine itself reports the calls: the copies of tarnby.exe run with its relay
// trace limited to the power calls, the keep-awake request and the lock, and
// the trace (this test's standard error, a file: see CMakeLists.txt) is read
// here. IsPwrSuspendAllowed answers FALSE under Wine, as on a machine that
// cannot sleep; IsPwrHibernateAllowed answers TRUE.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "drive.h"

namespace tarnby::drive {
namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kTraced[] =
    L"powrprof.IsPwrSuspendAllowed;powrprof.IsPwrHibernateAllowed;powrprof.SetSuspendState;"
    L"user32.LockWorkStation;kernel32.SetThreadExecutionState";

class PowerEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Read by each new Wine process as it starts.
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Debug", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, L"RelayInclude", 0, REG_SZ, reinterpret_cast<const BYTE*>(kTraced), sizeof kTraced);
    ::RegCloseKey(key);
    ::SetEnvironmentVariableW(L"WINEDEBUG", L"-all,+relay");  // for the copies this test starts
  }
  void SetUp() override {
    ForgetTarnbySettings();
    traceStart_ = Trace(0).size();
  }

  // What Wine traced from the given offset on.
  static std::string Trace(std::size_t from) {
    HANDLE file = ::CreateFileW(WindowsPath(TARNBY_TRACE).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    ::CloseHandle(file);
    return from < text.size() ? text.substr(from) : std::string();
  }
  // The trace of this test so far.
  std::string Traced() const { return Trace(traceStart_); }
  bool WaitForTraced(const std::string& call, Duration timeout = 10s) const {
    return WaitFor([&] { return Traced().find(call) != std::string::npos; }, timeout);
  }

  std::size_t traceStart_ = 0;
};

TEST_F(PowerEndToEnd, LockCallsLockWorkStationAtOnceAndTarnbyKeepsRunning) {
  ASSERT_NE(::GetFileAttributesW(WindowsPath(TARNBY_TRACE).c_str()), INVALID_FILE_ATTRIBUTES)
      << "no trace: run this test through ctest, which sends its errors to the trace";
  Tarnby tarnby(Exe(), L"/lock");
  ASSERT_TRUE(WaitForTraced("Call user32.LockWorkStation()")) << "LockWorkStation was not called";
  ::Sleep(1000);
  EXPECT_TRUE(tarnby.Running());
  EXPECT_FALSE(::IsWindowVisible(tarnby.Form(L"frmstart"))) << "nothing to show for a lock at once";
}

TEST_F(PowerEndToEnd, ALockCountdownHidesTheUsersRingWhileItRunsAndShowsItAgainAfterwards) {
  Tarnby first(Exe());
  ASSERT_NE(first.ShowTimer(), nullptr);
  const HWND ring = first.Control(L"frmstart", L"shalog");
  const HWND force = first.Control(L"frmstart", L"chklog");
  Click(first.Control(L"frmstart", L"cmdlog"));
  Click(force);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(ring) && ::SendMessageW(force, BM_GETCHECK, 0, 0); }, 5s));
  EXPECT_EQ(RunToEnd(Exe(), L"/lock /in 2s").code, 0u);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(ring); }, 2s)) << "the ring claims to be what runs";
  ASSERT_TRUE(WaitForTraced("Call user32.LockWorkStation()")) << "LockWorkStation was not called";
  ASSERT_NE(first.ShowTimer(), nullptr);
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(ring) != FALSE; }, 5s)) << "the user's ring is gone";
  EXPECT_EQ(::SendMessageW(force, BM_GETCHECK, 0, 0), BST_CHECKED) << "the user's force box is cleared";
  EXPECT_TRUE(::IsWindowEnabled(force));
}

TEST_F(PowerEndToEnd, HibernateInTwoSecondsLetsTheKeepAwakeGoAndCallsSetSuspendStateWithTrue) {
  Tarnby first(Exe());
  ASSERT_NE(first.Form(L"frmstart"), nullptr);
  const Clock::time_point handed = Clock::now();
  EXPECT_EQ(RunToEnd(Exe(), L"/hibernate /in 2s /hide").code, 0u);
  const Finished status = RunToEnd(Exe(), L"/status");
  EXPECT_EQ(status.code, 0u);
  EXPECT_TRUE(status.output.starts_with("hibernate in 0:00:0")) << status.output;
  const std::string call = "Call powrprof.SetSuspendState(00000001,00000000,00000000)";
  ASSERT_TRUE(WaitForTraced(call)) << "SetSuspendState(TRUE, FALSE, FALSE) was not called";
  EXPECT_GE(Clock::now() - handed, 1500ms) << "called before the countdown reached zero";

  const std::string trace = Traced();
  EXPECT_NE(trace.find("Ret  powrprof.IsPwrHibernateAllowed() retval=00000001"), std::string::npos)
      << "not asked when the command came";
  const std::size_t awake = trace.find("Call KERNEL32.SetThreadExecutionState(80000001)");
  const std::size_t released = trace.find("Call KERNEL32.SetThreadExecutionState(80000000)", awake);
  ASSERT_NE(awake, std::string::npos) << "the countdown did not keep the machine awake";
  EXPECT_LT(released, trace.find(call)) << "the keep-awake request was not let go before the machine slept";
  EXPECT_TRUE(first.Running());
  const Finished after = RunToEnd(Exe(), L"/status");
  EXPECT_EQ(after.code, 3u);
  EXPECT_EQ(after.output, "no countdown\r\n");
}

TEST_F(PowerEndToEnd, SleepOnAMachineThatCannotGetsTheMessageAndExitCodeOneAndArmsNothing) {
  // Started alone and handed to a running copy alike.
  for (const bool anotherRuns : {false, true}) {
    std::optional<Tarnby> first;
    if (anotherRuns) {
      first.emplace(Exe());
      ASSERT_NE(first->Form(L"frmstart"), nullptr);
    }
    Tarnby sleeper(Exe(), L"/sleep /in 5s");
    ASSERT_EQ(sleeper.AnswerMessageBox(L"Tarnby"), L"This computer cannot sleep.") << "no message";
    ASSERT_TRUE(sleeper.WaitForExit(10s));
    EXPECT_EQ(sleeper.ExitCode(), 1u);
    EXPECT_EQ(RunToEnd(Exe(), L"/status").code, 3u) << "armed all the same";
  }
  ::Sleep(6000);  // past the five seconds that were asked for
  const std::string trace = Traced();
  EXPECT_NE(trace.find("Ret  powrprof.IsPwrSuspendAllowed() retval=00000000"), std::string::npos);
  EXPECT_EQ(trace.find("Call powrprof.SetSuspendState"), std::string::npos) << "SetSuspendState was called";
}

}  // namespace
}  // namespace tarnby::drive
