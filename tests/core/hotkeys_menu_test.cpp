// The two popup menu items that Timer3 keeps in step with the system.
#include <gtest/gtest.h>

#include "core/hotkeys_fixture.h"

namespace tarnby {
namespace {

constexpr char kRecent[] = "C:\\WINDOWS\\Recent";
constexpr char kRemoteAccess[] = "System\\CurrentControlSet\\Services\\RemoteAccess";

class HotKeyMenuTest : public HotKeyTest {};

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
    EXPECT_EQ(f().mnudoc.enabled, c.enabled);
    TearDown();
  }
}

TEST_F(HotKeyMenuTest, DocumentsItemFollowsTheFolderWithinOneTick) {
  Start();
  Tick();
  EXPECT_FALSE(f().mnudoc.enabled);
  win.AddFile(std::string(kRecent) + "\\Budget.lnk");
  Tick();
  EXPECT_TRUE(f().mnudoc.enabled);
  win.DeleteFile(std::string(kRecent) + "\\Budget.lnk");
  Tick();
  EXPECT_FALSE(f().mnudoc.enabled);
}

TEST_F(HotKeyMenuTest, DocumentsItemIsDisabledWhenTheShellCannotNameTheFolder) {
  for (const std::optional<std::string>& folder : {std::optional<std::string>(), std::optional<std::string>("   ")}) {
    win = FakeWindows();
    win.AddFile(std::string(kRecent) + "\\Budget.lnk");
    win.recentFolder = folder;
    Start();
    f().mnudoc.enabled = true;
    Tick();
    EXPECT_FALSE(f().mnudoc.enabled);
    EXPECT_FALSE(win.Logged("FindFirstFile")) << "nothing to search";
    TearDown();
  }
}

TEST_F(HotKeyMenuTest, EveryTickReleasesWhatItAskedTheShellFor) {
  win.AddFile(std::string(kRecent) + "\\Budget.lnk");
  win.AddFile(std::string(kRecent) + "\\Letter.lnk");
  Start();
  Tick(200);
  EXPECT_EQ(win.liveIdLists, 0);
  EXPECT_EQ(win.Count("FindFirstFile("), 200);
  EXPECT_EQ(win.OpenKeyCount(), 0);
}

TEST_F(HotKeyMenuTest, TheShellIsAskedForTheFolderOnlyEveryFewSeconds) {
  win.AddFile(std::string(kRecent) + "\\Budget.lnk");
  Start();
  const int before = win.liveIdLists;
  Tick();
  EXPECT_TRUE(f().mnudoc.enabled);
  // The folder moves: the item follows once the answer is asked again.
  win.recentFolder = "D:\\Profile\\Recent";
  win.AddFolder(*win.recentFolder);
  Tick(99);
  EXPECT_TRUE(f().mnudoc.enabled) << "still the old folder within five seconds";
  Tick(2);
  EXPECT_FALSE(f().mnudoc.enabled) << "the new folder is empty";
  win.AddFile(*win.recentFolder + "\\Plan.lnk");
  Tick();
  EXPECT_TRUE(f().mnudoc.enabled) << "files are looked at on every tick";
  EXPECT_EQ(win.liveIdLists, before);
}

TEST_F(HotKeyMenuTest, NetItemFollowsTheDialUpState) {
  Start();
  Tick();
  EXPECT_FALSE(f().mnunet.enabled) << "no RemoteAccess key";
  win.SetRegDword(w::kHkeyLocalMachine, kRemoteAccess, "Remote Connection", 1);
  Tick();
  EXPECT_TRUE(f().mnunet.enabled);
  win.SetRegDword(w::kHkeyLocalMachine, kRemoteAccess, "Remote Connection", 0);
  Tick();
  EXPECT_FALSE(f().mnunet.enabled);
  EXPECT_EQ(win.OpenKeyCount(), 0);
}

}  // namespace
}  // namespace tarnby
