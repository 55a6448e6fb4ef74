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

// Windows starts the same file however the entry spells it; a standard user
// switching off takes away only a value that starts this very file.
TEST_F(StartWithWindowsTest, EachSpellingOfThisProgramIsThisProgram) {
  struct Case {
    std::string data;
    std::uint32_t type;
    bool isThis;
  };
  const Case cases[] = {
      {"c:\\program files\\tarnby\\TARNBY.EXE", w::kRegSz, true},
      {"\"C:\\PROGRA~1\\Tarnby\\tarnby.exe\"", w::kRegSz, true},
      {"C:/Program Files/Tarnby/tarnby.exe", w::kRegSz, true},
      {"\"%ProgramFiles%\\Tarnby\\tarnby.exe\"", w::kRegExpandSz, true},
      {"%programfiles%\\Tarnby\\tarnby.exe", w::kRegExpandSz, true},
      {"%ProgramFiles%\\Tarnby\\tarnby.exe", w::kRegSz, false},  // Windows expands only REG_EXPAND_SZ
      {"%Unset%\\Tarnby\\tarnby.exe", w::kRegExpandSz, false},
      {"\"C:\\Program Files\\Other\\other.exe\"", w::kRegSz, false},
      {"C:\\Program Files\\Tarnby\\tarnby.exe.bak", w::kRegSz, false},
      {"tarnby.exe", w::kRegSz, false},  // found, if at all, where the system looks for it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    FakeWindows fresh;
    fresh.AddFile(fresh.programFolder + "\\tarnby.exe");
    fresh.AddFile("C:\\Program Files\\Other\\other.exe");
    fresh.AddLink("C:\\PROGRA~1", "C:\\Program Files");
    fresh.environment["PROGRAMFILES"] = "C:\\Program Files";
    fresh.currentDir = fresh.programFolder;
    fresh.localMachineWritable = false;
    fresh.SetRegValue(w::kHkeyCurrentUser, kUserRunKey, "Tarnby", c.type,
                      std::vector<std::uint8_t>(c.data.begin(), c.data.end() + 1));
    App local(fresh);
    ASSERT_TRUE(local.Start());
    EXPECT_EQ(local.frmstart.Label9.Enabled(), true) << "on, or left as designed";
    EXPECT_EQ(local.frmstart.Label8.Enabled(), !c.isThis);
    local.frmstart.Label9.Click();
    EXPECT_EQ(fresh.GetRegValue(w::kHkeyCurrentUser, kUserRunKey, "Tarnby").has_value(), !c.isThis);
    EXPECT_TRUE(fresh.messageBoxes.empty());
    RestoreWindowProcs();
  }
}

// Task Manager marks an entry disabled beside it, in the same hive: such an
// entry is off, and switching on takes the mark of the hive written away.
TEST_F(StartWithWindowsTest, TaskManagersMarkTurnsTheEntryOff) {
  constexpr char kApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
  struct Case {
    const char* name;
    Handle hive;
    std::vector<std::uint8_t> mark;  // empty: none
    bool on;
  };
  const Case cases[] = {
      {"disabled, machine-wide", w::kHkeyLocalMachine, {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
      {"disabled, the user's", w::kHkeyCurrentUser, {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
      {"disabled, another odd byte", w::kHkeyCurrentUser, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
      {"enabled again", w::kHkeyCurrentUser, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, true},
      {"no mark", w::kHkeyLocalMachine, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWindows fresh;
    const bool machine = c.hive == w::kHkeyLocalMachine;
    fresh.localMachineWritable = machine;
    fresh.SetRegString(c.hive, machine ? kWindowsRunKey : kUserRunKey, "Tarnby", Quoted());
    if (!c.mark.empty()) fresh.SetRegValue(c.hive, kApproved, "Tarnby", w::kRegBinary, c.mark);
    App local(fresh);
    ASSERT_TRUE(local.Start());
    EXPECT_EQ(local.frmstart.Label9.Enabled(), c.on);
    EXPECT_EQ(local.frmstart.Label8.Enabled(), !c.on);
    if (c.on) local.frmstart.Label9.Click();
    local.frmstart.Label8.Click();
    EXPECT_EQ(local.frmstart.Label9.Enabled(), true) << "switching on turned it on";
    const auto left = fresh.GetRegValue(c.hive, kApproved, "Tarnby");
    EXPECT_TRUE(!left || !(left->data.at(0) & 1)) << "a disabling mark stayed";
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

// Either entry, quoted or not, is on; one naming another copy is neither.
TEST_F(StartWithWindowsTest, WhatEachEntryShows) {
  struct Case {
    Handle hive;
    std::string data;
    std::optional<bool> on;  // nullopt: the controls keep their design state
  };
  const std::string entry = "C:\\Program Files\\Tarnby\\tarnby.exe";
  const Case cases[] = {
      {w::kHkeyCurrentUser, "\"" + entry + "\"", true}, {w::kHkeyCurrentUser, entry, true},
      {w::kHkeyLocalMachine, "\"" + entry + "\"", true}, {w::kHkeyCurrentUser, "", false},
      {w::kHkeyCurrentUser, "\"D:\\Old\\tarnby.exe\"", std::nullopt},
      {w::kHkeyCurrentUser, "\"" + entry, std::nullopt},
  };
  for (const Case& c : cases) {
    FakeWindows fresh;
    fresh.SetRegString(c.hive, c.hive == w::kHkeyCurrentUser ? kUserRunKey : kWindowsRunKey, "Tarnby", c.data);
    App local(fresh);
    ASSERT_TRUE(local.Start());
    EXPECT_EQ(local.frmstart.Label8.Enabled(), !c.on.value_or(false)) << c.data;
    EXPECT_EQ(local.frmstart.Label9.Enabled(), c.on.value_or(true)) << c.data;
    RestoreWindowProcs();
  }
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
