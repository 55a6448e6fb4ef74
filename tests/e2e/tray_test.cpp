// The real tarnby.exe under Wine, driven from outside: the tray icon, its
// popup menu, the single-instance guard and the orderly exit.
#include <gtest/gtest.h>

#include <string>

#include "drive.h"

namespace tarnby::drive {
namespace {

class TrayEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetTarnbySettings();
    // The screen saver's tray icon answers only on Windows 95 and 98.
    SetTarnbyWindowsVersion(L"win98");
  }
  static std::wstring Exe() { return TARNBY_EXE; }
};

TEST_F(TrayEndToEnd, ShowTimerFromTheTraySecondCopyRefusedExitEndsTheProgram) {
  Tarnby tarnby(Exe());
  ASSERT_TRUE(tarnby.Started());

  HWND frmstart = tarnby.Form(L"frmstart");
  ASSERT_NE(frmstart, nullptr) << "the main window never appeared";
  HWND picscreen = tarnby.Control(L"frmstart", L"picscreen");
  ASSERT_NE(picscreen, nullptr) << "no tray picture box picscreen";
  EXPECT_FALSE(::IsWindowVisible(frmstart)) << "the main window starts hidden";
  // Every control can be found by its name, the hidden ones too.
  for (const wchar_t* name : {L"cmdstart", L"Text2", L"Frame3", L"sharestart", L"picNotifier", L"Label11"})
    EXPECT_NE(tarnby.Control(L"frmstart", name), nullptr) << name;

  // Right-click the tray icon and choose "&Show Timer".
  TrayRightClick(picscreen);
  HWND menu = tarnby.PopupMenu();
  ASSERT_NE(menu, nullptr) << "right-clicking the tray icon opened no menu";
  ChooseMenuItem(menu, L's');
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(frmstart) != FALSE; })) << "\"&Show Timer\" did not show it";
  const RECT shown = ScreenRect(frmstart);
  EXPECT_EQ(shown.right, ::GetSystemMetrics(SM_CXSCREEN)) << "right edge on the screen's right edge";
  EXPECT_EQ(shown.bottom, ::GetSystemMetrics(SM_CYSCREEN)) << "bottom edge on the screen's bottom edge";

  // A second copy says so and ends; the first one is not disturbed.
  {
    Tarnby second(Exe());
    ASSERT_TRUE(second.Started());
    HWND box = second.MessageBoxTitled(L"Tarnby");
    ASSERT_NE(box, nullptr) << "the second copy showed no message";
    EXPECT_EQ(MessageBoxText(box), L"This program is already running!");
    ASSERT_TRUE(PressDialogButton(box, IDOK));
    EXPECT_TRUE(second.WaitForExit()) << "the second copy did not end";
    EXPECT_TRUE(second.Form(L"frmstart", 0ms) == nullptr);
  }
  EXPECT_TRUE(tarnby.Running());
  EXPECT_TRUE(::IsWindowVisible(frmstart));

  // "E&xit", answered Yes, ends the program.
  TrayRightClick(picscreen);
  menu = tarnby.PopupMenu();
  ASSERT_NE(menu, nullptr);
  ChooseMenuItem(menu, L'x');
  HWND question = tarnby.MessageBoxTitled(L"Leave Tarnby?");
  ASSERT_NE(question, nullptr) << "no exit question";
  EXPECT_EQ(MessageBoxText(question), L"Are you sure you want to exit Tarnby?");
  ASSERT_TRUE(PressDialogButton(question, IDYES));
  EXPECT_TRUE(tarnby.WaitForExit()) << "Tarnby kept running after E&xit and Yes";
}

}  // namespace
}  // namespace tarnby::drive
