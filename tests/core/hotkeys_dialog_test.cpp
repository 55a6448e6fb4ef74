// The hot key settings dialog: what it shows, what "Ok" stores, and that
// nothing else stores anything.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "core/hotkeys/frmhot.h"
#include "core/hotkeys_fixture.h"

namespace tarnby {
namespace {

constexpr char kRestartTip[] = "Shift + Ctrl + F2";

class HotKeyDialogTest : public HotKeyTest {
 protected:
  Frmhot& OpenDialog() {
    f().mnuhot.Click();
    Frmhot* dialog = app->frmhot.IfLoaded();
    EXPECT_NE(dialog, nullptr);
    return *dialog;
  }
  std::optional<std::string> Stored(const std::string& gate) const {
    return win.GetRegString(w::kHkeyCurrentUser, kCheckKey, gate);
  }
};

TEST_F(HotKeyDialogTest, FirstOpeningShowsEverythingOffAndTheRestartCombination) {
  Start();
  ChooseFromMenu(f().picscreen, "mnuhot");
  ASSERT_TRUE(app->frmhot.Loaded());
  Frmhot& dialog = app->frmhot();
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.Caption(), "Select what Hot Keys you want to Enable");
  for (const Frmhot::Row& row : dialog.Rows()) {
    EXPECT_FALSE(row.check->Value()) << CodeName(row.action);
    EXPECT_TRUE(row.check->Enabled()) << CodeName(row.action);
    EXPECT_EQ(row.check->Caption(), "Enable this?");
  }
  EXPECT_TRUE(dialog.optrestart.Value());
  EXPECT_EQ(dialog.Text1.Text(), kRestartTip);
  std::ostringstream topmost;
  topmost << "SetWindowPos(0x" << std::hex << dialog.hwnd << ", -1, 0, 0, 0, 0, 3)";
  EXPECT_TRUE(win.Logged(topmost.str()));
  EXPECT_FALSE(win.KeyExists(w::kHkeyCurrentUser, kCheckKey)) << "opening writes nothing";
}

TEST_F(HotKeyDialogTest, EachOptionShowsItsOwnCombinationAndNoTwoActionsShareAKey) {
  Start();
  Frmhot& d = OpenDialog();
  std::set<int> keys;
  std::set<std::string> shown;
  std::set<ActionCode> actions;
  for (const Frmhot::Row& row : d.Rows()) {
    const CatalogueRow& action = Catalogued(row.action);
    row.option->Click();
    ASSERT_NE(action.hotKeyShown, nullptr) << CodeName(row.action);
    EXPECT_EQ(d.Text1.Text(), action.hotKeyShown) << row.option->name;
    EXPECT_TRUE(std::string(action.hotKeyShown).starts_with("Shift + Ctrl + ")) << action.hotKeyShown;
    keys.insert(action.hotKey);
    shown.insert(action.hotKeyShown);
    actions.insert(row.action);
  }
  EXPECT_EQ(actions.size(), kActionCodeCount) << "one row per action";
  EXPECT_EQ(keys.size(), kActionCodeCount);
  EXPECT_EQ(shown.size(), kActionCodeCount);
  EXPECT_EQ(keys.count(0), 0u);
  d.optrestart.Click();
  EXPECT_EQ(d.Text1.Text(), kRestartTip);
  EXPECT_FALSE(win.KeyExists(w::kHkeyCurrentUser, kCheckKey));
}

TEST_F(HotKeyDialogTest, BoxesShowExactlyTheValuesThatReadTrue) {
  Enable("restart");
  Enable("restartw");
  Enable("shutf");
  Enable("dos", "True");
  Enable("log", "");
  win.SetRegDword(w::kHkeyCurrentUser, kCheckKey, "logf", 1);
  Start();
  Frmhot& d = OpenDialog();
  for (const Frmhot::Row& row : d.Rows()) {
    const std::string gate = CodeName(row.action);
    EXPECT_EQ(row.check->Value(), gate == "restart" || gate == "restartw" || gate == "shutf") << gate;
  }
  EXPECT_TRUE(d.Check1.Value());
  EXPECT_TRUE(d.Check2.Value());
  EXPECT_TRUE(d.Check10.Value());
}

TEST_F(HotKeyDialogTest, OkWritesAllTenValuesAndCloses) {
  Enable("dos", "True");
  Enable("shut");
  Start();
  Frmhot& d = OpenDialog();
  d.Check9.Click();  // shut off
  d.Check2.Click();  // restartw on
  d.Command1.Click();
  EXPECT_FALSE(app->frmhot.Loaded());
  for (const char* gate : kActionCodes)
    EXPECT_EQ(Stored(gate), std::string(gate) == "restartw" ? "true" : "") << gate;
  EXPECT_EQ(win.Count("RegSetValueEx("), 10);
  EXPECT_EQ(win.OpenKeyCount(), 0);
}

TEST_F(HotKeyDialogTest, CancelTitleBarCloseAndExitStoreNothing) {
  Enable("screen");
  Start();
  const auto change = [&] {
    Frmhot& d = OpenDialog();
    d.Check4.Click();
    d.Check1.Click();
    return &d;
  };
  change()->Command3.Click();
  EXPECT_FALSE(app->frmhot.Loaded());
  change()->RequestClose();
  EXPECT_FALSE(app->frmhot.Loaded());
  change();
  win.messageBoxAnswers.push_back(w::kIdYes);
  ChooseFromMenu(f().picscreen, "mnupopmenuexit");
  EXPECT_FALSE(app->frmhot.Loaded());

  EXPECT_FALSE(win.Logged("RegSetValueEx("));
  EXPECT_EQ(Stored("screen"), "true");
  EXPECT_FALSE(Stored("restart").has_value());
}

TEST_F(HotKeyDialogTest, OpeningAgainKeepsTheOneWindowAndItsUnsavedChanges) {
  Start();
  Frmhot& first = OpenDialog();
  first.Check7.Click();
  first.optdos.Click();
  Frmhot& second = OpenDialog();
  EXPECT_EQ(&first, &second);
  EXPECT_TRUE(second.Check7.Value());
  EXPECT_EQ(second.Text1.Text(), "Shift + Ctrl + X");
  EXPECT_EQ(win.Count("CreateFormWindow(frmhot)"), 1);
  // Closed and opened again, it starts afresh from the registry.
  second.Command3.Click();
  Frmhot& third = OpenDialog();
  EXPECT_FALSE(third.Check7.Value());
  EXPECT_EQ(third.Text1.Text(), kRestartTip);
}

TEST_F(HotKeyDialogTest, OnWindows95TheSuspendRowIsDisabledButKeepsItsValue) {
  win.SetVersion(FakeWindows::Version::Win95);
  Enable("sleep");
  Start();
  Frmhot& d = OpenDialog();
  EXPECT_FALSE(d.optsleep.Enabled());
  EXPECT_FALSE(d.Check5.Enabled());
  EXPECT_TRUE(d.Check5.Value());
  d.Command1.Click();
  EXPECT_EQ(Stored("sleep"), "true");
}

TEST_F(HotKeyDialogTest, ElsewhereTheSuspendRowIsAvailable) {
  for (FakeWindows::Version version : {FakeWindows::Version::Win98, FakeWindows::Version::WinXP}) {
    win = FakeWindows();
    win.SetVersion(version);
    Start();
    Frmhot& d = OpenDialog();
    EXPECT_TRUE(d.optsleep.Enabled());
    EXPECT_TRUE(d.Check5.Enabled());
    TearDown();
  }
}

TEST_F(HotKeyDialogTest, AConfirmedChangeWorksAtTheNextPress) {
  Start();
  HoldShiftCtrl({'X'});
  Tick();
  EXPECT_FALSE(win.Logged("Shell("));
  ReleaseAll();
  Frmhot& d = OpenDialog();
  d.Check6.Click();
  d.Command1.Click();
  HoldShiftCtrl({'X'});
  Tick();
  EXPECT_EQ(win.Count("Shell(C:\\WINDOWS\\exit to dos.pif, 2)"), 1);
}

}  // namespace
}  // namespace tarnby
