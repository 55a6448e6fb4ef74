// The system actions against the real system under Wine: the temporary-folder
// clean-up and its refusal, the shutdown privilege, starting the selected
// programs, and restart.exe ending and restarting a stand-in shell, started
// both directly and through Tarnby's own action path.
#include <gtest/gtest.h>

#include "actions_wine.h"
#include "core/actions/actions.h"
#include "core/app.h"
#include "core/system/folders.h"
#include "core/system/settings_store.h"
#include "win32/null_host.h"
#include "win32/utf16.h"

namespace tarnby {
namespace {

using test::ExeFolder;

// The real platform, noting whether the process may shut Windows down at the
// moment Tarnby asks it to.
class WatchedPlatform : public Win32Platform {
 public:
  using Win32Platform::Win32Platform;
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override {
    calls.push_back({flags, reserved, ShutdownPrivilegeEnabled()});
    return Win32Platform::ExitWindowsEx(flags, reserved);
  }
  struct Call {
    std::uint32_t flags, reserved;
    bool privileged;
  };
  std::vector<Call> calls;

  static bool ShutdownPrivilegeEnabled() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    PRIVILEGE_SET wanted{};
    wanted.PrivilegeCount = 1;
    wanted.Control = PRIVILEGE_SET_ALL_NECESSARY;
    ::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &wanted.Privilege[0].Luid);
    BOOL held = FALSE;
    ::PrivilegeCheck(token, &wanted, &held);
    ::CloseHandle(token);
    return held;
  }
  static void DropShutdownPrivilege() {
    HANDLE token = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    TOKEN_PRIVILEGES off{};
    off.PrivilegeCount = 1;
    off.Privileges[0].Attributes = 0;
    ::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &off.Privileges[0].Luid);
    ::AdjustTokenPrivileges(token, FALSE, &off, 0, nullptr, nullptr);
    ::CloseHandle(token);
  }
};

class ActionsWineTest : public ::testing::Test {
 protected:
  test::NullHost host;
  WatchedPlatform platform{host};
  App app{platform};
  Actions& actions() { return *app.actions; }
};

// ------------------------------------------------------------ temp folder

class KillEmAllTest : public ActionsWineTest {
 protected:
  void SetUp() override {
    // Inside the Windows folder's Temp, which is temporary however Wine names the user's.
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    folder = std::wstring(windows) + L"\\Temp\\Tarnby scratch Zoë " + std::to_wstring(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    test::WriteFileText(folder + L"\\plain.tmp", "a");
    test::WriteFileText(folder + L"\\read only.tmp", "b");
    ASSERT_TRUE(::SetFileAttributesW((folder + L"\\read only.tmp").c_str(), FILE_ATTRIBUTE_READONLY));
    test::WriteFileText(folder + L"\\hidden 東京.tmp", "c");
    ::SetFileAttributesW((folder + L"\\hidden 東京.tmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(::CreateDirectoryW((folder + L"\\sub").c_str(), nullptr));
    test::WriteFileText(folder + L"\\sub\\inside.tmp", "d");
    test::WriteFileText(folder + L"\\busy.tmp", "e");
    // Held open without delete sharing, as a running program holds its files.
    busy = ::CreateFileW((folder + L"\\busy.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                         nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
  }
  void TearDown() override {
    if (busy != INVALID_HANDLE_VALUE) ::CloseHandle(busy);
    for (const wchar_t* file : {L"\\plain.tmp", L"\\read only.tmp", L"\\hidden 東京.tmp", L"\\busy.tmp",
                                L"\\sub\\inside.tmp"}) {
      ::SetFileAttributesW((folder + file).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW((folder + file).c_str());
    }
    ::RemoveDirectoryW((folder + L"\\sub").c_str());
    ::RemoveDirectoryW(folder.c_str());
  }

  std::wstring folder;
  HANDLE busy = INVALID_HANDLE_VALUE;
};

TEST_F(KillEmAllTest, DeletesReadOnlyAndHiddenFilesAndLeavesSubfoldersAndFilesInUse) {
  for (const std::wstring& given : {folder, folder + L"\\"}) {
    SCOPED_TRACE(Utf8(given));
    test::WriteFileText(folder + L"\\plain.tmp", "again");
    EXPECT_TRUE(actions().KillEmAll(Utf8(given)));
    EXPECT_FALSE(test::Exists(folder + L"\\plain.tmp"));
    EXPECT_FALSE(test::Exists(folder + L"\\read only.tmp"));
    EXPECT_FALSE(test::Exists(folder + L"\\hidden 東京.tmp"));
    EXPECT_TRUE(test::Exists(folder + L"\\busy.tmp"));
    EXPECT_TRUE(test::Exists(folder + L"\\sub"));
    EXPECT_TRUE(test::Exists(folder + L"\\sub\\inside.tmp"));
  }
}

TEST_F(ActionsWineTest, TheWindowsFolderReportedAsTemporaryIsRefused) {
  const std::string windows = GetWindowsDir(platform);
  const std::wstring probe = Wide(windows) + L"\\tarnby probe.txt";
  test::WriteFileText(probe, "precious");
  wchar_t tmp[MAX_PATH] = {}, tempVar[MAX_PATH] = {};
  ::GetEnvironmentVariableW(L"TMP", tmp, MAX_PATH);
  ::GetEnvironmentVariableW(L"TEMP", tempVar, MAX_PATH);
  ::SetEnvironmentVariableW(L"TMP", Wide(windows).c_str());
  ::SetEnvironmentVariableW(L"TEMP", Wide(windows).c_str());
  ASSERT_EQ(windows + "\\", GetTmpPath(platform));

  test::ScriptedUser user({{L"Folder not Cleaned", test::PressOk}});
  app.frmstart.mnutemp.Click();
  user.Finish();

  ::SetEnvironmentVariableW(L"TMP", tmp);
  ::SetEnvironmentVariableW(L"TEMP", tempVar);
  ASSERT_EQ(user.Answered(), 1);
  EXPECT_EQ(Utf8(user.Texts()[0]),
            "Tarnby will not delete files in " + windows + "\\ because it is not a temporary folder.");
  EXPECT_EQ(test::ReadLines(probe), std::vector<std::string>{"precious"});
  ::DeleteFileW(probe.c_str());
}

TEST_F(ActionsWineTest, OnlyATemporaryFolderNamedInFullIsCleaned) {
  // Each TMP below leads the system to a folder that is not a temporary one:
  // the current folder, or the Windows folder spelled another way.
  const std::wstring windows = Wide(GetWindowsDir(platform));
  wchar_t here[MAX_PATH] = {}, tmp[MAX_PATH] = {}, tempVar[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, here);
  ::GetEnvironmentVariableW(L"TMP", tmp, MAX_PATH);
  ::GetEnvironmentVariableW(L"TEMP", tempVar, MAX_PATH);
  const std::wstring work = std::wstring(tmp) + L"\\Tarnby work " + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(work.c_str(), nullptr);
  ::CreateDirectoryW((work + L"\\mytemp").c_str(), nullptr);
  ASSERT_TRUE(::SetCurrentDirectoryW(work.c_str()));
  const std::wstring probes[] = {work + L"\\probe.txt", work + L"\\mytemp\\probe.txt", windows + L"\\tarnby probe.txt"};
  for (const std::wstring& probe : probes) test::WriteFileText(probe, "precious");

  for (const std::wstring& value : {std::wstring(L"."), std::wstring(L"mytemp"), work, L"\\\\.\\" + windows,
                                    L"\\\\?\\" + windows + L"\\", windows + L"\\system32\\.."}) {
    SCOPED_TRACE(Utf8(value));
    ::SetEnvironmentVariableW(L"TMP", value.c_str());
    test::ScriptedUser user({{L"Folder not Cleaned", test::PressOk}});
    app.frmstart.mnutemp.Click();
    user.Finish();
    EXPECT_EQ(user.Answered(), 1);
    for (const std::wstring& probe : probes) EXPECT_TRUE(test::Exists(probe)) << Utf8(probe);
  }

  ::SetEnvironmentVariableW(L"TMP", tmp);
  ::SetEnvironmentVariableW(L"TEMP", tempVar);
  ::SetCurrentDirectoryW(here);
  for (const std::wstring& probe : probes) ::DeleteFileW(probe.c_str());
  ::RemoveDirectoryW((work + L"\\mytemp").c_str());
  ::RemoveDirectoryW(work.c_str());
}

TEST_F(ActionsWineTest, ALinkInTheTemporaryFolderLeavesWhatItLeadsTo) {
  // The build puts temp_links\Temp\link.txt, a link to temp_links_target\precious.txt, beside this test.
  const std::wstring links = test::ExeFolder() + L"\\temp_links\\Temp";
  const std::wstring precious = test::ExeFolder() + L"\\temp_links_target\\precious.txt";
  ASSERT_TRUE(test::Exists(precious)) << "build the test again: an earlier run lost the file";
  test::WriteFileText(links + L"\\plain.tmp", "temporary");
  EXPECT_TRUE(actions().KillEmAll(Utf8(links)));
  EXPECT_FALSE(test::Exists(links + L"\\plain.tmp"));
  EXPECT_TRUE(test::Exists(precious));
}

// ------------------------------------------------------ shutdown privilege

TEST_F(ActionsWineTest, TheShutdownPrivilegeIsHeldWhenWindowsIsAskedToEnd) {
  WatchedPlatform::DropShutdownPrivilege();
  ASSERT_FALSE(WatchedPlatform::ShutdownPrivilegeEnabled());
  // Log off from a hot key: Tarnby keeps running, and Wine ends nothing
  // outside itself.
  actions().Perform(ActionCode::log, Caller::HotKey);
  ASSERT_EQ(platform.calls.size(), 1u);
  EXPECT_EQ(platform.calls[0].flags, 0u);
  EXPECT_EQ(platform.calls[0].reserved, 0u);
  EXPECT_TRUE(platform.calls[0].privileged);
}

// ------------------------------------------------------------ programs

class HelperTest : public ActionsWineTest {
 protected:
  void SetUp() override {
    marker = ExeFolder() + L"\\marker " + std::to_wstring(::GetCurrentProcessId()) + L".txt";
    ::DeleteFileW(marker.c_str());
    ::SetEnvironmentVariableW(L"TARNBY_MARKER", marker.c_str());
  }
  void TearDown() override {
    ::SetEnvironmentVariableW(L"TARNBY_MARKER", nullptr);
    ::DeleteFileW(marker.c_str());
  }
  std::vector<DWORD> Started() const { return test::NotedIds(marker); }

  std::wstring marker;
};

TEST_F(HelperTest, RunProgramsStartsBothStoredProgramsAndKeepsTarnbyRunning) {
  const std::wstring one = ExeFolder() + L"\\actions_marker.exe";
  const std::wstring two = ExeFolder() + L"\\actions marker two.exe";
  ASSERT_TRUE(test::Exists(one));
  ASSERT_TRUE(::CopyFileW(one.c_str(), two.c_str(), FALSE));
  WriteRegString(platform, w::kHkeyCurrentUser, kRunKeyAsWritten, "strRun", Utf8(one));
  WriteRegString(platform, w::kHkeyCurrentUser, kRunKeyAsWritten, "strRun2", Utf8(two));

  actions().RunPrograms();

  EXPECT_TRUE(test::WaitFor([&] { return Started().size() == 2; }));
  EXPECT_FALSE(app.frmprogram.Loaded());
  WriteRegString(platform, w::kHkeyCurrentUser, kRunKeyAsWritten, "strRun", "");
  WriteRegString(platform, w::kHkeyCurrentUser, kRunKeyAsWritten, "strRun2", "");
  test::WaitFor([&] { return ::DeleteFileW(two.c_str()) != 0; }, 5000);
}

// ------------------------------------------------------------ restart.exe

class RestartExeTest : public HelperTest {
 protected:
  void SetUp() override {
    HelperTest::SetUp();
    ASSERT_TRUE(test::EndTaskbarOwners());
    StartFakeShell();
  }
  void TearDown() override {
    EXPECT_TRUE(test::EndTaskbarOwners()) << "a stand-in shell would not end";
    HelperTest::TearDown();
  }

  void StartFakeShell() {
    ASSERT_TRUE(test::StartDetached(ExeFolder() + L"\\actions_fake_shell.exe"));
    ASSERT_TRUE(test::WaitFor([&] { return Started().size() == 1; }));
    shell = Started()[0];
    ASSERT_EQ(test::OwnerOf(::FindWindowW(L"Shell_TrayWnd", nullptr)), shell);
  }

  // restart.exe ended the shell and started the same program again.
  void ExpectShellRestarted() {
    ASSERT_TRUE(test::WaitFor([&] { return Started().size() == 2; }, 20000));
    const DWORD again = Started()[1];
    EXPECT_NE(again, shell);
    EXPECT_FALSE(test::ProcessAlive(shell));
    EXPECT_TRUE(test::WaitFor([&] { return test::OwnerOf(::FindWindowW(L"Shell_TrayWnd", nullptr)) == again; }));
  }

  DWORD shell = 0;
};

TEST_F(RestartExeTest, EndsTheShellAndStartsItAgain) {
  std::wstring command = L"\"" + ExeFolder() + L"\\restart.exe\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(
      ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  ASSERT_EQ(::WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 99;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  EXPECT_EQ(code, 0u);
  ExpectShellRestarted();
}

TEST_F(RestartExeTest, TarnbysRestartWindowsOnlyStartsIt) {
  // The program folder is this test's folder, where restart.exe lies too.
  ASSERT_EQ(platform.ProgramFolder(), Utf8(ExeFolder()));
  actions().Perform(ActionCode::restartw, Caller::HotKey);
  ExpectShellRestarted();
}

}  // namespace
}  // namespace tarnby
