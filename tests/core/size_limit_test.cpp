#include <cstring>

#include "core/app_fixture.h"

namespace tarnby {
namespace {

TEST(SizeLimit, TwipsBecomePixelsRoundedHalfToEven) {
  struct Case {
    int twips, perPixel, pixels;
  } cases[] = {{3432, 15, 229}, {8628, 15, 575}, {22, 4, 6}, {30, 4, 8}, {18, 4, 4}, {7, 2, 4}, {5, 2, 2},
               {11520, 15, 768}, {0, 15, 0}, {100, 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.perPixel), c.pixels) << c.twips << "/" << c.perPixel;
}

class SizeLimitTest : public AppTest {
 protected:
  std::int32_t info[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  std::intptr_t Send(Handle hwnd, std::uint32_t msg) {
    return SizeLimitProc(hwnd, msg, 0, reinterpret_cast<std::intptr_t>(info));
  }
};

TEST_F(SizeLimitTest, TheMainWindowMayOnlyGrowTallerUpToTheScreen) {
  Start();
  ASSERT_EQ(LimitedWindowCount(), 1);
  const Twips p = f().Position();
  EXPECT_EQ(Send(f().hwnd, w::kWmGetMinMaxInfo), 0);
  EXPECT_EQ(info[6], 229) << "3432 twips";
  EXPECT_EQ(info[7], TwipsToPixels(p.height, 15));
  EXPECT_EQ(info[8], 229);
  EXPECT_EQ(info[9], 768);
  // Reserved, maximised size and position stay as the system set them.
  for (int i = 0; i < 6; ++i) EXPECT_EQ(info[i], i + 1);
}

TEST_F(SizeLimitTest, TheLimitFollowsTheWindowToAMonitorOfAnotherDpi) {
  Start();
  const Twips p = f().Position();
  struct Case {
    int twipsPerPixel, width;
  };
  for (const Case& c : {Case{10, 343}, Case{7, 490}, Case{15, 229}}) {
    win.windowScales[f().hwnd] = {c.twipsPerPixel, c.twipsPerPixel};
    Send(f().hwnd, w::kWmGetMinMaxInfo);
    EXPECT_EQ(info[6], c.width) << c.twipsPerPixel;
    EXPECT_EQ(info[8], c.width) << c.twipsPerPixel;
    EXPECT_EQ(info[7], TwipsToPixels(p.height, c.twipsPerPixel)) << c.twipsPerPixel;
    EXPECT_EQ(info[9], TwipsToPixels(768 * 15, c.twipsPerPixel)) << c.twipsPerPixel;
  }
}

TEST_F(SizeLimitTest, OtherMessagesGoToThePreviousProcedure) {
  Start();
  win.ClearLog();
  EXPECT_EQ(Send(f().hwnd, 0x000F), 77);
  EXPECT_EQ(win.Calls("CallWindowProc").size(), 1u);
  EXPECT_NE(win.Calls("CallWindowProc")[0].find("0xdef0"), std::string::npos);
}

TEST_F(SizeLimitTest, UnknownWindowsGetZeroAndNothingElse) {
  Start();
  win.ClearLog();
  EXPECT_EQ(Send(0xBAD, w::kWmGetMinMaxInfo), 0);
  EXPECT_EQ(info[6], 7);
  EXPECT_EQ(Send(0xBAD, 0x000F), 0);
  EXPECT_FALSE(win.Logged("CallWindowProc"));
}

TEST_F(SizeLimitTest, TheLastMatchingEntryWinsAndRestoreGivesEveryProcedureBack) {
  Start();
  Form other(win, "other");
  other.Load();
  other.hwnd = f().hwnd;  // a second entry for the same window
  LimitWindowSize(other, 1500, 1500, 3000, 3000);
  ASSERT_EQ(LimitedWindowCount(), 2);
  Send(f().hwnd, w::kWmGetMinMaxInfo);
  EXPECT_EQ(info[6], 100);
  EXPECT_EQ(info[9], 200);
  RestoreWindowProcs();
  EXPECT_EQ(LimitedWindowCount(), 0);
  EXPECT_EQ(Send(f().hwnd, 0x000F), 0) << "no longer hooked";
  RestoreWindowProcs();  // twice is harmless
  other.hwnd = 0;
}

}  // namespace
}  // namespace tarnby
