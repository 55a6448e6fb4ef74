// restart.exe's decisions: which shell it ends, when it starts one, and when
// it leaves things alone; and the 9x request.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "restart/restart_core.h"

namespace restart {
namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class FakeSystem : public System {
 public:
  bool anotherCopy = false;
  bool nt = true;
  ProcessId shell = 1200;
  std::wstring program = L"C:\\WINDOWS\\explorer.exe";
  bool ends = true;
  ProcessId comesBackAfterMs = 0;  // the system restarts the shell itself after this long; 0: never
  ProcessId comesBackAs = 0;
  bool starts = true;
  std::vector<bool> exitAnswers = {true, true};
  std::wstring windows = L"C:\\WINDOWS";
  std::uint32_t slept = 0;
  std::vector<std::string> log;

  bool TakeSingleInstance() override { return !anotherCopy; }
  bool IsNtFamily() override { return nt; }
  ProcessId ShellProcess() override {
    if (shell == 0 && comesBackAfterMs != 0 && slept >= comesBackAfterMs) return comesBackAs;
    return shell;
  }
  std::wstring ProgramOf(ProcessId process) override { return process == shell ? program : std::wstring(); }
  bool EndProcess(ProcessId process, std::uint32_t waitMs) override {
    log.push_back("end " + std::to_string(process) + " wait " + std::to_string(waitMs));
    if (ends) shell = 0;
    return ends;
  }
  void Sleep(std::uint32_t ms) override { slept += ms; }
  std::wstring WindowsFolder() override { return windows; }
  bool StartProgram(const std::wstring& path) override {
    log.push_back("start " + Narrow(path));
    return starts;
  }
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override {
    log.push_back("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reserved));
    const bool answer = exitAnswers.empty() ? false : exitAnswers.front();
    if (!exitAnswers.empty()) exitAnswers.erase(exitAnswers.begin());
    return answer;
  }
};

using Log = std::vector<std::string>;

TEST(RestartExe, EndsTheShellWaitsAndStartsTheSameProgramAgain) {
  FakeSystem system;
  system.program = L"D:\\Shells\\my shell.exe";
  EXPECT_EQ(RestartWindows(system), Outcome::ShellRestarted);
  EXPECT_EQ(system.log, (Log{"end 1200 wait 10000", "start D:\\Shells\\my shell.exe"}));
  EXPECT_GE(system.slept, 2000u);  // the system had its chance to bring it back
  EXPECT_EQ(ExitCodeFor(Outcome::ShellRestarted), 0);
}

TEST(RestartExe, StartsExplorerFromTheWindowsFolderWhenTheProgramIsUnknown) {
  for (const wchar_t* windows : {L"C:\\WINDOWS", L"C:\\WINDOWS\\", L"E:\\"}) {
    FakeSystem system;
    system.program.clear();
    system.windows = windows;
    EXPECT_EQ(RestartWindows(system), Outcome::ShellRestarted);
    ASSERT_EQ(system.log.size(), 2u);
    EXPECT_EQ(system.log[1], "start " + Narrow(DefaultShell(windows)));
  }
  EXPECT_EQ(DefaultShell(L"C:\\WINDOWS\\"), L"C:\\WINDOWS\\explorer.exe");
  EXPECT_EQ(DefaultShell(L"E:\\"), L"E:\\explorer.exe");
}

TEST(RestartExe, WithNoShellRunningItOnlyStartsOne) {
  FakeSystem system;
  system.shell = 0;
  EXPECT_EQ(RestartWindows(system), Outcome::ShellStarted);
  EXPECT_EQ(system.log, (Log{"start C:\\WINDOWS\\explorer.exe"}));
}

TEST(RestartExe, AShellThatWillNotEndGetsNoTwin) {
  FakeSystem system;
  system.ends = false;
  const Outcome outcome = RestartWindows(system);
  EXPECT_EQ(outcome, Outcome::ShellWouldNotEnd);
  EXPECT_EQ(system.log, (Log{"end 1200 wait 10000"}));
  EXPECT_EQ(ExitCodeFor(outcome), 1);
}

TEST(RestartExe, AShellTheSystemBringsBackItselfIsLeftAlone) {
  FakeSystem system;
  system.comesBackAfterMs = 800;
  system.comesBackAs = 1999;
  EXPECT_EQ(RestartWindows(system), Outcome::ShellCameBack);
  EXPECT_EQ(system.log, (Log{"end 1200 wait 10000"}));
  EXPECT_LT(system.slept, 2000u);  // stopped waiting as soon as it was there
}

TEST(RestartExe, ReportsAShellThatCouldNotBeStarted) {
  FakeSystem system;
  system.starts = false;
  const Outcome outcome = RestartWindows(system);
  EXPECT_EQ(outcome, Outcome::ShellStartFailed);
  EXPECT_EQ(ExitCodeFor(outcome), 1);
}

TEST(RestartExe, ASecondCopyDoesNothing) {
  FakeSystem system;
  system.anotherCopy = true;
  EXPECT_EQ(RestartWindows(system), Outcome::AlreadyRunning);
  EXPECT_TRUE(system.log.empty());
}

TEST(RestartExe, Windows9xIsAskedToRestartWindowsOnly) {
  FakeSystem system;
  system.nt = false;
  EXPECT_EQ(RestartWindows(system), Outcome::WindowsRestartAsked);
  EXPECT_EQ(system.log, (Log{"ExitWindowsEx 66 0"}));
}

TEST(RestartExe, Windows9xThatRefusesEndsTheSessionInstead) {
  FakeSystem system;
  system.nt = false;
  system.exitAnswers = {false, true};
  EXPECT_EQ(RestartWindows(system), Outcome::LoggedOff);
  EXPECT_EQ(system.log, (Log{"ExitWindowsEx 66 0", "ExitWindowsEx 0 0"}));

  FakeSystem stubborn;
  stubborn.nt = false;
  stubborn.exitAnswers = {false, false};
  EXPECT_EQ(RestartWindows(stubborn), Outcome::Refused);
  EXPECT_EQ(ExitCodeFor(Outcome::Refused), 1);
}

}  // namespace
}  // namespace restart
