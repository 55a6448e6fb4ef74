// The size limit on a real window: the core's replacement window procedure
// answers WM_GETMINMAXINFO in pixels, passes everything else to the window's
// own procedure, and gives that procedure back.
#include <gtest/gtest.h>

#include <vector>

#include "core/forms/forms.h"
#include "core/system/size_limit.h"
#include "win32/null_host.h"

namespace tarnby {
namespace {

struct Received {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Received> received;  // what the window's own procedure saw

constexpr UINT kProbe = WM_USER + 7;
constexpr LRESULT kProbeAnswer = 1234;

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbe || msg == WM_GETMINMAXINFO) received.push_back({msg, wParam, lParam});
  if (msg == kProbe) return kProbeAnswer;
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Sizes chosen to be whole pixels at 96, 120 and 144 dots per inch.
constexpr int kMinWidth = 2160, kMinHeight = 2880, kMaxWidth = 2160, kMaxHeight = 7200;

class SizeLimitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW cls{};
    cls.lpfnWndProc = OwnProc;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.lpszClassName = L"TarnbySizeLimitTest";
    ::RegisterClassW(&cls);
    hwnd = ::CreateWindowExW(0, cls.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr,
                             cls.hInstance, nullptr);
    ASSERT_NE(nullptr, hwnd);
    form.hwnd = reinterpret_cast<Handle>(hwnd);
    ownProc = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    HDC dc = ::GetDC(nullptr);
    twipsPerPixelX = 1440 / ::GetDeviceCaps(dc, LOGPIXELSX);
    twipsPerPixelY = 1440 / ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    received.clear();
  }
  void TearDown() override {
    RestoreWindowProcs();
    ::DestroyWindow(hwnd);
  }

  SIZE OuterSize() const {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
  }

  test::NullHost host;
  Win32Platform platform{host};
  Form form{platform, "frmstart"};
  HWND hwnd = nullptr;
  LONG_PTR ownProc = 0;
  int twipsPerPixelX = 0, twipsPerPixelY = 0;
};

TEST_F(SizeLimitTest, AnswersGetMinMaxInfoWithTheTrackSizesInPixels) {
  LimitWindowSize(form, kMinWidth, kMinHeight, kMaxWidth, kMaxHeight);
  EXPECT_NE(ownProc, ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  MINMAXINFO info = {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}};
  EXPECT_EQ(0, ::SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(kMinWidth / twipsPerPixelX, info.ptMinTrackSize.x);
  EXPECT_EQ(kMinHeight / twipsPerPixelY, info.ptMinTrackSize.y);
  EXPECT_EQ(kMaxWidth / twipsPerPixelX, info.ptMaxTrackSize.x);
  EXPECT_EQ(kMaxHeight / twipsPerPixelY, info.ptMaxTrackSize.y);
  // The rest of the record is the system's, untouched.
  EXPECT_EQ(1, info.ptReserved.x);
  EXPECT_EQ(4, info.ptMaxSize.y);
  EXPECT_EQ(5, info.ptMaxPosition.x);
  EXPECT_EQ(6, info.ptMaxPosition.y);
  EXPECT_TRUE(received.empty()) << "the window's own procedure must not see the limit's message";
}

TEST_F(SizeLimitTest, OtherMessagesReachTheWindowsOwnProcedureUnchanged) {
  LimitWindowSize(form, kMinWidth, kMinHeight, kMaxWidth, kMaxHeight);
  EXPECT_EQ(kProbeAnswer, ::SendMessageW(hwnd, kProbe, 11, -22));
  ASSERT_EQ(1u, received.size());
  EXPECT_EQ(11u, received[0].wParam);
  EXPECT_EQ(-22, received[0].lParam);
}

TEST_F(SizeLimitTest, TheSystemKeepsTheWindowWithinTheLimits) {
  LimitWindowSize(form, kMinWidth, kMinHeight, kMaxWidth, kMaxHeight);
  const LONG width = kMinWidth / twipsPerPixelX;
  ::SetWindowPos(hwnd, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(width, OuterSize().cx);
  EXPECT_EQ(kMinHeight / twipsPerPixelY, OuterSize().cy);
  ::SetWindowPos(hwnd, nullptr, 0, 0, 5000, 5000, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(width, OuterSize().cx);
  EXPECT_EQ(kMaxHeight / twipsPerPixelY, OuterSize().cy);
}

TEST_F(SizeLimitTest, RestoringGivesTheOwnProcedureBackAndLiftsTheLimit) {
  LimitWindowSize(form, kMinWidth, kMinHeight, kMaxWidth, kMaxHeight);
  RestoreWindowProcs();
  EXPECT_EQ(ownProc, ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  EXPECT_EQ(0, LimitedWindowCount());
  MINMAXINFO info = {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}};
  ::SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(1u, received.size());
  EXPECT_EQ(7, info.ptMinTrackSize.x);
  EXPECT_EQ(10, info.ptMaxTrackSize.y);
  ::SetWindowPos(hwnd, nullptr, 0, 0, 400, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(400, OuterSize().cx);
  EXPECT_EQ(200, OuterSize().cy);
}

}  // namespace
}  // namespace tarnby
