// The two selection dialogs for real, under Wine reporting Windows 98: the
// program selection window's Browse and the screen-saver choice, each file
// dialog found and answered through window messages by a user on another
// thread, and the program's icon drawn into the real picture box.
#include <gtest/gtest.h>

#include <set>

#include "actions_wine.h"
#include "core/actions/actions.h"
#include "core/app.h"
#include "core/system/folders.h"
#include "core/system/settings_store.h"
#include "win32/native_host_impl.h"
#include "win32/utf16.h"
#include "win32/win32_platform.h"

namespace tarnby {
namespace {

// The real platform, keeping count of the icons it hands out and takes back.
class IconCountingPlatform : public Win32Platform {
 public:
  using Win32Platform::Win32Platform;
  Handle ExtractAssociatedIcon(Handle instance, const std::string& path, std::uint16_t index) override {
    const Handle icon = Win32Platform::ExtractAssociatedIcon(instance, path, index);
    if (icon != 0) ++extracted;
    return icon;
  }
  bool DrawIcon(Handle dc, int x, int y, Handle icon) override {
    const bool drawn = Win32Platform::DrawIcon(dc, x, y, icon);
    if (drawn) ++draws;
    return drawn;
  }
  bool DestroyIcon(Handle icon) override {
    const bool destroyed = Win32Platform::DestroyIcon(icon);
    if (destroyed) ++destroyedIcons;
    return destroyed;
  }
  int extracted = 0, draws = 0, destroyedIcons = 0;
};

// Types the path into the file name box and confirms; cancels when there is
// no box to type into (the dialog would take its blank default name).
void ChooseFile(HWND dialog, const std::string& path) {
  HWND edit = test::FileNameEdit(dialog);
  if (edit == nullptr) {
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(path).c_str()));
  test::PressOk(dialog);
}

// The first entry of the dialog's file type list (cmb1).
std::wstring FirstFileType(HWND dialog) {
  wchar_t text[256] = {};
  ::SendMessageW(::GetDlgItem(dialog, 0x470), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

class DialogsTest : public ::testing::Test {
 protected:
  NativeHostImpl host{::GetModuleHandleW(nullptr)};
  IconCountingPlatform platform{host};
  App app{platform};
};

TEST_F(DialogsTest, BrowseIsAnsweredInTheRealDialogAndDrawsTheProgramsIcon) {
  const std::string program = GetSystemPath(platform) + "\\notepad.exe";
  ASSERT_TRUE(test::Exists(Wide(program)));
  Frmprogram& dialog = app.frmprogram();
  dialog.Show();
  test::WaitFor([] { return false; }, 300);  // let it paint

  std::wstring fileType;
  test::ScriptedUser user({{L"Select file", [&](HWND d) {
                              fileType = FirstFileType(d);
                              ChooseFile(d, program);
                            }}});
  dialog.Command1.Click();
  user.Finish();

  ASSERT_EQ(user.Answered(), 1);
  EXPECT_EQ(fileType, L"Program Files (*.exe)");
  EXPECT_EQ(dialog.Text1.Text(), program);
  EXPECT_TRUE(dialog.Command7.Enabled());
  EXPECT_EQ(platform.extracted, 1);
  EXPECT_EQ(platform.draws, 1);
  EXPECT_EQ(platform.destroyedIcons, platform.extracted);

  // The icon is on the picture box: more than one colour where it was drawn.
  HDC dc = ::GetDC(reinterpret_cast<HWND>(dialog.Picture1.hwnd));
  std::set<COLORREF> colours;
  for (int y = 0; y < 32; y += 2)
    for (int x = 0; x < 32; x += 2) colours.insert(::GetPixel(dc, x, y));
  ::ReleaseDC(reinterpret_cast<HWND>(dialog.Picture1.hwnd), dc);
  EXPECT_GT(colours.size(), 1u);

  // Not stored, so the 200 ms refresh leaves the slot alone.
  test::WaitFor([] { return false; }, 500);
  EXPECT_EQ(platform.extracted, 1);
  dialog.Unload();
}

TEST_F(DialogsTest, TheScreenSaverIsChosenInTheRealDialogAndStored) {
  ASSERT_TRUE(app.actions != nullptr);
  const std::string saver = GetSystemPath(platform) + "\\Tarnby Test Saver.scr";
  test::WriteFileText(Wide(saver), "");
  WriteRegString(platform, w::kHkeyCurrentUser, kPathKey, "strscreen", "");

  std::wstring fileType;
  test::ScriptedUser user({{L"Select screensaver file to run",
                            [&](HWND d) {
                              fileType = FirstFileType(d);
                              ChooseFile(d, saver);
                            }},
                           {L"Done!", test::PressOk}});
  app.frmstart.mnuscreenchange.Click();
  user.Finish();

  ASSERT_EQ(user.Answered(), 2);
  EXPECT_EQ(fileType, L"Screensaver Files (*.scr)");
  EXPECT_EQ(Utf8(user.Texts()[1]), "Screensaver changed!");
  EXPECT_EQ(ReadRegString(platform, w::kHkeyCurrentUser, kPathKey, "Strscreen"), saver);
  ::DeleteFileW(Wide(saver).c_str());
}

}  // namespace
}  // namespace tarnby
