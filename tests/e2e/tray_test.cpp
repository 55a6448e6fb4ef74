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
    SetTarnbyWindowsVersion(L"win98");
  }
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
    ASSERT_EQ(second.AnswerMessageBox(L"Tarnby"), L"This program is already running!")
        << "the second copy showed no message";
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
  ASSERT_EQ(tarnby.AnswerMessageBox(L"Leave Tarnby?", IDYES), L"Are you sure you want to exit Tarnby?")
      << "no exit question";
  EXPECT_TRUE(tarnby.WaitForExit()) << "Tarnby kept running after E&xit and Yes";
}

// The quick action, saved and restored, and the icon the shell shows for it.
// Windows 10 here: the screen saver's icon must answer on NT-family systems too.
TEST_F(TrayEndToEnd, QuickActionChosenSavedAndRestoredAcrossARestart) {
  SetTarnbyWindowsVersion(L"win10");
  const std::wstring screenTip = L"Double click to start screensaver, right click for menu";
  const std::wstring forcedShutTip = L"Double click to Forcefully Shut Down the Computer";
  const auto oneIcon = [](const std::wstring& tip) {
    return WaitFor([&] { return TrayTips() == std::vector<std::wstring>{tip}; }, 10s);
  };
  {
    Tarnby tarnby(Exe());
    ASSERT_TRUE(tarnby.Started());
    HWND picscreen = tarnby.Control(L"frmstart", L"picscreen");
    ASSERT_NE(picscreen, nullptr);
    ASSERT_TRUE(oneIcon(screenTip)) << "a fresh start shows the screen saver";

    // "S&hut Down Computer", then its forced twin: the icon's owner changes to
    // picshut, and the tip follows the item.
    TrayRightClick(picscreen);
    HWND menu = tarnby.PopupMenu();
    ASSERT_NE(menu, nullptr) << "the screen saver icon opens the menu on Windows 10 too";
    ChooseMenuItem(menu, L'h');
    EXPECT_TRUE(oneIcon(L"Double click to Shut Down, right click for menu"));
    HWND picshut = tarnby.Control(L"frmstart", L"picshut");
    ASSERT_NE(picshut, nullptr);
    TrayRightClick(picshut);
    menu = tarnby.PopupMenu();
    ASSERT_NE(menu, nullptr);
    ChooseMenuItem(menu, L'f');
    EXPECT_TRUE(oneIcon(forcedShutTip));

    // "Save Current Set&tings" writes all ten values.
    TrayRightClick(picshut);
    menu = tarnby.PopupMenu();
    ASSERT_NE(menu, nullptr);
    ChooseMenuItem(menu, L't');
    const std::wstring settings = L"Software\\Tarnby\\Registry\\settings";
    ASSERT_TRUE(WaitFor([&] { return ReadRegString(HKEY_CURRENT_USER, settings, L"shutf").has_value(); }));
    for (const wchar_t* code : {L"restart", L"restartf", L"restartw", L"screen", L"sleep", L"dos", L"log", L"logf",
                                L"shut", L"shutf"})
      EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, settings, code),
                std::wstring(code) == L"shutf" ? L"true" : L"")
          << code;

    // "E&xit" answered No keeps the program and its icon.
    TrayRightClick(picshut);
    menu = tarnby.PopupMenu();
    ASSERT_NE(menu, nullptr);
    ChooseMenuItem(menu, L'x');
    ASSERT_TRUE(tarnby.AnswerMessageBox(L"Leave Tarnby?", IDNO));
    EXPECT_FALSE(tarnby.WaitForExit(1500ms)) << "No must keep Tarnby running";
    EXPECT_TRUE(oneIcon(forcedShutTip));

    // Yes ends it and takes its icon down.
    TrayRightClick(picshut);
    menu = tarnby.PopupMenu();
    ASSERT_NE(menu, nullptr);
    ChooseMenuItem(menu, L'x');
    ASSERT_TRUE(tarnby.AnswerMessageBox(L"Leave Tarnby?", IDYES));
    ASSERT_TRUE(tarnby.WaitForExit());
    EXPECT_TRUE(WaitFor([] { return TrayTips().empty(); }, 10s)) << "the icon stayed after E&xit";
  }
  // The next start comes up with the saved quick action.
  Tarnby again(Exe());
  ASSERT_TRUE(again.Started());
  ASSERT_NE(again.Control(L"frmstart", L"picshut"), nullptr);
  EXPECT_TRUE(oneIcon(forcedShutTip)) << "the saved quick action was not restored";
}

}  // namespace
}  // namespace tarnby::drive
