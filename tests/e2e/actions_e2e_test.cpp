// The system actions on the real tarnby.exe, driven from outside: shut down
// from the tray ends the program, "Run Program(s)..." starts both stored
// programs and keeps it running, and "Restart Windows Only" has restart.exe
// end and restart the user's shell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../win32/actions_stand_in.h"
#include "drive.h"

namespace tarnby::drive {
namespace {

using test::ExeFolder;
using test::NotedIds;

// Chooses an item of the open popup menu with the arrow keys and Enter, as a
// user does for an item without a mnemonic. position counts the items a
// user steps over (separators are skipped, disabled items are not), from 1:
// "Run Program(s)..." is the 11th, "Restart Windows Onl&y" the 17th. (The
// menu's own strings cannot be read from another process under Wine.)
void ChooseMenuPosition(HWND menu, int position) {
  for (int down = 0; down < position; ++down) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}
constexpr int kRunProgramsItem = 11, kRestartWindowsItem = 17;

class ActionsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetTarnbySettings();
    SetTarnbyWindowsVersion(L"win10");
    marker = ExeFolder() + L"\\actions e2e marker.txt";
    ::DeleteFileW(marker.c_str());
    // tarnby.exe and whatever it starts inherit this.
    ::SetEnvironmentVariableW(L"TARNBY_MARKER", marker.c_str());
  }
  void TearDown() override {
    ::SetEnvironmentVariableW(L"TARNBY_MARKER", nullptr);
    ::DeleteFileW(marker.c_str());
  }
  static bool StoreString(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    return SetRegString(HKEY_CURRENT_USER, key, name, text);
  }

  // Right-click the icon of box and choose an item of the popup menu.
  static void Choose(Tarnby& tarnby, HWND box, int position) {
    TrayRightClick(box);
    HWND menu = tarnby.PopupMenu();
    ASSERT_NE(menu, nullptr) << "no popup menu";
    ChooseMenuPosition(menu, position);
  }

  std::wstring marker;
};

TEST_F(ActionsEndToEnd, ShutDownChosenFromTheMenuAndDoubleClickedEndsTheProgram) {
  Tarnby tarnby(Exe());
  ASSERT_TRUE(tarnby.Started());
  HWND picscreen = tarnby.Control(L"frmstart", L"picscreen");
  HWND picshut = tarnby.Control(L"frmstart", L"picshut");
  ASSERT_NE(picscreen, nullptr);
  ASSERT_NE(picshut, nullptr);

  TrayRightClick(picscreen);
  HWND menu = tarnby.PopupMenu();
  ASSERT_NE(menu, nullptr);
  ChooseMenuItem(menu, L'h');  // "S&hut Down Computer"
  ASSERT_TRUE(WaitFor([] {
    return TrayTips() == std::vector<std::wstring>{L"Double click to Shut Down, right click for menu"};
  })) << "the shut-down icon did not take the tray";
  EXPECT_TRUE(tarnby.Running()) << "choosing the quick action must not run it";

  TrayDoubleClick(picshut);
  ASSERT_TRUE(tarnby.WaitForExit()) << "Tarnby kept running after shutting down";
  EXPECT_EQ(tarnby.ExitCode(), std::optional<DWORD>(0));
  EXPECT_TRUE(WaitForSessionEndToFinish()) << "Wine's end of the session did not finish";
}

TEST_F(ActionsEndToEnd, RunProgramsStartsBothStoredProgramsAndKeepsTarnbyRunning) {
  const std::wstring one = ExeFolder() + L"\\actions_marker.exe";
  const std::wstring two = ExeFolder() + L"\\actions marker two.exe";
  ASSERT_TRUE(::CopyFileW(one.c_str(), two.c_str(), FALSE));
  const std::wstring runKey = L"Software\\Tarnby\\Registry\\Run";
  for (const auto& [name, path] : {std::pair{L"strRun", one}, std::pair{L"strRun2", two}})
    ASSERT_TRUE(StoreString(runKey, name, path));

  Tarnby tarnby(Exe());
  ASSERT_TRUE(tarnby.Started());
  HWND picscreen = tarnby.Control(L"frmstart", L"picscreen");
  HWND picprogram = tarnby.Control(L"frmstart", L"picprogram");
  ASSERT_NE(picscreen, nullptr);
  ASSERT_NE(picprogram, nullptr);

  // Choosing the quick action opens the selection window with both programs.
  Choose(tarnby, picscreen, kRunProgramsItem);
  HWND frmprogram = tarnby.Form(L"frmprogram");
  ASSERT_NE(frmprogram, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(frmprogram) != FALSE; }));
  EXPECT_EQ(TextOf(tarnby.Control(L"frmprogram", L"Text1")), one);
  EXPECT_EQ(TextOf(tarnby.Control(L"frmprogram", L"Text2")), two);
  Click(tarnby.Control(L"frmprogram", L"Command9"));  // "Clo&se"
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(frmprogram) || !::IsWindowVisible(frmprogram); }));
  EXPECT_TRUE(NotedIds(marker).empty()) << "nothing runs before the double-click";

  TrayDoubleClick(picprogram);
  EXPECT_TRUE(WaitFor([&] { return NotedIds(marker).size() == 2; })) << "not both programs started";
  ::Sleep(500);
  EXPECT_EQ(NotedIds(marker).size(), 2u) << "a program started twice";
  EXPECT_TRUE(tarnby.Running());
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, runKey, L"strRun"), one);
  tarnby.Kill();
  WaitFor([&] { return ::DeleteFileW(two.c_str()) != 0; }, 5s);
}

TEST_F(ActionsEndToEnd, StoredPathsTooLongForTheShellStartNothingAndKeepTarnbyRunning) {
  // Programs and, as Windows 98 has it, the screen saver: each stored path
  // is far past what the shell takes.
  SetTarnbyWindowsVersion(L"win98");
  const std::wstring runKey = L"Software\\Tarnby\\Registry\\Run";
  const std::wstring one(1025, L'a'), two(65000, L'a'), screen = L"C:\\" + std::wstring(1020, L's');
  ASSERT_TRUE(StoreString(runKey, L"strRun", one));
  ASSERT_TRUE(StoreString(runKey, L"strRun2", two));
  ASSERT_TRUE(StoreString(L"Software\\Tarnby\\Registry\\Path", L"strscreen", screen));

  Tarnby tarnby(Exe());
  ASSERT_TRUE(tarnby.Started());
  HWND picscreen = tarnby.Control(L"frmstart", L"picscreen");
  HWND picprogram = tarnby.Control(L"frmstart", L"picprogram");
  ASSERT_TRUE(picscreen && picprogram);
  TrayDoubleClick(picscreen);
  ::Sleep(1000);
  ASSERT_TRUE(tarnby.Running()) << "the stored screen saver took Tarnby down";

  Choose(tarnby, picscreen, kRunProgramsItem);
  HWND frmprogram = tarnby.Form(L"frmprogram");
  ASSERT_NE(frmprogram, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(frmprogram) != FALSE; }));
  ::Sleep(500);  // the icon timer has looked at both paths
  Click(tarnby.Control(L"frmprogram", L"Command9"));  // "Clo&se"
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(frmprogram) || !::IsWindowVisible(frmprogram); }));
  TrayDoubleClick(picprogram);
  ::Sleep(1000);
  EXPECT_TRUE(tarnby.Running()) << "the stored programs took Tarnby down";
  tarnby.Kill();
}

// Last: it replaces Wine's own taskbar stand-in in this prefix with ours.
TEST_F(ActionsEndToEnd, RestartWindowsOnlyHasRestartExeRestartTheShell) {
  ASSERT_TRUE(test::EndTaskbarOwners());
  ASSERT_TRUE(test::StartDetached(ExeFolder() + L"\\actions_fake_shell.exe"));
  ASSERT_TRUE(WaitFor([&] { return NotedIds(marker).size() == 1; }));
  const DWORD shell = NotedIds(marker)[0];

  Tarnby tarnby(Exe());
  ASSERT_TRUE(tarnby.Started());
  HWND picscreen = tarnby.Control(L"frmstart", L"picscreen");
  HWND picwin = tarnby.Control(L"frmstart", L"picwin");
  ASSERT_NE(picscreen, nullptr);
  ASSERT_NE(picwin, nullptr);
  Choose(tarnby, picscreen, kRestartWindowsItem);
  ::Sleep(300);
  TrayDoubleClick(picwin);

  ASSERT_TRUE(WaitFor([&] { return NotedIds(marker).size() == 2; })) << "the shell was not started again";
  const DWORD again = NotedIds(marker)[1];
  EXPECT_NE(again, shell);
  HANDLE old = ::OpenProcess(SYNCHRONIZE, FALSE, shell);
  EXPECT_TRUE(old == nullptr || ::WaitForSingleObject(old, 5000) == WAIT_OBJECT_0) << "the old shell still runs";
  if (old != nullptr) ::CloseHandle(old);
  EXPECT_TRUE(tarnby.Running()) << "the tray path keeps Tarnby running";

  HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  if (tray != nullptr && ProcessOf(tray) == again) ::PostMessageW(tray, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace tarnby::drive
