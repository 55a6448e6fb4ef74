// Start with Windows: the machine-wide run entry where it may be written, the
// user's own where the system refuses it, and the controls that follow both.
#include <optional>
#include <string>

#include "core/app_fixture.h"
#include "core/system/settings_store.h"

namespace tarnby {
namespace {

constexpr char kStays[] =
    "Tarnby was set to load for every user of this computer. Only an administrator can turn that off.";

class StartWithWindowsTest : public AppTest {
 protected:
  std::string Entry() { return win.programFolder + "\\tarnby.exe"; }
  std::string Quoted() { return "\"" + Entry() + "\""; }
  std::optional<std::string> Stored() { return win.GetRegString(w::kHkeyLocalMachine, kWindowsRunKey, "Tarnby"); }
  std::optional<std::string> StoredForUser() { return win.GetRegString(w::kHkeyCurrentUser, kUserRunKey, "Tarnby"); }
  void ExpectOffered(bool on) {
    EXPECT_EQ(f().Label8.Enabled(), on);
    EXPECT_EQ(f().Option1.Enabled(), on);
    EXPECT_EQ(f().Label9.Enabled(), !on);
    EXPECT_EQ(f().Option2.Enabled(), !on);
  }
};

TEST_F(StartWithWindowsTest, WithNoEntryOnlySwitchingOnIsOffered) {
  Start();
  ExpectOffered(true);
}

TEST_F(StartWithWindowsTest, LabelsAndOptionsFlipTheEntry) {
  Start();
  f().Label8.Click();
  EXPECT_EQ(Stored(), Entry());
  ExpectOffered(false);
  f().Label9.Click();
  EXPECT_EQ(Stored(), "") << "switching off keeps the value, empty";
  ExpectOffered(true);
  f().Option1.Click();
  EXPECT_EQ(Stored(), Entry());
  ExpectOffered(false);
  f().Option2.Click();
  EXPECT_EQ(Stored(), "");
  ExpectOffered(true);
  EXPECT_FALSE(StoredForUser()) << "the machine-wide entry took it: the user's own key stays untouched";
  EXPECT_EQ(win.Count("RegSetValueEx(Tarnby"), 4) << "one write per click";
}

// What each entry shows, and what switching it off and on does. Windows
// starts the same file however the entry spells it, so every spelling of this
// program is this program; an entry naming another program is neither on nor
// off (the controls keep their design state) and switching off leaves it.
// Task Manager marks an entry disabled beside it, in the same hive: such an
// entry is off, and switching on takes the mark of the hive written away.
// The user's own entry is written where the machine-wide key is refused.
TEST_F(StartWithWindowsTest, WhatEachEntryShowsAndWhatSwitchingDoes) {
  constexpr char kApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
  using Mark = std::vector<std::uint8_t>;
  const Mark disabled = {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  struct Case {
    Handle hive;
    std::string data;
    std::optional<bool> on;  // nullopt: another program's, the controls keep their design state
    std::uint32_t type = w::kRegSz;
    Mark mark = {};          // Task Manager's, beside the entry; empty: none
  };
  const std::string entry = "C:\\Program Files\\Tarnby\\tarnby.exe";
  const Handle user = w::kHkeyCurrentUser, machine = w::kHkeyLocalMachine;
  const Case cases[] = {
      {user, "\"" + entry + "\"", true},
      {user, entry, true},
      {machine, "\"" + entry + "\"", true},
      {user, "", false},
      {user, "c:\\program files\\tarnby\\TARNBY.EXE", true},
      {user, "\"C:\\PROGRA~1\\Tarnby\\tarnby.exe\"", true},
      {user, "C:/Program Files/Tarnby/tarnby.exe", true},
      {user, "\"%ProgramFiles%\\Tarnby\\tarnby.exe\"", true, w::kRegExpandSz},
      {user, "%programfiles%\\Tarnby\\tarnby.exe", true, w::kRegExpandSz},
      {user, "%ProgramFiles%\\Tarnby\\tarnby.exe", std::nullopt},  // Windows expands only REG_EXPAND_SZ
      {user, "%Unset%\\Tarnby\\tarnby.exe", std::nullopt, w::kRegExpandSz},
      {user, "\"C:\\Program Files\\Other\\other.exe\"", std::nullopt},
      {user, "\"D:\\Old\\tarnby.exe\"", std::nullopt},
      {user, "\"" + entry, std::nullopt},
      {user, entry + ".bak", std::nullopt},
      {user, "tarnby.exe", std::nullopt},  // found, if at all, where the system looks for it
      {machine, "\"" + entry + "\"", false, w::kRegSz, disabled},
      {user, "\"" + entry + "\"", false, w::kRegSz, disabled},
      {user, "\"" + entry + "\"", false, w::kRegSz, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},  // another odd byte
      {user, "\"" + entry + "\"", true, w::kRegSz, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},   // enabled again
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data + (c.mark.empty() ? "" : " marked") + (c.hive == machine ? " machine-wide" : ""));
    FakeWindows fresh;
    fresh.AddFile(fresh.programFolder + "\\tarnby.exe");
    fresh.AddFile("C:\\Program Files\\Other\\other.exe");
    fresh.AddLink("C:\\PROGRA~1", "C:\\Program Files");
    fresh.environment["PROGRAMFILES"] = "C:\\Program Files";
    fresh.currentDir = fresh.programFolder;
    fresh.localMachineWritable = c.hive == machine;
    const char* runKey = c.hive == machine ? kWindowsRunKey : kUserRunKey;
    fresh.SetRegValue(c.hive, runKey, "Tarnby", c.type, std::vector<std::uint8_t>(c.data.begin(), c.data.end() + 1));
    if (!c.mark.empty()) fresh.SetRegValue(c.hive, kApproved, "Tarnby", w::kRegBinary, c.mark);
    App local(fresh);
    ASSERT_TRUE(local.Start());
    EXPECT_EQ(local.frmstart.Label8.Enabled(), !c.on.value_or(false));
    EXPECT_EQ(local.frmstart.Label9.Enabled(), c.on.value_or(true));

    if (c.on.value_or(true)) {
      local.frmstart.Label9.Click();
      const bool left = fresh.GetRegValue(c.hive, runKey, "Tarnby").has_value();
      if (!c.on) {
        EXPECT_TRUE(left) << "another program's entry went";
      } else if (c.hive == machine) {
        EXPECT_EQ(fresh.GetRegString(c.hive, runKey, "Tarnby"), "") << "switching off keeps the machine-wide value, empty";
      } else {
        EXPECT_FALSE(left) << "the user's own entry stays";
      }
    }
    local.frmstart.Label8.Click();
    EXPECT_TRUE(local.frmstart.Label9.Enabled()) << "switching on turned it on";
    const auto mark = fresh.GetRegValue(c.hive, kApproved, "Tarnby");
    EXPECT_TRUE(!mark || !(mark->data.at(0) & 1)) << "a disabling mark stayed";
    EXPECT_TRUE(fresh.messageBoxes.empty());
    RestoreWindowProcs();
  }
}

TEST_F(StartWithWindowsTest, AnEntryFromAnotherFolderLeavesTheControlsAsTheyWere) {
  Start();
  f().Label8.Click();
  ExpectOffered(false);
  win.SetRegString(w::kHkeyLocalMachine, kWindowsRunKey, "Tarnby", "D:\\Old\\tarnby.exe");
  RightClick(f().picscreen);  // the menu's opening step runs load
  ExpectOffered(false);
  f().Label9.Click();
  EXPECT_EQ(Stored(), "");
  ExpectOffered(true);
}

TEST_F(StartWithWindowsTest, AtADriveRootTheFolderKeepsItsBackslash) {
  win.programFolder = "E:\\";
  Start();
  f().Option1.Click();
  EXPECT_EQ(Stored(), "E:\\\\tarnby.exe");
  ExpectOffered(false);
}

// A standard user: the system refuses the machine-wide key with access denied.
TEST_F(StartWithWindowsTest, AStandardUserSwitchesTheirOwnEntry) {
  struct Case {
    const char* name;
    std::optional<std::string> machine, user;  // the entries before the click
    bool clickOn;
    std::optional<std::string> userAfter;
    std::optional<bool> onAfter;  // nullopt: the controls keep their design state
    const char* message;  // nullptr: none
  };
  const std::string entry = "C:\\Program Files\\Tarnby\\tarnby.exe";
  const std::string quoted = "\"" + entry + "\"";
  const Case cases[] = {
      {"on", std::nullopt, std::nullopt, true, quoted, true, nullptr},
      {"on over another copy", std::nullopt, "\"D:\\Old\\tarnby.exe\"", true, quoted, true, nullptr},
      {"off", std::nullopt, quoted, false, std::nullopt, false, nullptr},
      {"off, unquoted", "", entry, false, std::nullopt, false, nullptr},
      {"off, machine-wide left", entry, quoted, false, std::nullopt, true, kStays},
      {"off, another copy machine-wide", "D:\\Old\\tarnby.exe", std::nullopt, false, std::nullopt, std::nullopt,
       nullptr},
      {"off, another program's own", std::nullopt, "\"D:\\Other\\other.exe\"", false, "\"D:\\Other\\other.exe\"",
       std::nullopt, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWindows fresh;
    if (c.machine) fresh.SetRegString(w::kHkeyLocalMachine, kWindowsRunKey, "Tarnby", *c.machine);
    if (c.user) fresh.SetRegString(w::kHkeyCurrentUser, kUserRunKey, "Tarnby", *c.user);
    fresh.localMachineWritable = false;
    App local(fresh);
    ASSERT_TRUE(local.Start());
    (c.clickOn ? local.frmstart.Label8 : local.frmstart.Label9).Click();
    EXPECT_EQ(fresh.GetRegString(w::kHkeyCurrentUser, kUserRunKey, "Tarnby"), c.userAfter);
    EXPECT_EQ(fresh.GetRegString(w::kHkeyLocalMachine, kWindowsRunKey, "Tarnby"), c.machine);
    EXPECT_EQ(local.frmstart.Label8.Enabled(), !c.onAfter.value_or(false));
    EXPECT_EQ(local.frmstart.Label9.Enabled(), c.onAfter.value_or(true));
    ASSERT_EQ(fresh.messageBoxes.size(), c.message ? 1u : 0u);
    if (c.message) {
      EXPECT_EQ(fresh.messageBoxes[0].text, c.message);
      EXPECT_EQ(fresh.messageBoxes[0].title, "Tarnby");
      EXPECT_EQ(fresh.messageBoxes[0].style, w::kMbIconExclamation);
    }
    RestoreWindowProcs();
  }
}

TEST_F(StartWithWindowsTest, SwitchingOffAsAdministratorClearsTheUsersEntryToo) {
  win.SetRegString(w::kHkeyCurrentUser, kUserRunKey, "Tarnby", Quoted());
  Start();
  ExpectOffered(false);
  f().Label9.Click();
  EXPECT_FALSE(StoredForUser());
  EXPECT_EQ(Stored(), "");
  ExpectOffered(true);
  EXPECT_TRUE(win.messageBoxes.empty());
}

TEST_F(StartWithWindowsTest, AWriteRefusedEverywhereIsToldAndShowsTheUnchangedState) {
  win.localMachineWritable = false;
  win.currentUserWritable = false;
  Start();
  f().Label8.Click();
  EXPECT_FALSE(Stored());
  EXPECT_FALSE(StoredForUser());
  ExpectOffered(true);
  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, "Windows did not let Tarnby set itself to load when Windows loads.");
}

}  // namespace
}  // namespace tarnby
