// Start with Windows for a standard user, on the real tarnby.exe: the
// machine-wide run key is refused as Windows refuses it to a program that is
// not elevated, Tarnby writes the user's own entry, starts from it as Windows
// does at logon, and takes it away again. An entry Task Manager has marked
// disabled is off until Tarnby is switched on again.
#include "drive.h"  // first: <windows.h> before <sddl.h>

#include <gtest/gtest.h>
#include <sddl.h>

#include <string>
#include <vector>

namespace tarnby::drive {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kApprovedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr wchar_t kFolder[] = L"C:\\Program Files\\Tar nby";
constexpr wchar_t kCopy[] = L"C:\\Program Files\\Tar nby\\tarnby.exe";
constexpr wchar_t kScreenTip[] = L"Double click to start screensaver, right click for menu";

// Everyone may read the machine-wide run key but neither set values nor make
// keys there. Wine keeps a key's security only while its server runs, which
// it does while this test does.
class RefusedRunKey {
 public:
  RefusedRunKey() {
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, READ_CONTROL | WRITE_DAC, &key_) != ERROR_SUCCESS) return;
    DWORD size = 0;
    ::RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
    saved_.resize(size);
    if (::RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data(), &size) != ERROR_SUCCESS) return;
    PSECURITY_DESCRIPTOR refusing = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x6;;;WD)(A;;GA;;;WD)", SDDL_REVISION_1,
                                                                &refusing, nullptr))
      return;
    set_ = ::RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, refusing) == ERROR_SUCCESS;
    ::LocalFree(refusing);
  }
  ~RefusedRunKey() {
    if (set_) ::RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data());
    if (key_) ::RegCloseKey(key_);
  }
  // Whether a write is now refused with access denied, as a standard user's is.
  bool Refuses() const {
    HKEY probe = nullptr;
    const LSTATUS status = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &probe);
    if (probe) ::RegCloseKey(probe);
    return set_ && status == ERROR_ACCESS_DENIED;
  }

 private:
  HKEY key_ = nullptr;
  std::vector<BYTE> saved_;
  bool set_ = false;
};

class StartWithWindowsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetTarnbySettings();
    SetTarnbyWindowsVersion(L"win10");
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Tarnby");
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Tarnby");
    ::CreateDirectoryW(kFolder, nullptr);
    ASSERT_TRUE(::CopyFileW(WindowsPath(Exe()).c_str(), kCopy, FALSE)) << "copying tarnby.exe";
  }
  void TearDown() override {
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Tarnby");
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kApprovedKey, L"Tarnby");
  }

  static std::optional<std::wstring> UserEntry() { return ReadRegString(HKEY_CURRENT_USER, kRunKey, L"Tarnby"); }
  static std::optional<std::wstring> MachineEntry() {
    return ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, L"Tarnby");
  }
  // "on": only the labels and options that switch off are offered.
  static bool ShowsOn(const Tarnby& tarnby, bool on) {
    return WaitFor([&] {
      return (::IsWindowEnabled(tarnby.Control(L"frmstart", L"Label8")) == FALSE) == on &&
             (::IsWindowEnabled(tarnby.Control(L"frmstart", L"Option1")) == FALSE) == on &&
             (::IsWindowEnabled(tarnby.Control(L"frmstart", L"Label9")) != FALSE) == on &&
             (::IsWindowEnabled(tarnby.Control(L"frmstart", L"Option2")) != FALSE) == on;
    });
  }
  // Up in the tray, main window hidden, and no message box within two seconds.
  static void ExpectQuietStart(const Tarnby& tarnby) {
    ASSERT_TRUE(tarnby.Started());
    ASSERT_NE(tarnby.Control(L"frmstart", L"picscreen"), nullptr) << "Tarnby did not come up";
    EXPECT_TRUE(WaitFor([] { return TrayTips() == std::vector<std::wstring>{kScreenTip}; }, 10s)) << "no tray icon";
    EXPECT_EQ(tarnby.MessageBoxTitled(L"Tarnby", 2s), nullptr) << "a message at a start from the run entry";
    EXPECT_TRUE(tarnby.Running());
    EXPECT_FALSE(::IsWindowVisible(tarnby.Form(L"frmstart")));
  }
  static void Exit(Tarnby& tarnby) {
    TrayRightClick(tarnby.Control(L"frmstart", L"picscreen"));
    HWND menu = tarnby.PopupMenu();
    ASSERT_NE(menu, nullptr);
    ChooseMenuItem(menu, L'x');
    ASSERT_TRUE(tarnby.AnswerMessageBox(L"Leave Tarnby?", IDYES));
    ASSERT_TRUE(tarnby.WaitForExit());
    WaitFor([] { return TrayTips().empty(); }, 5s);
  }
};

TEST_F(StartWithWindowsEndToEnd, TheUsersOwnEntryIsWrittenStartsTarnbyQuietlyAndIsRemoved) {
  const RefusedRunKey refused;
  ASSERT_TRUE(refused.Refuses()) << "Wine did not refuse the machine-wide run key";
  const std::wstring quoted = std::wstring(L"\"") + kCopy + L"\"";
  {
    Tarnby tarnby(kCopy);
    ASSERT_TRUE(tarnby.Started());
    ASSERT_TRUE(ShowsOn(tarnby, false));
    ClickLabel(tarnby.Control(L"frmstart", L"Label8"));
    EXPECT_TRUE(WaitFor([&] { return UserEntry() == quoted; })) << "the user's entry was not written";
    EXPECT_TRUE(ShowsOn(tarnby, true));
    EXPECT_FALSE(MachineEntry());
    EXPECT_EQ(tarnby.MessageBoxTitled(L"Tarnby", 1s), nullptr);
    Exit(tarnby);
  }
  // As Windows starts the entry at logon; and the same path without quotes,
  // which Windows hands over as written, split at its spaces.
  {
    Tarnby fromEntry(kCopy, Tarnby::AsRunEntry{*UserEntry()});
    ExpectQuietStart(fromEntry);
    Exit(fromEntry);
  }
  Tarnby unquoted(kCopy, Tarnby::AsRunEntry{kCopy});
  ExpectQuietStart(unquoted);
  EXPECT_TRUE(ShowsOn(unquoted, true));
  ClickLabel(unquoted.Control(L"frmstart", L"Label9"));
  EXPECT_TRUE(WaitFor([] { return !UserEntry(); })) << "switching off left the user's entry";
  EXPECT_TRUE(ShowsOn(unquoted, false));
  EXPECT_EQ(unquoted.MessageBoxTitled(L"Tarnby", 1s), nullptr);
  Exit(unquoted);
}

TEST_F(StartWithWindowsEndToEnd, AMachineWideEntryTheUserMayNotChangeStaysOnAndIsTold) {
  ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kRunKey, L"Tarnby", kCopy));
  const RefusedRunKey refused;
  ASSERT_TRUE(refused.Refuses());
  Tarnby tarnby(kCopy);
  ASSERT_TRUE(tarnby.Started());
  ASSERT_TRUE(ShowsOn(tarnby, true));
  Click(tarnby.Control(L"frmstart", L"Option2"));
  ASSERT_EQ(tarnby.AnswerMessageBox(L"Tarnby"),
            L"Tarnby was set to load for every user of this computer. Only an administrator can turn that off.")
      << "the refusal passed in silence";
  EXPECT_TRUE(ShowsOn(tarnby, true));
  EXPECT_EQ(MachineEntry(), std::wstring(kCopy));
  Exit(tarnby);
}

// As Task Manager's Startup page leaves it: the entry in place, a mark beside
// it. An administrator switching on takes the mark away; a standard user may
// touch neither, so their own entry starts Tarnby and the machine's stays as
// it was.
TEST_F(StartWithWindowsEndToEnd, AnEntryDisabledInTaskManagerIsOffUntilSwitchedOnByAnyUser) {
  for (const bool standardUser : {false, true}) {
    SCOPED_TRACE(standardUser ? "standard user" : "administrator");
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kRunKey, L"Tarnby", kCopy));
    const Finished marked = RunToEnd(L"C:\\windows\\system32\\reg.exe",
                                     std::wstring(L"add \"HKLM\\") + kApprovedKey +
                                         L"\" /v Tarnby /t REG_BINARY /d 030000000000000000000000 /f");
    ASSERT_EQ(marked.code, 0u) << marked.output << marked.errors;
    std::optional<RefusedRunKey> refused;
    if (standardUser) {
      ASSERT_TRUE(refused.emplace().Refuses()) << "Wine did not refuse the machine-wide run key";
    }
    Tarnby tarnby(kCopy);
    ASSERT_TRUE(tarnby.Started());
    EXPECT_TRUE(ShowsOn(tarnby, false)) << "a disabled entry showed on";
    ClickLabel(tarnby.Control(L"frmstart", L"Label8"));
    EXPECT_TRUE(ShowsOn(tarnby, true));
    const auto marks = [] {
      HKEY key = nullptr;
      if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
      const LSTATUS status = ::RegQueryValueExW(key, L"Tarnby", nullptr, nullptr, nullptr, nullptr);
      ::RegCloseKey(key);
      return status == ERROR_SUCCESS;
    };
    if (standardUser) {
      EXPECT_TRUE(WaitFor([] { return UserEntry() == L"\"" + std::wstring(kCopy) + L"\""; }))
          << "the user's own entry was not written";
      EXPECT_TRUE(marks()) << "the machine's mark went";
    } else {
      EXPECT_TRUE(WaitFor([&] { return !marks(); })) << "the disabling mark stayed";
      EXPECT_FALSE(UserEntry());
    }
    EXPECT_EQ(MachineEntry(), std::wstring(kCopy));
    EXPECT_EQ(tarnby.MessageBoxTitled(L"Tarnby", 1s), nullptr);
    Exit(tarnby);
  }
}

}  // namespace
}  // namespace tarnby::drive
