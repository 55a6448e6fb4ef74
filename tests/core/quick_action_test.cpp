#include <set>

#include "core/actions/actions.h"
#include "core/actions/catalogue.h"
#include "core/app_fixture.h"
#include "core/resource_ids.h"
#include "core/shell/shell.h"
#include "core/system/settings_store.h"

namespace tarnby {
namespace {

// A row's picture: a forced form shows its twin's, on the box they share.
int PictureOf(const CatalogueRow& row) {
  if (row.picture) return row.picture;
  for (const CatalogueRow& other : kCatalogue)
    if (other.forcedTwin == row.code) return other.picture;
  return 0;
}
class QuickActionTest : public AppTest {
 protected:
  MenuItem& Item(const std::string& name) {
    for (MenuItem* item : f().mnupopmenu.items)
      if (item->name == name) return *item;
    throw std::runtime_error("no menu item " + name);
  }
  std::vector<std::string> Checked() {
    std::vector<std::string> names;
    for (MenuItem* item : f().mnupopmenu.items)
      if (item->checked) names.push_back(item->name);
    return names;
  }
  // The one icon in the tray: its owner box and its tip text.
  std::pair<Control*, std::string> TheIcon() {
    EXPECT_EQ(win.trayIcons.size(), 1u);
    if (win.trayIcons.empty()) return {nullptr, ""};
    const NotifyIconData& icon = win.trayIcons.begin()->second;
    const std::string tip = icon.szTip.substr(0, icon.szTip.find('\0'));
    Control* box = win.ControlOf(icon.hWnd);
    EXPECT_TRUE(box != nullptr);
    if (box) {
      EXPECT_EQ(icon.hIcon, box->pictureHandle) << "the icon is the owner box's own picture";
    }
    EXPECT_EQ(icon.uID, 1u);
    EXPECT_EQ(icon.uFlags, 7u);
    EXPECT_EQ(icon.uCallbackMessage, 0x200u);
    EXPECT_EQ(icon.cbSize, 88u);
    EXPECT_EQ(icon.szTip.size(), 64u);
    return {box, tip};
  }
  void SaveAsIfUserDid() { Item("mnusave").Click(); }
};

TEST_F(QuickActionTest, AFreshStartShowsTheScreenSaverAndChecksOnlyIt) {
  Start();
  EXPECT_EQ(Checked(), std::vector<std::string>{"mnuscreen"});
  auto [box, tip] = TheIcon();
  EXPECT_EQ(box, &f().picscreen);
  EXPECT_EQ(tip, "Double click to start screensaver, right click for menu");
}

TEST_F(QuickActionTest, EverySelectionShowsItsOwnIconAndTipAndOneCheckMark) {
  Start();
  // Walk every item from every other item, so the remove-before-add rules
  // are exercised in all directions.
  for (const CatalogueRow& from : kCatalogue) {
    for (const CatalogueRow& to : kCatalogue) {
      const std::string move = (f().*from.item).name + " -> " + (f().*to.item).name;
      (f().*from.item).Click();
      (f().*to.item).Click();
      EXPECT_EQ(Checked(), std::vector<std::string>{(f().*to.item).name}) << move;
      auto [box, tip] = TheIcon();
      ASSERT_TRUE(box != nullptr);
      EXPECT_EQ(box, &(f().*to.trayBox)) << move;
      EXPECT_EQ(box->Picture(), PictureOf(to)) << move;
      EXPECT_EQ(tip, to.tip) << move;
    }
  }
}

TEST_F(QuickActionTest, EveryRowHasItsOwnItemAndTipAForcedFormSharesItsTwinsBoxAndEveryTipFits) {
  Start();
  std::set<const MenuItem*> items;
  std::set<std::string> tips;
  for (const CatalogueRow& row : kCatalogue) {
    items.insert(&(f().*row.item));
    tips.insert(row.tip);
    EXPECT_LE(std::string(row.tip).size(), 63u) << row.tip;
    EXPECT_NE(PictureOf(row), 0) << row.tip;
    if (row.forcedTwin) {
      const CatalogueRow& twin = Catalogued(*row.forcedTwin);
      EXPECT_EQ(twin.trayBox, row.trayBox) << row.tip;
      EXPECT_EQ(twin.picture, 0) << twin.tip;
    }
  }
  EXPECT_EQ(items.size(), kCatalogue.size());
  EXPECT_EQ(tips.size(), kCatalogue.size());
}

TEST_F(QuickActionTest, TheEightIconsAreDistinct) {
  Start();
  std::set<Handle> icons;
  for (Control* box : TrayBoxes(f())) icons.insert(box->pictureHandle);
  EXPECT_EQ(icons.size(), 8u);
  EXPECT_EQ(icons.count(0), 0u);
}

TEST_F(QuickActionTest, SwitchingBetweenAPairReplacesTheTipNeverModifies) {
  Start();
  Item("mnushut").Click();
  win.ClearLog();
  Item("mnushutf").Click();
  EXPECT_EQ(TheIcon().second, "Double click to Forcefully Shut Down the Computer");
  EXPECT_EQ(win.Count("Shell_NotifyIcon(1"), 0) << "never NIM_MODIFY";
  // picshut's own icon went and came back: delete before add.
  const auto calls = win.Calls("Shell_NotifyIcon");
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().rfind("Shell_NotifyIcon(0", 0), 0u);
  EXPECT_EQ(win.Count("Shell_NotifyIcon(2"), 8);
}

TEST_F(QuickActionTest, ReselectingTheScreenSaverLeavesItsIconAlone) {
  Start();
  win.ClearLog();
  Item("mnuscreen").Click();
  EXPECT_EQ(win.Count("Shell_NotifyIcon(2"), 7) << "the seven other boxes";
  EXPECT_EQ(TheIcon().first, &f().picscreen);
}

TEST_F(QuickActionTest, TheTipFieldIsPaddedAndCutAt64) {
  EXPECT_EQ(TipField("ab"), std::string("ab\0", 3) + std::string(61, ' '));
  EXPECT_EQ(TipField(std::string(63, 'x')), std::string(63, 'x') + '\0');
  EXPECT_EQ(TipField(std::string(80, 'x')), std::string(64, 'x'));
}

TEST(WaitingTip, TakesTheShells127CharactersAndIsCutAfterAWholeOneWithAnEllipsis) {
  const std::string x125(125, 'x'), e = "\xC3\xA9", smile = "\xF0\x9F\x98\x80", dots = "\xE2\x80\xA6";
  const std::pair<std::string, std::string> cases[] = {
      {"Shut down 60 s after a.exe exits", "Shut down 60 s after a.exe exits"},
      {x125 + "xx", x125 + "xx"},                      // 127: fits
      {x125 + e + "x", x125 + e + "x"},                 // two bytes, one character
      {x125 + "xxx", x125 + "x" + dots},                // 128: cut
      {x125 + "x" + e + e, x125 + "x" + dots},          // never half a character
      {x125 + smile + "x", x125 + dots},                // a pair of units is not split
      {x125 + "x\xFF\xFF", x125 + "x" + dots}};       // bytes of no character count one each
  for (const auto& [tip, shown] : cases) EXPECT_EQ(WaitingTipField(tip), shown + '\0') << tip.size();
}

TEST_F(QuickActionTest, RunProgramsOpensTheSelectionWindowEveryTime) {
  Start();
  Item("mnuprogram").Click();
  ASSERT_TRUE(app->frmprogram.Loaded());
  EXPECT_TRUE(app->frmprogram().Visible());
  app->frmprogram().Hide();
  Item("mnuprogram").Click();
  EXPECT_TRUE(app->frmprogram().Visible());
}

TEST_F(QuickActionTest, SaveWritesAllTenValuesWithOnlyTheCheckedOneTrue) {
  Start();
  Item("mnulogf").Click();
  win.ClearLog();
  SaveAsIfUserDid();
  const auto writes = win.Calls("RegSetValueEx");
  const std::vector<std::string> expected = {
      "RegSetValueEx(restart, 1, )", "RegSetValueEx(restartw, 1, )", "RegSetValueEx(restartf, 1, )",
      "RegSetValueEx(screen, 1, )",  "RegSetValueEx(sleep, 1, )",    "RegSetValueEx(dos, 1, )",
      "RegSetValueEx(log, 1, )",     "RegSetValueEx(logf, 1, true)", "RegSetValueEx(shut, 1, )",
      "RegSetValueEx(shutf, 1, )"};
  EXPECT_EQ(writes, expected);
}

TEST_F(QuickActionTest, SavingRunProgramsClearsAllAndTheNextStartShowsTheScreenSaver) {
  win.SetRegString(w::kHkeyCurrentUser, kSettingsKey, "shut", "true");
  Start();
  Item("mnuprogram").Click();
  SaveAsIfUserDid();
  for (const char* code : kActionCodes)
    EXPECT_EQ(win.GetRegString(w::kHkeyCurrentUser, kSettingsKey, code), "") << code;
  app.reset();
  RestoreWindowProcs();
  win.NewProcess();
  Start();
  EXPECT_EQ(Checked(), std::vector<std::string>{"mnuscreen"});
}

TEST_F(QuickActionTest, ASavedActionIsRestoredAtTheNextStart) {
  for (const CatalogueRow& row : kCatalogue) {
    if (!row.code) continue;  // "Run Program(s)..." is never restored
    FakeWindows fresh;
    App first(fresh);
    ASSERT_TRUE(first.Start());
    (first.frmstart.*row.item).Click();
    first.frmstart.mnusave.Click();
    RestoreWindowProcs();

    FakeWindows next;
    for (const char* code : kActionCodes)
      next.SetRegString(w::kHkeyCurrentUser, kSettingsKey, code,
                        *fresh.GetRegString(w::kHkeyCurrentUser, kSettingsKey, code));
    App second(next);
    ASSERT_TRUE(second.Start());
    ASSERT_EQ(next.trayIcons.size(), 1u) << row.name;
    EXPECT_EQ(next.ControlOf(next.trayIcons.begin()->second.hWnd), &(second.frmstart.*row.trayBox)) << row.name;
    int checked = 0;
    for (MenuItem* item : second.frmstart.mnupopmenu.items) {
      checked += item->checked;
      if (item->checked) {
        EXPECT_EQ(item, &(second.frmstart.*row.item)) << row.name;
      }
    }
    EXPECT_EQ(checked, 1);
    RestoreWindowProcs();
  }
}

TEST_F(QuickActionTest, RestoreFollowsItsOrderAndTheLastTrueWins) {
  struct Case {
    std::vector<const char*> trueValues;
    const char* expected;
  } cases[] = {
      {{"shut", "log"}, "mnushut"},
      {{"restart", "restartf", "restartw"}, "mnuwin"},
      {{"shutf", "restart"}, "mnushutf"},
      {{"dos", "sleep"}, "mnudos"},
  };
  for (const Case& c : cases) {
    FakeWindows fresh;
    for (const char* code : c.trueValues) fresh.SetRegString(w::kHkeyCurrentUser, kSettingsKey, code, "true");
    App local(fresh);
    ASSERT_TRUE(local.Start());
    int checked = 0;
    for (MenuItem* item : local.frmstart.mnupopmenu.items) {
      if (!item->checked) continue;
      ++checked;
      EXPECT_EQ(item->name, c.expected);
    }
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(fresh.trayIcons.size(), 1u);
    RestoreWindowProcs();
  }
}

TEST_F(QuickActionTest, OnlyTheExactWordTrueRestores) {
  win.SetRegString(w::kHkeyCurrentUser, kSettingsKey, "shut", "True");
  win.SetRegValue(w::kHkeyCurrentUser, kSettingsKey, "log", w::kRegExpandSz, {'t', 'r', 'u', 'e', 0});
  win.SetRegString(w::kHkeyCurrentUser, kSettingsKey, "dos", "true", false);  // no NUL still counts
  Start();
  EXPECT_EQ(Checked(), std::vector<std::string>{"mnudos"});
}

TEST_F(QuickActionTest, TheMenuHasItsItemsInOrder) {
  Start();
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"mnucd", "&Eject CD-Rom Drive"},
      {"mnucdclose", "Cl&ose CD-Rom Drive"},
      {"mnuline11", "-"},
      {"mnumin", "Minimi&ze all Windows"},
      {"mnushow", "Restore a&ll Windows"},
      {"mnuline7", "-"},
      {"mnusleep", "Suspend &Mode(Win98)"},
      {"mnuscreenchange", "Change Screensaver(&Win98)"},
      {"mnuscreen", "S&creen Saver"},
      {"mnuline10", "-"},
      {"mnunet", "Disconnect from &Internet"},
      {"mnudoc", "Clear Doc&uments Folder"},
      {"mnutemp", "&Delete files in Temp Folder"},
      {"mnuline9", "-"},
      {"mnuprogram", "Run Program(s)..."},
      {"mnudos", "&Exit to Dos"},
      {"mnuline4", "-"},
      {"mnushut", "S&hut Down Computer"},
      {"mnushutf", "&Force Shut Down"},
      {"mnuline6", "-"},
      {"mnulog", "&Log Off Computer"},
      {"mnulogf", "F&orce Log Off"},
      {"mnuline3", "-"},
      {"mnuwin", "Restart Windows Onl&y"},
      {"mnurestart", "&Restart Computer"},
      {"mnurestartf", "Force Restart Co&mputer"},
      {"mnuline2", "-"},
      {"mnureadme", "V&iew ReadMe File"},
      {"mnuabout", "&About..."},
      {"mnuhelp", "&Need Help?"},
      {"mnuline5", "-"},
      {"mnusave", "Save Current Set&tings"},
      {"mnuhot", "Change, Set the Hot Ke&y(s)"},
      {"mnuline8", "-"},
      {"mnupopmenushow", "&Show Timer"},
      {"mnutime", "Show Current Time &Left"},
      {"mnuline", "-"},
      {"mnupopmenuexit", "E&xit"},
  };
  ASSERT_EQ(f().mnupopmenu.items.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(f().mnupopmenu.items[i]->name, expected[i].first);
    EXPECT_EQ(f().mnupopmenu.items[i]->caption, expected[i].second);
    EXPECT_EQ(f().mnupopmenu.items[i]->visible, expected[i].first != "mnutime");
  }
  EXPECT_FALSE(f().mnupopmenu.visible);
  EXPECT_EQ(f().mnupopmenu.caption, "Menu");
}

}  // namespace
}  // namespace tarnby
