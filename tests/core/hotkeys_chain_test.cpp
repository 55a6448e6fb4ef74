// The hot key chain: which combination wins, the gating values, one action
// per press, and each row's call at the system.
#include <gtest/gtest.h>

#include "core/hotkeys_fixture.h"

namespace tarnby {
namespace {

class HotKeyChainTest : public HotKeyTest {};

TEST_F(HotKeyChainTest, OnlyTheExactTextTrueEnablesAHotKey) {
  Start();
  for (const char* value : {"True", "TRUE", "true ", "", "1", "yes"}) {
    SCOPED_TRACE(value);
    Enable("restart", value);
    HoldShiftCtrl({kF2});
    win.ClearLog();
    Tick();
    EXPECT_TRUE(ActionCalls().empty());
    ReleaseAll();
    Tick();
  }
  // No value at all, and a value of another type, are off as well.
  win.SetRegDword(w::kHkeyCurrentUser, kCheckKey, "restart", 1);
  HoldShiftCtrl({kF2});
  Tick();
  EXPECT_TRUE(ActionCalls().empty());
}

// Several combinations held at once: the first held row decides, and only the
// screen saver row lets the chain go on when it is not enabled.
TEST_F(HotKeyChainTest, NoKeyHeldReadsNoGatingValueAndThreeKeysPerRow) {
  for (const char* gate : kActionCodes) Enable(gate);
  Start();
  win.ClearLog();
  win.keyStateReads.clear();
  Tick();
  for (const char* gate : kActionCodes) EXPECT_FALSE(win.Logged(std::string("RegQueryValueEx(") + gate + ")")) << gate;
  EXPECT_FALSE(win.Logged(std::string("RegOpenKey(0x80000001, ") + kCheckKey));
  ASSERT_EQ(win.keyStateReads.size(), 30u);
  // Restart reads its key between the modifiers; the others read it last.
  const std::vector<int> firstRows(win.keyStateReads.begin(), win.keyStateReads.begin() + 9);
  EXPECT_EQ(firstRows, (std::vector<int>{w::kVkShift, kF2, w::kVkControl, w::kVkShift, w::kVkControl, kF1,
                                          w::kVkShift, w::kVkControl, 'W'}));
  EXPECT_EQ(win.keyStateReads.back(), kF5);
}

}  // namespace
}  // namespace tarnby
