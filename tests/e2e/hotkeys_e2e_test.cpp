// The real tarnby.exe under Wine: hot keys pressed with SendInput, the hot key
// dialog saving to the registry, and System Information missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "drive.h"

namespace tarnby::drive {
namespace {

constexpr wchar_t kCheckKey[] = L"Software\\Tarnby\\Registry\\check";
constexpr wchar_t kPathKey[] = L"Software\\Tarnby\\Registry\\Path";

// Shift+Ctrl+key held for ten ticks and more, then let go.
void PressHotKey(WORD key) {
  SendKey(VK_SHIFT, false);
  SendKey(VK_CONTROL, false);
  SendKey(key, false);
  ::Sleep(600);
  SendKey(key, true);
  SendKey(VK_CONTROL, true);
  SendKey(VK_SHIFT, true);
}

std::wstring TempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

int LinesIn(const std::wstring& path) {
  std::ifstream in{std::filesystem::path(path)};
  int lines = 0;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) ++lines;
  return lines;
}

class HotKeysEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetTarnbySettings();
    // Windows 98 for tarnby.exe only: its screen saver hot key then opens the
    // stored file, which the test can watch, and its tray icon has a menu.
    SetTarnbyWindowsVersion(L"win98");
  }

  HWND OpenMenu(Tarnby& tarnby) {
    HWND picscreen = tarnby.Control(L"frmstart", L"picscreen");
    if (!picscreen) return nullptr;
    TrayRightClick(picscreen);
    return tarnby.PopupMenu();
  }
};

TEST_F(HotKeysEndToEnd, AnInjectedHotKeyActsOncePerPressWhenEnabledAndNotAtAllWhenDisabled) {
  // The "screen saver" is a batch file that leaves one line per start.
  const std::wstring marker = TempFile(L"tarnby_hotkey_marker.txt");
  const std::wstring batch = TempFile(L"tarnby_hotkey_saver.bat");
  ::DeleteFileW(marker.c_str());
  {
    std::ofstream out{std::filesystem::path(batch)};
    out << "@echo started>>\"" << std::string(marker.begin(), marker.end()) << "\"\r\n";
  }
  SetRegString(HKEY_CURRENT_USER, kPathKey, L"strscreen", batch);
  SetRegString(HKEY_CURRENT_USER, kCheckKey, L"screen", L"true");

  Tarnby tarnby(Exe());
  ASSERT_TRUE(tarnby.Started());
  ASSERT_NE(tarnby.Form(L"frmstart"), nullptr);

  PressHotKey('Q');
  EXPECT_TRUE(WaitFor([&] { return LinesIn(marker) >= 1; })) << "Shift+Ctrl+Q started nothing";
  ::Sleep(1500);
  EXPECT_EQ(LinesIn(marker), 1) << "one press, one start";

  SetRegString(HKEY_CURRENT_USER, kCheckKey, L"screen", L"");
  PressHotKey('Q');
  ::Sleep(2000);
  EXPECT_EQ(LinesIn(marker), 1) << "a disabled hot key started it";
  EXPECT_TRUE(tarnby.Running());

  ::DeleteFileW(marker.c_str());
  ::DeleteFileW(batch.c_str());
}

TEST_F(HotKeysEndToEnd, TheHotKeyDialogSavesToTheRegistry) {
  SetRegString(HKEY_CURRENT_USER, kCheckKey, L"shut", L"true");
  Tarnby tarnby(Exe());
  ASSERT_TRUE(tarnby.Started());
  HWND menu = OpenMenu(tarnby);
  ASSERT_NE(menu, nullptr);
  // From the bottom: "E&xit", "&Show Timer", then "Change, Set the Hot Ke&y(s)"
  // (its mnemonic is shared with "Restart Windows Onl&y").
  for (int i = 0; i < 3; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  HWND frmhot = tarnby.Form(L"frmhot");
  ASSERT_NE(frmhot, nullptr) << "the hot key dialog did not open";
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(frmhot) != FALSE; }));
  EXPECT_EQ(TextOf(frmhot), L"Select what Hot Keys you want to Enable");
  HWND check9 = tarnby.Control(L"frmhot", L"Check9");
  ASSERT_NE(check9, nullptr);
  EXPECT_TRUE(WaitFor([&] { return ::SendMessageW(check9, BM_GETCHECK, 0, 0) == BST_CHECKED; }))
      << "the stored value shows";

  Click(tarnby.Control(L"frmhot", L"Check2"));
  Click(check9);
  Click(tarnby.Control(L"frmhot", L"Command1"));
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(frmhot); })) << "\"Ok\" did not close the dialog";
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kCheckKey, L"restartw"), L"true");
  for (const wchar_t* name : {L"restart", L"restartf", L"screen", L"sleep", L"dos", L"log", L"logf", L"shut", L"shutf"})
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kCheckKey, name), L"") << name;
  EXPECT_TRUE(tarnby.Running());
}

TEST_F(HotKeysEndToEnd, SystemInfoWithoutARegistryEntrySaysItIsUnavailable) {
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools Location");
  Tarnby tarnby(Exe());
  ASSERT_TRUE(tarnby.Started());
  HWND menu = OpenMenu(tarnby);
  ASSERT_NE(menu, nullptr);
  ChooseMenuItem(menu, L'a');  // "&About..."
  HWND about = tarnby.Form(L"frmAbout");
  ASSERT_NE(about, nullptr) << "the about box did not open";
  EXPECT_TRUE(WaitFor([&] { return TextOf(about) == L"About Tarnby"; }));
  EXPECT_EQ(TextOf(tarnby.Control(L"frmAbout", L"lblVersion")), L"Version 1.0.0");

  Click(tarnby.Control(L"frmAbout", L"cmdSysInfo"));
  ASSERT_EQ(tarnby.AnswerMessageBox(L"Tarnby"), L"System Information Is Unavailable At This Time") << "no message";
  EXPECT_TRUE(WaitFor([&] { return tarnby.MessageBoxTitled(L"Tarnby", 0ms) == nullptr; }));

  Click(tarnby.Control(L"frmAbout", L"cmdOK"));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about); })) << "OK did not close the about box";
  EXPECT_TRUE(tarnby.Running());
}

}  // namespace
}  // namespace tarnby::drive
