// The hot keys, their dialog and the about box on the real platform under
// Wine: keys injected with SendInput, the real registry, real windows. The
// calls that would end the session are recorded instead of made.
#include "win32/win32_api.h"  // first: see there why

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/about/frmabout.h"
#include "core/app.h"
#include "core/hotkeys/frmhot.h"
#include "win32/native_host_impl.h"
#include "win32/win32_platform.h"

namespace tarnby {
namespace {

constexpr wchar_t kCheckKey[] = L"Software\\Tarnby\\Registry\\check";

// The real platform, except that nothing leaves the session or shows a box.
class RecordingPlatform : public Win32Platform {
 public:
  using Win32Platform::Win32Platform;
  std::vector<std::string> calls;

  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override {
    calls.push_back("ExitWindowsEx(" + std::to_string(flags) + ", " + std::to_string(reserved) + ")");
    return true;
  }
  std::intptr_t ShellExecute(Handle, const std::string& operation, const std::string& file, const std::string&,
                             const std::string&, int show) override {
    calls.push_back("ShellExecute(" + operation + ", " + file + ", " + std::to_string(show) + ")");
    return 42;
  }
  std::intptr_t SendMessage(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
    if (msg != WM_SYSCOMMAND) return Win32Platform::SendMessage(hwnd, msg, wParam, lParam);
    calls.push_back("WM_SYSCOMMAND(" + std::to_string(wParam) + ")");
    return 0;
  }
  std::uint32_t Shell(const std::string& commandLine, int windowState) override {
    calls.push_back("Shell(" + commandLine + ", " + std::to_string(windowState) + ")");
    return 1;
  }
  int MessageBox(const std::string& text, const std::string& title, std::uint32_t style) override {
    calls.push_back("MessageBox(" + text + ", " + title + ", " + std::to_string(style) + ")");
    return IDOK;
  }
};

void SetString(HKEY hive, const wchar_t* key, const wchar_t* name, const std::wstring& text) {
  ::RegSetKeyValueW(hive, key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring GetString(const wchar_t* key, const wchar_t* name) {
  wchar_t buffer[64] = {};
  DWORD size = sizeof buffer;
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return buffer;
}

void Key(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ::SendInput(1, &input, sizeof input);
}

class HotKeysOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnby");
    host = std::make_unique<NativeHostImpl>(::GetModuleHandleW(nullptr));
    platform = std::make_unique<RecordingPlatform>(*host);
    app = std::make_unique<App>(*platform);
    ASSERT_TRUE(app->Start());
  }
  void TearDown() override {
    for (WORD key : {static_cast<WORD>(VK_SHIFT), static_cast<WORD>(VK_CONTROL), static_cast<WORD>('L'),
                     static_cast<WORD>(VK_F2)})
      Key(key, true);
    app.reset();
    platform.reset();
    host.reset();
  }

  // Lets the message loop run, Timer3's real timer included.
  void Run(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
      host->DoEvents();
      ::Sleep(5);
    }
  }
  // Shift and Ctrl and the key, held for a while, then let go.
  void Press(WORD key, DWORD holdFor = 400) {
    Key(VK_SHIFT, false);
    Key(VK_CONTROL, false);
    Key(key, false);
    Run(holdFor);
    Key(key, true);
    Key(VK_CONTROL, true);
    Key(VK_SHIFT, true);
    Run(150);
  }
  void Click(Control& control) { ::SendMessageW(reinterpret_cast<HWND>(control.hwnd), BM_CLICK, 0, 0); }

  std::unique_ptr<NativeHostImpl> host;
  std::unique_ptr<RecordingPlatform> platform;
  std::unique_ptr<App> app;
};

TEST_F(HotKeysOnWine, InjectedKeysPerformAnEnabledHotKeyOncePerPress) {
  SetString(HKEY_CURRENT_USER, kCheckKey, L"log", L"true");
  Press('L');  // held for eight ticks and more
  EXPECT_EQ(platform->calls, std::vector<std::string>{"ExitWindowsEx(0, 0)"});
  Press('L', 120);
  EXPECT_EQ(platform->calls.size(), 2u);
}

TEST_F(HotKeysOnWine, TheDialogsCloseBoxSavesNothing) {
  app->frmstart.mnuhot.Click();
  Frmhot& dialog = app->frmhot();
  Click(dialog.Check4);
  ::SendMessageW(reinterpret_cast<HWND>(dialog.hwnd), WM_CLOSE, 0, 0);
  Run(50);
  EXPECT_FALSE(app->frmhot.Loaded());
  EXPECT_EQ(GetString(kCheckKey, L"screen"), L"<missing>");
}

TEST_F(HotKeysOnWine, GetKeyValueReadsTheRealRegistry) {
  constexpr wchar_t kKey[] = L"Software\\Tarnby Test";
  const DWORD number = 0x12345678;
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Number", REG_DWORD, &number, sizeof number);
  SetString(HKEY_CURRENT_USER, kKey, L"Path", L"C:\\windows\\system32\\winver.exe");
  SetString(HKEY_CURRENT_USER, kKey, L"Long", std::wstring(1100, L'a'));
  app->frmstart.mnuabout.Click();
  FrmAbout& about = app->frmAbout();
  std::string text;
  EXPECT_TRUE(about.GetKeyValue(0x80000001u, "Software\\Tarnby Test", "Number", text));
  EXPECT_EQ(text, "&h12345678");
  EXPECT_TRUE(about.GetKeyValue(0x80000001u, "Software\\Tarnby Test", "Path", text));
  EXPECT_EQ(text, "C:\\windows\\system32\\winver.exe");
  EXPECT_FALSE(about.GetKeyValue(0x80000001u, "Software\\Tarnby Test", "Long", text));
  EXPECT_EQ(text, "");
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
}

}  // namespace
}  // namespace tarnby

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
