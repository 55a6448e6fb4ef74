// The hot key chain: which combination wins, the gating values, one action
// per press, and each row's call at the system.
#include <gtest/gtest.h>

#include <set>

#include "core/hotkeys_fixture.h"

namespace tarnby {
namespace {

constexpr char kScreenSaverFile[] = "C:\\WINDOWS\\SYSTEM\\Flying Windows.scr";

std::string Joined(const std::vector<std::string>& calls) {
  std::string text;
  for (const std::string& call : calls) text += call + "\n";
  return text;
}

class HotKeyChainTest : public HotKeyTest {};

TEST_F(HotKeyChainTest, EachRowPerformsItsActionAndTheProgramKeepsRunning) {
  struct Case {
    int key;
    const char* gate;
    const char* call;  // the start of the one call the action makes
  };
  const Case cases[] = {
      {kF2, "restart", "ExitWindowsEx(2, 2)"},
      {kF1, "restartf", "ExitWindowsEx(6, 0)"},
      {'W', "restartw", "ShellExecute("},
      {kF10, "shut", "ExitWindowsEx(1, 1)"},
      {kF9, "shutf", "ExitWindowsEx(5, 0)"},
      {'Q', "screen", "ShellExecute("},
      {'Z', "sleep", "SendMessage("},
      {'X', "dos", "Shell(C:\\WINDOWS\\exit to dos.pif, 2)"},
      {'L', "log", "ExitWindowsEx(0, 0)"},
      {kF5, "logf", "ExitWindowsEx(4, 0)"},
  };
  win.SetRegString(w::kHkeyCurrentUser, kPathKey, "strscreen", kScreenSaverFile);
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gate);
    Enable(c.gate);
    HoldShiftCtrl({c.key});
    win.ClearLog();
    Tick();
    const std::vector<std::string> calls = ActionCalls();
    ASSERT_EQ(calls.size(), 1u) << Joined(calls);
    EXPECT_EQ(calls[0].rfind(c.call, 0), 0u) << calls[0];
    EXPECT_FALSE(win.processEnded);
    Enable(c.gate, "");
    ReleaseAll();
    Tick();
  }
}

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

TEST_F(HotKeyChainTest, BothModifiersAreNeededAndOtherModifiersAreNotLookedAt) {
  Enable("restart");
  Start();
  for (const std::set<int>& held : {std::set<int>{w::kVkShift, kF2}, std::set<int>{w::kVkControl, kF2},
                                    std::set<int>{w::kVkShift, w::kVkControl}, std::set<int>{kF2}}) {
    win.keysDown = held;
    Tick();
  }
  EXPECT_TRUE(ActionCalls().empty());
  win.keysDown = {w::kVkShift, w::kVkControl, kAlt, kF2};
  Tick();
  EXPECT_EQ(win.Count("ExitWindowsEx(2, 2)"), 1);
}

// Several combinations held at once: the first held row decides, and only the
// screen saver row lets the chain go on when it is not enabled.
TEST_F(HotKeyChainTest, TheFirstHeldRowDecidesExceptTheScreenSaverRow) {
  struct Case {
    const char* name;
    std::initializer_list<int> keys;
    std::initializer_list<const char*> enabled;
    std::vector<std::string> expected;  // starts of the calls made
  };
  const Case cases[] = {
      {"F2 enabled wins over F1", {kF2, kF1}, {"restart", "restartf"}, {"ExitWindowsEx(2, 2)"}},
      {"F2 disabled stops the chain before F1", {kF2, kF1}, {"restartf"}, {}},
      {"W disabled stops before F10", {'W', kF10}, {"shut"}, {}},
      {"Q disabled goes on to Z", {'Q', 'Z'}, {"sleep"}, {"SendMessage("}},
      {"Q disabled goes on past Z to L", {'Q', 'L'}, {"log"}, {"ExitWindowsEx(0, 0)"}},
      {"Q enabled wins over Z", {'Q', 'Z'}, {"screen", "sleep"}, {"ShellExecute("}},
      {"Z disabled stops before X", {'Z', 'X'}, {"dos"}, {}},
      {"L disabled stops before F5", {'L', kF5}, {"logf"}, {}},
      {"F10 before F9", {kF9, kF10}, {"shut", "shutf"}, {"ExitWindowsEx(1, 1)"}},
  };
  win.SetRegString(w::kHkeyCurrentUser, kPathKey, "strscreen", kScreenSaverFile);
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* gate : kActionCodes) Enable(gate, "");
    for (const char* gate : c.enabled) Enable(gate);
    HoldShiftCtrl(c.keys);
    win.ClearLog();
    Tick();
    const std::vector<std::string> calls = ActionCalls();
    ASSERT_EQ(calls.size(), c.expected.size()) << Joined(calls);
    for (std::size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(calls[i].rfind(c.expected[i], 0), 0u) << calls[i];
    ReleaseAll();
    Tick();
  }
}

TEST_F(HotKeyChainTest, OnePressPerformsOnceHoweverLongItIsHeld) {
  Enable("restartw");
  Start();
  HoldShiftCtrl({'W'});
  Tick(20);  // a second with the keys down
  EXPECT_EQ(win.Count("ShellExecute("), 1);
  win.keysDown.erase('W');  // Shift and Ctrl stay down
  Tick();
  win.keysDown.insert('W');
  Tick(3);
  EXPECT_EQ(win.Count("ShellExecute("), 2);
}

TEST_F(HotKeyChainTest, AKeyReleasedWhileAnEarlierRowStopsTheChainCountsAsANewPress) {
  Enable("sleep");
  Start();
  HoldShiftCtrl({'Z'});
  Tick();
  EXPECT_EQ(win.Count("SendMessage("), 1);
  // F2 (not enabled) now ends every tick before Z is reached.
  win.keysDown.insert(kF2);
  Tick(2);
  win.keysDown.erase(kF2);
  Tick(2);
  EXPECT_EQ(win.Count("SendMessage("), 1) << "Z never let go";

  win.keysDown.insert(kF2);
  Tick();
  win.keysDown.erase('Z');
  Tick();
  win.keysDown.insert('Z');
  Tick();
  win.keysDown.erase(kF2);
  Tick();
  EXPECT_EQ(win.Count("SendMessage("), 2) << "Z was pressed again";
}

TEST_F(HotKeyChainTest, TheGatingValueIsReadWhenTheCombinationIsPressed) {
  Start();
  HoldShiftCtrl({'L'});
  Tick();
  EXPECT_TRUE(ActionCalls().empty());
  Enable("log");  // as the settings dialog would, while the program runs
  ReleaseAll();
  Tick();
  HoldShiftCtrl({'L'});
  Tick();
  EXPECT_EQ(win.Count("ExitWindowsEx(0, 0)"), 1);
}

TEST_F(HotKeyChainTest, NoCombinationHeldReadsNoGatingValueAndShiftAndCtrlSettleMostTicks) {
  for (const char* gate : kActionCodes) Enable(gate);
  Start();
  struct Case {
    const char* name;
    std::set<int> held;
    std::size_t reads;
  };
  const Case cases[] = {
      {"nothing held", {}, 2},
      {"only Shift and F2", {w::kVkShift, kF2}, 2},
      {"only Ctrl and Q", {w::kVkControl, 'Q'}, 2},
      {"Shift and Ctrl without a row's key", {w::kVkShift, w::kVkControl}, 32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    win.keysDown = c.held;
    win.ClearLog();
    win.keyStateReads.clear();
    Tick();
    for (const char* gate : kActionCodes) EXPECT_FALSE(win.Logged(std::string("RegQueryValueEx(") + gate + ")")) << gate;
    EXPECT_FALSE(win.Logged(std::string("RegOpenKey(0x80000001, ") + kCheckKey));
    ASSERT_EQ(win.keyStateReads.size(), c.reads);
    EXPECT_EQ(std::vector<int>(win.keyStateReads.begin(), win.keyStateReads.begin() + 2),
              (std::vector<int>{w::kVkShift, w::kVkControl}));
    if (c.reads == 2) continue;
    // Then the chain reads afresh: restart its key between the modifiers,
    // the others last.
    const std::vector<int> firstRows(win.keyStateReads.begin() + 2, win.keyStateReads.begin() + 11);
    EXPECT_EQ(firstRows, (std::vector<int>{w::kVkShift, kF2, w::kVkControl, w::kVkShift, w::kVkControl, kF1,
                                            w::kVkShift, w::kVkControl, 'W'}));
    EXPECT_EQ(win.keyStateReads.back(), kF5);
  }
}

// Windows 95 and the NT family get the screen-saver command; Windows 98 runs
// its stored file.
struct ScreenSaverCase {
  const char* name;
  FakeWindows::Version version;
  const char* call;
};

class ScreenSaverHotKeyTest : public HotKeyTest, public ::testing::WithParamInterface<ScreenSaverCase> {};

TEST_P(ScreenSaverHotKeyTest, FollowsTheSystem) {
  win.SetVersion(GetParam().version);
  win.SetRegString(w::kHkeyCurrentUser, kPathKey, "strscreen", kScreenSaverFile);
  Enable("screen");
  Start();
  HoldShiftCtrl({'Q'});
  win.ClearLog();
  Tick();
  const std::vector<std::string> calls = ActionCalls();
  ASSERT_EQ(calls.size(), 1u) << Joined(calls);
  EXPECT_EQ(calls[0].rfind(GetParam().call, 0), 0u) << calls[0];
}

INSTANTIATE_TEST_SUITE_P(Versions, ScreenSaverHotKeyTest,
                         ::testing::Values(ScreenSaverCase{"Win95", FakeWindows::Version::Win95, "SendMessage("},
                                           ScreenSaverCase{"WinNT4", FakeWindows::Version::WinNT4, "SendMessage("},
                                           ScreenSaverCase{"Win10", FakeWindows::Version::Win10, "SendMessage("},
                                           ScreenSaverCase{"Win98", FakeWindows::Version::Win98, "ShellExecute("},
                                           ScreenSaverCase{"WinMe", FakeWindows::Version::WinMe, "ShellExecute("}),
                         [](const ::testing::TestParamInfo<ScreenSaverCase>& info) { return info.param.name; });

TEST_F(HotKeyChainTest, TicksWhileTheScreenSaverDialogIsOpenNeverOpenASecondOne) {
  Enable("screen");
  Enable("sleep");
  Start();
  int sleepsDuringDialog = 0;
  win.whileFileDialog = [&] {
    if (win.fileDialogs.size() > 1) return;
    Tick(5);  // Q still held
    win.keysDown.erase('Q');
    Tick(2);
    win.keysDown.insert('Q');  // pressed again while the dialog is up
    Tick(5);
    win.keysDown.erase('Q');
    win.keysDown.insert('Z');  // another hot key works meanwhile
    Tick();
    sleepsDuringDialog = win.Count("SendMessage(");
    win.keysDown.erase('Z');
    win.keysDown.insert('Q');
    Tick(2);
  };
  HoldShiftCtrl({'Q'});
  Tick();
  EXPECT_EQ(win.fileDialogs.size(), 1u);
  EXPECT_EQ(sleepsDuringDialog, 1);
  Tick(5);  // the keys are still down after the dialog was cancelled
  EXPECT_EQ(win.fileDialogs.size(), 1u);
  EXPECT_FALSE(win.GetRegString(w::kHkeyCurrentUser, kPathKey, "strscreen").has_value());

  // A fresh press asks again, since nothing was stored.
  ReleaseAll();
  Tick();
  win.fileDialogAnswers.push_back(std::string(kScreenSaverFile));
  HoldShiftCtrl({'Q'});
  Tick();
  EXPECT_EQ(win.fileDialogs.size(), 2u);
  EXPECT_EQ(win.GetRegString(w::kHkeyCurrentUser, kPathKey, "strscreen"), kScreenSaverFile);
}

}  // namespace
}  // namespace tarnby
