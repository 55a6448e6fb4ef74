// The two popup menu items that Timer3 keeps in step with the system.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/hotkeys_fixture.h"

namespace tarnby {
namespace {

constexpr char kRecent[] = "C:\\WINDOWS\\Recent";
constexpr char kRemoteAccess[] = "System\\CurrentControlSet\\Services\\RemoteAccess";

class HotKeyMenuTest : public HotKeyTest {
 protected:
  struct Shown {
    bool documents;
    bool net;
  };
  // Right-click the tray icon; whileOpen runs while the menu is down. The
  // items' states as the menu dropped down.
  Shown OpenMenu(const std::function<void()>& whileOpen = {}) {
    Shown shown{};
    win.whileMenuOpen = [&] {
      shown = {f().mnudoc.enabled, f().mnunet.enabled};
      if (whileOpen) whileOpen();
    };
    RightClick(f().picscreen);
    win.whileMenuOpen = nullptr;
    return shown;
  }
};

TEST_F(HotKeyMenuTest, DocumentsItemIsEnabledOnlyByAnOrdinaryRecentFile) {
  struct Entry {
    const char* name;
    std::uint32_t attributes;
  };
  struct Case {
    const char* name;
    std::vector<Entry> entries;
    bool enabled;
  };
  const Case cases[] = {
      {"empty folder", {}, false},
      {"only a subfolder", {{"Old", w::kFileAttributeDirectory}}, false},
      {"only hidden and system files",
       {{"desktop.ini", w::kFileAttributeHidden | w::kFileAttributeSystem}, {"x.lnk", w::kFileAttributeHidden}},
       false},
      {"a shortcut", {{"Letter.lnk", w::kFileAttributeArchive}}, true},
      {"a read-only file", {{"Plan.lnk", w::kFileAttributeReadOnly}}, true},
      {"a plain file without a dot", {{"notes", w::kFileAttributeNormal}}, true},
      {"hidden files before an ordinary one",
       {{"a.lnk", w::kFileAttributeHidden}, {"Old", w::kFileAttributeDirectory}, {"z.lnk", w::kFileAttributeArchive}},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    win = FakeWindows();
    for (const Entry& e : c.entries) {
      if (e.attributes & w::kFileAttributeDirectory)
        win.AddFolder(std::string(kRecent) + "\\" + e.name);
      else
        win.AddFile(std::string(kRecent) + "\\" + e.name, e.attributes);
    }
    Start();
    Tick();
    EXPECT_EQ(OpenMenu().documents, c.enabled);
    TearDown();
  }
}

// Each step changes the system; with the menu closed the items must be right
// when it next drops down, with the menu open one tick later.
struct MenuStep {
  const char* name;
  std::function<void(FakeWindows&)> change;
  bool documents;
  bool net;
};

TEST_F(HotKeyMenuTest, ItemsFollowTheFolderAndTheDialUpStateWithTheMenuOpenAndClosed) {
  const std::string moved = "D:\\Profile\\Recent";
  const std::vector<MenuStep> steps = {
      {"a file appears", [](FakeWindows& w) { w.AddFile(std::string(kRecent) + "\\Budget.lnk"); }, true, false},
      {"dial-up comes up",
       [](FakeWindows& w) { w.SetRegDword(w::kHkeyLocalMachine, kRemoteAccess, "Remote Connection", 1); }, true, true},
      {"the folder moves to an empty one",
       [&](FakeWindows& w) {
         w.AddFolder(moved);
         w.recentFolder = moved;
       },
       false, true},
      {"a file appears in the new folder", [&](FakeWindows& w) { w.AddFile(moved + "\\Plan.lnk"); }, true, true},
      {"the file vanishes", [&](FakeWindows& w) { w.DeleteFile(moved + "\\Plan.lnk"); }, false, true},
      {"dial-up goes down",
       [](FakeWindows& w) { w.SetRegDword(w::kHkeyLocalMachine, kRemoteAccess, "Remote Connection", 0); }, false,
       false},
      {"the folder moves back to the one with a file", [](FakeWindows& w) { w.recentFolder = kRecent; }, true, false},
  };
  for (const bool open : {false, true}) {
    SCOPED_TRACE(open ? "menu open" : "menu closed");
    win = FakeWindows();
    Start();
    Tick(3);
    const Shown first = OpenMenu([&] {
      for (const MenuStep& step : open ? steps : std::vector<MenuStep>{}) {
        SCOPED_TRACE(step.name);
        step.change(win);
        Tick();
        EXPECT_EQ(f().mnudoc.enabled, step.documents);
        EXPECT_EQ(f().mnunet.enabled, step.net);
      }
    });
    EXPECT_FALSE(first.documents);
    EXPECT_FALSE(first.net);
    for (const MenuStep& step : open ? std::vector<MenuStep>{} : steps) {
      SCOPED_TRACE(step.name);
      step.change(win);
      Tick(3);
      const Shown shown = OpenMenu();
      EXPECT_EQ(shown.documents, step.documents);
      EXPECT_EQ(shown.net, step.net);
    }
    EXPECT_EQ(win.liveIdLists, 0);
    EXPECT_EQ(win.OpenKeyCount(), 0);
    TearDown();
  }
}

TEST_F(HotKeyMenuTest, WhileTheMenuIsClosedATickLooksOnlyAtShiftAndCtrl) {
  win.AddFile(std::string(kRecent) + "\\Budget.lnk");
  Start();
  OpenMenu();
  win.ClearLog();
  win.keyStateReads.clear();
  Tick(200);
  EXPECT_FALSE(win.Logged("FindFirstFile"));
  EXPECT_FALSE(win.Logged("RegOpenKey"));
  EXPECT_EQ(win.keyStateReads.size(), 400u);
  OpenMenu([&] { Tick(200); });
  EXPECT_EQ(win.Count("FindFirstFile("), 201) << "on drop-down and on every tick while open";
  EXPECT_EQ(win.liveIdLists, 0);
  EXPECT_EQ(win.OpenKeyCount(), 0);
}

}  // namespace
}  // namespace tarnby
