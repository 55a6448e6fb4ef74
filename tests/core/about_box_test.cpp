// The about box: its texts, its links, and finding System Information.
#include <gtest/gtest.h>

#include "core/about/frmabout.h"
#include "core/app_fixture.h"

namespace tarnby {
namespace {

constexpr char kMsinfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kLocationKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char kMsinfoPath[] = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
constexpr char kMsinfoFolder[] = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
constexpr char kUnavailable[] = "System Information Is Unavailable At This Time";

class AboutTest : public AppTest {
 protected:
  FrmAbout& Open() {
    f().mnuabout.Click();
    return app->frmAbout();
  }
  std::vector<std::string> Started() const { return win.Calls("Shell("); }
  int UnavailableMessages() const { return win.Count(std::string("MessageBox(") + kUnavailable + ", Tarnby, 0)"); }
};

TEST_F(AboutTest, ShowsTheProgramNameAndVersion) {
  Start();
  ChooseFromMenu(f().picscreen, "mnuabout");
  ASSERT_TRUE(app->frmAbout.Loaded());
  FrmAbout& about = app->frmAbout();
  EXPECT_TRUE(about.Visible());
  EXPECT_EQ(about.Caption(), "About Tarnby");
  EXPECT_EQ(about.lblTitle.Caption(), "Tarnby");
  EXPECT_EQ(about.lblVersion.Caption(), "Version 1.0.0");
  EXPECT_EQ(about.Label2.Caption(), "Click on the address to go to my web site or e-mail me");
  EXPECT_EQ(about.cmdSysInfo.Caption(), "&System Info...");
  EXPECT_FALSE(about.Label1.Caption().empty());
  EXPECT_FALSE(about.Label3.Caption().empty());
}

TEST_F(AboutTest, OpeningTwiceLeavesOneWindowAndOkClosesIt) {
  Start();
  FrmAbout& first = Open();
  EXPECT_EQ(&Open(), &first);
  EXPECT_EQ(win.Count("CreateFormWindow(frmAbout)"), 1);
  EXPECT_TRUE(first.cmdOK.isDefault && first.cmdOK.isCancel) << "Enter and Esc close it too";
  first.cmdOK.Click();
  EXPECT_FALSE(app->frmAbout.Loaded());
}

TEST_F(AboutTest, LinksStartTheLauncherHidden) {
  Start();
  FrmAbout& about = Open();
  about.Label1.Click();
  about.Label3.Click();
  EXPECT_EQ(Started(), (std::vector<std::string>{"Shell(Start.exe " + about.Label1.Caption() + ", 0)",
                                                 "Shell(Start.exe mailto:" + about.Label3.Caption() + ", 0)"}));
}

TEST_F(AboutTest, AMissingLauncherEndsNothingAndSaysNothing) {
  Start();
  FrmAbout& about = Open();
  win.unstartable = {"start.exe " + about.Label1.Caption(), "start.exe mailto:" + about.Label3.Caption()};
  about.Label1.Click();
  about.Label3.Click();
  EXPECT_FALSE(win.processEnded);
  EXPECT_TRUE(win.messageBoxes.empty());
  EXPECT_TRUE(app->frmAbout.Loaded());
}

// Where System Information is registered, and what the button does about it.
struct SysInfoCase {
  const char* name;
  std::function<void(FakeWindows&)> setUp;
  std::string started;  // empty: the "unavailable" message instead
};

class StartSysInfoTest : public AboutTest, public ::testing::WithParamInterface<SysInfoCase> {};

TEST_P(StartSysInfoTest, StartsItOrSaysItIsUnavailable) {
  GetParam().setUp(win);
  Start();
  Open().cmdSysInfo.Click();
  if (GetParam().started.empty()) {
    EXPECT_EQ(UnavailableMessages(), 1);
  } else {
    EXPECT_EQ(Started(), std::vector<std::string>{"Shell(" + GetParam().started + ", 1)"});
    EXPECT_EQ(UnavailableMessages(), 0);
  }
  EXPECT_EQ(win.OpenKeyCount(), 0);
  EXPECT_FALSE(win.processEnded);
}

void RegisterPath(FakeWindows& win, const std::string& path) {
  win.SetRegString(w::kHkeyLocalMachine, kMsinfoKey, "PATH", path);
}
void RegisterFolder(FakeWindows& win, bool withProgram) {
  win.SetRegString(w::kHkeyLocalMachine, kLocationKey, "MSINFO", kMsinfoFolder);
  win.AddFolder(kMsinfoFolder);
  if (withProgram) win.AddFile(std::string(kMsinfoFolder) + "\\MSINFO32.EXE");
}

INSTANTIATE_TEST_SUITE_P(
    Registry, StartSysInfoTest,
    ::testing::Values(
        SysInfoCase{"PathWins", [](FakeWindows& w) { RegisterPath(w, kMsinfoPath);
                      RegisterFolder(w, true); },
                    kMsinfoPath},
        SysInfoCase{"FolderWithProgram", [](FakeWindows& w) { RegisterFolder(w, true); },
                    std::string(kMsinfoFolder) + "\\MSINFO32.EXE"},
        SysInfoCase{"FolderWithoutProgram", [](FakeWindows& w) { RegisterFolder(w, false); }, ""},
        SysInfoCase{"FolderWhereTheProgramIsAFolder",
                    [](FakeWindows& w) {
                      RegisterFolder(w, false);
                      w.AddFolder(std::string(kMsinfoFolder) + "\\MSINFO32.EXE");
                    },
                    ""},
        SysInfoCase{"NothingRegistered", [](FakeWindows&) {}, ""},
        SysInfoCase{"PathOver1024BytesCountsAsMissing",
                    [](FakeWindows& w) {
                      RegisterPath(w, "C:\\" + std::string(1100, 'a') + ".exe");
                      RegisterFolder(w, true);
                    },
                    std::string(kMsinfoFolder) + "\\MSINFO32.EXE"},
        SysInfoCase{"PathOver1024BytesAndNoFolder",
                    [](FakeWindows& w) { RegisterPath(w, "C:\\" + std::string(1100, 'a') + ".exe"); }, ""},
        SysInfoCase{"RegisteredProgramThatWillNotStart",
                    [](FakeWindows& w) {
                      RegisterPath(w, kMsinfoPath);
                      w.unstartable.insert([] {
                        std::string lower = kMsinfoPath;
                        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                        return lower;
                      }());
                    },
                    ""},
        SysInfoCase{"StandardUserWhoMayNotWriteTheMachineKeys",
                    [](FakeWindows& w) {
                      RegisterPath(w, kMsinfoPath);
                      w.localMachineWritable = false;
                    },
                    kMsinfoPath}),
    [](const ::testing::TestParamInfo<SysInfoCase>& info) { return std::string(info.param.name); });

TEST_F(AboutTest, SysInfoKeysAreOpenedForReadingOnly) {
  RegisterFolder(win, true);
  Start();
  Open().cmdSysInfo.Click();
  const std::vector<std::string> opens = win.Calls("RegOpenKeyEx(");
  ASSERT_EQ(opens.size(), 2u);
  for (const std::string& open : opens) EXPECT_NE(open.find(", 0x20019)"), std::string::npos) << open;
}

// GetKeyValue on its own: the 1024-byte buffer, the cut of the final NUL and
// the text made of each value type.
struct KeyValueCase {
  const char* name;
  std::uint32_t type;
  std::vector<std::uint8_t> data;
  bool read;
  std::string text;  // what keyVal holds afterwards; it starts as "before"
};

std::vector<std::uint8_t> Bytes(const std::string& text, bool withNul) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  if (withNul) data.push_back(0);
  return data;
}

class GetKeyValueTest : public AboutTest, public ::testing::WithParamInterface<KeyValueCase> {};

TEST_P(GetKeyValueTest, ReadsOneValueAsText) {
  const KeyValueCase& c = GetParam();
  win.SetRegValue(w::kHkeyLocalMachine, "SOFTWARE\\Tarnby Test", "Value", c.type, c.data);
  Start();
  std::string text = "before";
  EXPECT_EQ(Open().GetKeyValue(w::kHkeyLocalMachine, "SOFTWARE\\Tarnby Test", "Value", text), c.read);
  EXPECT_EQ(text, c.text);
  EXPECT_EQ(win.OpenKeyCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Types, GetKeyValueTest,
    ::testing::Values(
        KeyValueCase{"String", w::kRegSz, Bytes("C:\\MSINFO", true), true, "C:\\MSINFO"},
        KeyValueCase{"StringWithoutNul", w::kRegSz, Bytes("C:\\MSINFO", false), true, "C:\\MSINFO"},
        KeyValueCase{"EmptyString", w::kRegSz, Bytes("", true), true, ""},
        KeyValueCase{"NoDataAtAll", w::kRegSz, {}, true, ""},
        KeyValueCase{"StringOfExactly1024Bytes", w::kRegSz, Bytes(std::string(1024, 'x'), false), true,
                     std::string(1024, 'x')},
        KeyValueCase{"StringOver1024Bytes", w::kRegSz, Bytes(std::string(1024, 'x'), true), false, ""},
        KeyValueCase{"DwordHighByteFirst", w::kRegDword, {0x78, 0x56, 0x34, 0x12}, true, "&h12345678"},
        KeyValueCase{"DwordBytesWithoutLeadingZeros", w::kRegDword, {0x0D, 0x0C, 0x0B, 0x0A}, true, "&hABCD"},
        KeyValueCase{"DwordLosesItsZeroHighByte", w::kRegDword, {0x02, 0x01, 0x00, 0x00}, true, "&h012"},
        KeyValueCase{"OtherTypeLeavesTheText", w::kRegBinary, {1, 2, 3}, true, "before"},
        KeyValueCase{"ExpandStringLeavesTheText", w::kRegExpandSz, Bytes("%WINDIR%", true), true, "before"}),
    [](const ::testing::TestParamInfo<KeyValueCase>& info) { return std::string(info.param.name); });

TEST_F(AboutTest, GetKeyValueEmptiesTheTextWhenKeyOrValueIsMissing) {
  win.SetRegString(w::kHkeyLocalMachine, "SOFTWARE\\Tarnby Test", "Other", "x");
  Start();
  FrmAbout& about = Open();
  std::string text = "before";
  EXPECT_FALSE(about.GetKeyValue(w::kHkeyLocalMachine, "SOFTWARE\\No Such Key", "Value", text));
  EXPECT_EQ(text, "");
  text = "before";
  EXPECT_FALSE(about.GetKeyValue(w::kHkeyLocalMachine, "SOFTWARE\\Tarnby Test", "Value", text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(win.OpenKeyCount(), 0);
}

}  // namespace
}  // namespace tarnby
