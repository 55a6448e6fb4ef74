// The popup menu's housekeeping commands, the temporary-folder clean-up with
// its refusals, and the dial-up test.
#include "core/actions_fixture.h"

namespace tarnby {
namespace {

using Calls = std::vector<std::string>;

struct MenuCase {
  const char* item;
  const char* prefix;  // the calls of interest
  Calls calls;
};

class HousekeepingMenuTest : public ActionsTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(HousekeepingMenuTest, ChosenFromTheTrayMenuSendsItsCommands) {
  const MenuCase& c = GetParam();
  win.AddFile("C:\\WINDOWS\\Recent\\letter.lnk");
  Start();
  win.ClearLog();
  ChooseFromMenu(f().picscreen, c.item);
  EXPECT_EQ(win.Calls(c.prefix), c.calls);
  EXPECT_FALSE(win.processEnded);
}

INSTANTIATE_TEST_SUITE_P(
    EachCommand, HousekeepingMenuTest,
    ::testing::Values(
        MenuCase{"mnucd", "mciSendString", {"mciSendString(set CDAudio door open, 127)",
                                            "mciSendString(set CDAudio door open, 127)"}},
        MenuCase{"mnucdclose", "mciSendString", {"mciSendString(set CDAudio door closed, 127)",
                                                 "mciSendString(set CDAudio door closed, 127)"}},
        MenuCase{"mnumin", "keybd_event", {"keybd_event(0x5b, 0, 0, 0)", "keybd_event(0x4d, 0, 0, 0)",
                                           "keybd_event(0x4d, 0, 2, 0)", "keybd_event(0x5b, 0, 2, 0)"}},
        MenuCase{"mnushow", "PostMessage", {"PostMessage(0x7a5c, 0x111, 416, 0)"}},
        MenuCase{"mnudoc", "SHAddToRecentDocs", {"SHAddToRecentDocs(2, null)"}},
        MenuCase{"mnureadme", "Shell(", {"Shell(notepad C:\\Program Files\\Tarnby\\readme.txt, 1)"}}),
    [](const ::testing::TestParamInfo<MenuCase>& info) { return std::string(info.param.item); });

TEST_F(ActionsTest, MinimiseAllLeavesNoKeyHeldDown) {
  Start();
  f().mnumin.Click();
  EXPECT_TRUE(win.keysDown.empty());
}

TEST_F(ActionsTest, RestoreAllFindsTheTaskbarByItsClass) {
  Start();
  f().mnushow.Click();
  EXPECT_TRUE(win.Logged("FindWindow(Shell_TrayWnd, null)"));
}

TEST_F(ActionsTest, HelpOpensTheHelpFileWhenOneIsThereAndTheReadmeOtherwise) {
  Start();
  f().mnuhelp.Click();
  EXPECT_EQ(win.Calls("Shell("), Calls{"Shell(notepad C:\\Program Files\\Tarnby\\readme.txt, 1)"});
  win.ClearLog();
  win.AddFile("C:\\Program Files\\Tarnby\\tarnby.hlp");
  f().mnuhelp.Click();
  EXPECT_EQ(win.Calls("Shell("), Calls{"Shell(winhelp C:\\Program Files\\Tarnby\\tarnby.hlp, 1)"});
  EXPECT_TRUE(win.messageBoxes.empty());
}

TEST_F(ActionsTest, AViewerThatCannotStartIsReported) {
  win.unstartable.insert("notepad c:\\program files\\tarnby\\readme.txt");
  win.unstartable.insert("winhelp c:\\program files\\tarnby\\tarnby.hlp");
  win.AddFile("C:\\Program Files\\Tarnby\\tarnby.hlp");
  Start();
  f().mnureadme.Click();
  f().mnuhelp.Click();
  ASSERT_EQ(win.messageBoxes.size(), 2u);
  EXPECT_NE(win.messageBoxes[0].text.find("Notepad"), std::string::npos);
  EXPECT_NE(win.messageBoxes[1].text.find("help viewer"), std::string::npos);
  EXPECT_FALSE(win.processEnded);
}

// ------------------------------------------------------------ dial-up

struct DialUpCase {
  const char* name;
  std::optional<FakeWindows::RegValue> value;  // nullopt: no such value
  bool active;
};

class DialUpTest : public ActionsTest, public ::testing::WithParamInterface<DialUpCase> {};

constexpr char kRemoteAccess[] = "System\\CurrentControlSet\\Services\\RemoteAccess";

TEST_P(DialUpTest, ActiveConnectionReadsTheNumberAndDisconnectAsksFirst) {
  const DialUpCase& c = GetParam();
  win.SetRegDword(w::kHkeyLocalMachine, kRemoteAccess, "Other", 1);  // the key exists
  if (c.value) win.SetRegValue(w::kHkeyLocalMachine, kRemoteAccess, "Remote Connection", c.value->type, c.value->data);
  win.messageBoxAnswers.push_back(w::kIdYes);
  Start();
  EXPECT_EQ(actions().ActiveConnection(), c.active);
  EXPECT_EQ(win.OpenKeyCount(), 0);

  f().mnunet.Click();
  if (c.active) {
    ASSERT_EQ(win.messageBoxes.size(), 1u);
    EXPECT_EQ(win.messageBoxes[0].text, "Are you sure you want to disconnect from the internet?");
    EXPECT_EQ(win.messageBoxes[0].title, "Disconnect from Internet?");
    EXPECT_EQ(win.messageBoxes[0].style, 52u);
    EXPECT_EQ(win.Calls("InternetAutodialHangup"), Calls{"InternetAutodialHangup(0)"});
  } else {
    EXPECT_TRUE(win.messageBoxes.empty());
    EXPECT_FALSE(win.Logged("InternetAutodialHangup"));
  }
}

FakeWindows::RegValue Dword(std::uint32_t n) {
  return {w::kRegDword, {static_cast<std::uint8_t>(n), 0, 0, 0}};
}

INSTANTIATE_TEST_SUITE_P(
    States, DialUpTest,
    ::testing::Values(DialUpCase{"Missing", std::nullopt, false}, DialUpCase{"Zero", Dword(0), false},
                      DialUpCase{"One", Dword(1), true},
                      DialUpCase{"Binary9x", FakeWindows::RegValue{w::kRegBinary, {1, 0, 0, 0}}, true},
                      DialUpCase{"TextZeroIsNotANumber", FakeWindows::RegValue{w::kRegSz, {'0', 0}}, false},
                      DialUpCase{"TooLong", FakeWindows::RegValue{w::kRegBinary, {1, 0, 0, 0, 0, 0, 0, 0}}, false}),
    [](const ::testing::TestParamInfo<DialUpCase>& info) { return std::string(info.param.name); });

TEST_F(ActionsTest, NoRemoteAccessKeyMeansNoConnection) {
  Start();
  EXPECT_FALSE(actions().ActiveConnection());
}

TEST_F(ActionsTest, AnsweringNoLeavesTheConnectionUp) {
  win.SetRegDword(w::kHkeyLocalMachine, kRemoteAccess, "Remote Connection", 1);
  win.messageBoxAnswers.push_back(w::kIdNo);
  Start();
  f().mnunet.Click();
  EXPECT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_FALSE(win.Logged("InternetAutodialHangup"));
}

// ------------------------------------------------------------ temp folder

class TempFolderTest : public ActionsTest {
 protected:
  void Fill(const std::string& folder) {
    win.AddFolder(folder);
    win.AddFile(folder + "\\plain.tmp");
    win.AddFile(folder + "\\locked.tmp", w::kFileAttributeReadOnly);
    win.AddFile(folder + "\\hidden.tmp", w::kFileAttributeHidden | w::kFileAttributeSystem);
    win.AddFile(folder + "\\busy.tmp", w::kFileAttributeArchive, /*inUse=*/true);
    win.AddFile(folder + "\\busy-readonly.tmp", w::kFileAttributeReadOnly, /*inUse=*/true);
    win.AddFolder(folder + "\\setup");
    win.AddFile(folder + "\\setup\\inside.tmp");
  }
  void ExpectCleaned(const std::string& folder) {
    EXPECT_FALSE(win.FileExists(folder + "\\plain.tmp"));
    EXPECT_FALSE(win.FileExists(folder + "\\locked.tmp"));
    EXPECT_FALSE(win.FileExists(folder + "\\hidden.tmp"));
    EXPECT_TRUE(win.FileExists(folder + "\\busy.tmp"));
    EXPECT_TRUE(win.FileExists(folder + "\\busy-readonly.tmp"));
    EXPECT_EQ(win.GetFileAttributes(folder + "\\busy-readonly.tmp"), w::kFileAttributeReadOnly);
    EXPECT_TRUE(win.FileExists(folder + "\\setup"));
    EXPECT_TRUE(win.FileExists(folder + "\\setup\\inside.tmp"));
  }
};

TEST_F(TempFolderTest, DeletesEveryFileButThoseInUseAndLeavesSubfolders) {
  Fill("C:\\WINDOWS\\TEMP");
  Start();
  f().mnutemp.Click();
  ExpectCleaned("C:\\WINDOWS\\TEMP");
  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, "The C:\\WINDOWS\\TEMP\\ folder is now clean!");
  EXPECT_EQ(win.messageBoxes[0].title, "Files Deleted!");
  EXPECT_EQ(win.messageBoxes[0].style, 64u);
}

TEST_F(TempFolderTest, KillEmAllWorksTheSameWithoutTheTrailingBackslash) {
  for (const char* given : {"D:\\Tmp", "D:\\Tmp\\"}) {
    SCOPED_TRACE(given);
    Fill("D:\\Tmp");
    if (!app) Start();
    win.ClearLog();
    EXPECT_TRUE(actions().KillEmAll(given));
    ExpectCleaned("D:\\Tmp");
    EXPECT_TRUE(win.Logged("FindFirstFile(D:\\Tmp\\*.*)"));
    EXPECT_TRUE(win.messageBoxes.empty());
  }
}

TEST_F(TempFolderTest, AMissingFolderOnlyWarns) {
  for (std::optional<std::string> temp : {std::optional<std::string>("C:\\NoSuch\\Temp\\"),
                                          std::optional<std::string>()}) {
    FakeWindows fresh;
    fresh.tempPath = temp;
    App other(fresh);
    ASSERT_TRUE(other.Start());
    other.frmstart.mnutemp.Click();
    ASSERT_EQ(fresh.messageBoxes.size(), 1u);
    EXPECT_EQ(fresh.messageBoxes[0].text, "Folder does not exist!");
    EXPECT_EQ(fresh.messageBoxes[0].title, "Folder not Found!");
    EXPECT_EQ(fresh.messageBoxes[0].style, 48u);
    EXPECT_FALSE(fresh.Logged("DeleteFile"));
    EXPECT_FALSE(fresh.Logged("FindFirstFile"));
    RestoreWindowProcs();
  }
}

TEST_F(TempFolderTest, AFileIsNotAFolder) {
  win.AddFile("D:\\Temp");
  Start();
  EXPECT_FALSE(actions().KillEmAll("D:\\Temp"));
  EXPECT_TRUE(win.FileExists("D:\\Temp"));
  EXPECT_EQ(win.messageBoxes.at(0).text, "Folder does not exist!");
}

TEST_F(TempFolderTest, AnEmptyFolderIsCleanAtOnce) {
  win.AddFolder("D:\\Temp");
  Start();
  EXPECT_TRUE(actions().KillEmAll("D:\\Temp"));
  EXPECT_TRUE(win.messageBoxes.empty());
}

// The system falls back to the profile or the Windows folder when no TMP or
// TEMP is set; those folders, the system folder and a drive's root are never
// wiped.
struct RefusalCase {
  const char* name;
  const char* reported;  // what GetTempPath says
  const char* filled;    // the folder as the files live in it
  const char* tmp = "C:\\WINDOWS\\TEMP";  // the TMP variable; empty: none of TMP, TEMP, USERPROFILE is set
  const char* current = "C:\\";            // the current folder
  const char* link = nullptr;              // a link to the filled folder, reported instead
};

class TempRefusalTest : public TempFolderTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(TempRefusalTest, RefusesWithItsOwnMessageAndDeletesNothing) {
  const RefusalCase& c = GetParam();
  win.SetVersion(FakeWindows::Version::WinXP);
  win.profileFolder = "C:\\Documents and Settings\\Alice";
  win.tempPath = c.reported;
  win.currentDir = c.current;
  win.environment = {{"TMP", c.tmp}};
  if (!*c.tmp) win.environment.clear();
  Fill(c.filled);
  if (c.link) win.AddLink(c.link, c.filled);
  Start();
  f().mnutemp.Click();

  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, std::string("Tarnby will not delete files in ") + c.reported +
                                          " because it is not a temporary folder.");
  EXPECT_EQ(win.messageBoxes[0].title, "Folder not Cleaned");
  EXPECT_EQ(win.messageBoxes[0].style, 48u);
  EXPECT_FALSE(win.Logged("DeleteFile"));
  EXPECT_FALSE(win.Logged("SetFileAttributes"));
  EXPECT_TRUE(win.FileExists(std::string(c.filled) + "\\plain.tmp"));
  EXPECT_EQ(win.liveIdLists, 0);  // the profile's item list is released
}

INSTANTIATE_TEST_SUITE_P(
    PreciousFolders, TempRefusalTest,
    ::testing::Values(RefusalCase{"DriveRoot", "C:\\", "C:"}, RefusalCase{"OtherDriveRoot", "d:\\", "D:"},
                      RefusalCase{"WindowsFolder", "C:\\WINDOWS\\", "C:\\WINDOWS"},
                      RefusalCase{"WindowsFolderOtherCase", "c:\\windows\\", "C:\\WINDOWS"},
                      RefusalCase{"SystemFolder", "C:\\WINDOWS\\SYSTEM\\", "C:\\WINDOWS\\SYSTEM"},
                      RefusalCase{"ProfileFolder", "C:\\Documents and Settings\\Alice\\",
                                  "C:\\Documents and Settings\\Alice"},
                      RefusalCase{"ShareRoot", "\\\\server\\share\\", "\\\\server\\share"},
                      // The system reads these against the current folder: whatever it is, it is no
                      // temporary folder.
                      RefusalCase{"RelativeTmp", "C:\\work\\mytemp\\", "C:\\work\\mytemp", "mytemp", "C:\\work"},
                      RefusalCase{"DriveRelativeTmp", "C:\\work\\", "C:\\work", "C:", "C:\\work"},
                      RefusalCase{"DotTmp", "C:\\Program Files\\Tarnby\\", "C:\\Program Files\\Tarnby", ".",
                                  "C:\\Program Files\\Tarnby"},
                      RefusalCase{"NoVariableAtAll", "C:\\WINDOWS\\", "C:\\WINDOWS", ""},
                      // Named in full, but the same folder on disk as a precious one.
                      RefusalCase{"CurrentFolder", "D:\\work\\", "D:\\work", "D:\\work", "D:\\work"},
                      RefusalCase{"ProgramFolder", "C:\\Program Files\\Tarnby\\", "C:\\Program Files\\Tarnby",
                                  "C:\\Program Files\\Tarnby"},
                      RefusalCase{"DevicePrefix", "\\\\.\\C:\\windows\\", "C:\\WINDOWS", "\\\\.\\C:\\windows"},
                      RefusalCase{"LongPrefix", "\\\\?\\C:\\Documents and Settings\\alice\\",
                                  "C:\\Documents and Settings\\Alice", "\\\\?\\C:\\Documents and Settings\\alice"},
                      RefusalCase{"DotDot", "C:\\WINDOWS\\TEMP\\..\\\\", "C:\\WINDOWS", "C:\\WINDOWS\\TEMP\\.."},
                      RefusalCase{"LinkToWindows", "D:\\tmp\\", "C:\\WINDOWS", "D:\\tmp", "C:\\", "D:\\tmp"},
                      RefusalCase{"Drivers", "C:\\WINDOWS\\system32\\drivers\\", "C:\\WINDOWS\\system32\\drivers",
                                  "C:\\WINDOWS\\system32\\drivers"},
                      RefusalCase{"UsersDesktop", "C:\\Users\\Alice\\Desktop\\", "C:\\Users\\Alice\\Desktop",
                                  "C:\\Users\\Alice\\Desktop"},
                      // No list names them: they are simply not temporary.
                      RefusalCase{"ProgramData", "C:\\ProgramData\\", "C:\\ProgramData", "C:\\ProgramData"},
                      RefusalCase{"RoamingAppData", "C:\\Users\\Alice\\AppData\\Roaming\\",
                                  "C:\\Users\\Alice\\AppData\\Roaming", "C:\\Users\\Alice\\AppData\\Roaming"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

// Temporary by its place (the user's Temp or the Windows folder's, and what
// lies inside them) or by its name (Temp or Tmp, away from what is kept);
// nothing else, each spelled as TMP might spell it.
TEST_F(TempFolderTest, OnlyAFolderTemporaryByItsPlaceOrItsNameIsEmptied) {
  const std::string local = "C:\\Users\\Alice\\AppData\\Local", roaming = "C:\\Users\\Alice\\AppData\\Roaming";
  const std::string startMenu = roaming + "\\Microsoft\\Windows\\Start Menu";
  // Those reached through a link, "..", or a prefix are on disk; the others
  // are judged as named, as they would be on disk.
  for (const char* folder :
       {"C:\\WINDOWS\\system32\\drivers", "C:\\WINDOWS\\SysWOW64", "C:\\WINDOWS\\Fonts", "C:\\WINDOWS\\TEMP\\sub",
        "C:\\Program Files (x86)\\Common Files\\Vendor", "C:\\Users\\Alice\\Desktop", "C:\\Users\\Alice",
        "C:\\Users\\Alice\\AppData\\Local\\Temp", "C:\\Users\\Public\\Documents", "C:\\ProgramData"})
    win.AddFolder(folder);
  win.AddLink("D:\\vendor", "C:\\Program Files (x86)\\Common Files\\Vendor");
  win.AddLink("C:\\PROGRA~3", "C:\\ProgramData");  // a short name
  win.AddLink("D:\\Temp", "C:\\Users\\Alice\\Desktop");
  win.programFolder = "E:\\Temp\\Tarnby";
  Start();
  // The Windows folder's Temp, the user's own, what lies inside them, and
  // folders named so elsewhere.
  for (const std::string& folder :
       {std::string("C:\\windows\\temp"), std::string("\\\\?\\C:\\WINDOWS\\TEMP\\sub\\"), local + "\\Temp",
        local + "\\TEMP\\2\\", std::string("C:\\Temp"), std::string("d:\\TMP"),
        std::string("C:\\Documents and Settings\\Alice\\Local Settings\\Temp")})
    EXPECT_TRUE(actions().IsTemporaryFolder(folder)) << folder;
  for (const std::string& folder : {
           local + "\\Temp\\..\\..\\..",  // the profile, by ".."
           std::string("c:\\windows\\system32\\drivers\\"), std::string("C:\\WINDOWS\\system32\\drivers\\..\\..\\SysWOW64"),
           std::string("C:\\WINDOWS\\TEMP\\..\\Fonts"), std::string("C:\\WINDOWS.old"),
           std::string("C:\\WINDOWS\\System32\\config\\systemprofile\\AppData\\Local\\Temp"),  // in the Windows folder
           std::string("C:\\Program Files"), std::string("D:\\vendor"), std::string("C:\\Program Files\\Vendor\\tmp"),
           std::string("C:\\Users\\Alice\\Documents\\Temp"),  // named so, but among what is kept
           std::string("D:\\Temp"),                           // named so, but a link to the Desktop
           std::string("E:\\Temp"),                           // named so, but holding Tarnby
           std::string("C:\\Users\\Alice\\Desktop"), std::string("c:/users/alice/desktop/notes/"),
           std::string("\\\\.\\C:\\Users\\Public\\Documents"), std::string("C:\\Users\\Alice\\Desktop2"),
           std::string("C:\\USERS\\"), std::string("D:\\Scratch"), std::string("C:\\ProgramData"),
           std::string("C:\\PROGRA~3"), std::string("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"),
           std::string("C:\\Users\\Public"), std::string("C:\\Users\\Bob"), std::string("C:\\Users\\Bob\\Desktop"),
           std::string("C:\\Users\\Alice\\AppData"), roaming, local, startMenu, startMenu + "\\Programs\\Startup",
           roaming + "\\Microsoft\\Windows\\SendTo", roaming + "\\Microsoft\\Windows\\Recent",
           std::string("C:\\Users\\Alice\\Links"), std::string("C:\\Users\\Alice\\Saved Games"),
           std::string("C:\\Users\\Alice\\OneDrive"), std::string("C:\\Users\\Alice\\.ssh")})
    EXPECT_FALSE(actions().IsTemporaryFolder(folder)) << folder;
}

TEST_F(TempFolderTest, TheTemporaryFolderInsideTheProfileIsStillCleaned) {
  win.SetVersion(FakeWindows::Version::WinXP);
  win.profileFolder = "C:\\Documents and Settings\\Alice";
  win.tempPath = "C:\\Documents and Settings\\Alice\\Local Settings\\Temp\\";
  Fill("C:\\Documents and Settings\\Alice\\Local Settings\\Temp");
  Start();
  f().mnutemp.Click();
  ExpectCleaned("C:\\Documents and Settings\\Alice\\Local Settings\\Temp");
  EXPECT_EQ(win.messageBoxes.at(0).title, "Files Deleted!");
}

TEST_F(TempFolderTest, ALinkInTheFolderIsLeftAndWhatItLeadsToIsKept) {
  Fill("C:\\WINDOWS\\TEMP");
  win.AddFolder("C:\\out1");
  win.AddFile("C:\\out1\\precious.txt");
  win.AddLink("C:\\WINDOWS\\TEMP\\link.txt", "C:\\out1\\precious.txt");
  win.AddFile("C:\\WINDOWS\\TEMP\\junction", w::kFileAttributeReparsePoint);
  Start();
  f().mnutemp.Click();
  ExpectCleaned("C:\\WINDOWS\\TEMP");
  EXPECT_TRUE(win.FileExists("C:\\out1\\precious.txt"));
  EXPECT_TRUE(win.FileExists("C:\\WINDOWS\\TEMP\\junction"));
}

TEST_F(TempFolderTest, WithoutAProfileTheOtherRefusalsStillHold) {
  win.profileFolder = std::nullopt;  // Windows 95 without user profiles
  Start();
  EXPECT_FALSE(actions().IsTemporaryFolder("C:\\WINDOWS"));
  EXPECT_TRUE(actions().IsTemporaryFolder("C:\\WINDOWS\\TEMP\\"));
  EXPECT_TRUE(actions().IsTemporaryFolder("\\\\server\\share\\temp"));
}

}  // namespace
}  // namespace tarnby
