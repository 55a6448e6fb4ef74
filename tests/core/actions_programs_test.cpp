// The program selection dialog (load, Browse, the icon refresh, Clear,
// Close) and the run-programs action that reads its boxes.
#include "core/actions_fixture.h"

namespace tarnby {
namespace {

class ProgramsTest : public ActionsTest {
 protected:
  Frmprogram& dialog() { return app->frmprogram(); }
  // Opens the dialog as the user does: "Run Program(s)..." from the menu.
  Frmprogram& OpenDialog() {
    ChooseFromMenu(f().picscreen, "mnuprogram");
    EXPECT_TRUE(app->frmprogram.Loaded());
    return dialog();
  }
  std::optional<std::string> Stored(const char* name) const {
    return win.GetRegString(w::kHkeyCurrentUser, kRunKey, name);
  }
};

// ------------------------------------------------------------- run programs

struct RunCase {
  const char* name;
  const char* one;  // stored paths; nullptr: no value at all
  const char* two;
  std::vector<std::string> calls;
};

class RunProgramsTest : public ProgramsTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(RunProgramsTest, StartsTheFilledSlotsInOrderAndKeepsTarnbyRunning) {
  const RunCase& c = GetParam();
  if (c.one) win.SetRegString(w::kHkeyCurrentUser, kRunKey, "Strrun", c.one);
  if (c.two) win.SetRegString(w::kHkeyCurrentUser, kRunKey, "Strrun2", c.two);
  Start();
  f().mnuprogram.Click();
  dialog().Command9.Click();  // the selection opens the dialog; close it unchanged
  win.ClearLog();

  DoubleClick(f().picprogram);

  EXPECT_EQ(SystemCalls(), c.calls);
  EXPECT_FALSE(win.processEnded);
  EXPECT_FALSE(app->frmprogram.Loaded());
  // The marker never reaches the registry.
  EXPECT_NE(Stored("Strrun"), std::optional<std::string>("Nothing"));
  EXPECT_NE(Stored("Strrun2"), std::optional<std::string>("Nothing"));
}

const std::vector<std::string> kNoPrograms = {"MessageBox(There are no programs selected!, Error, 64)"};

// The longest path the shell takes (259 characters) and the ones beyond it.
const std::string kLongest = "C:\\" + std::string(256, 'a');
const std::string kLongestWide = "C:\\" + [] {
  std::string s;
  for (int i = 0; i < 256; ++i) s += "\xc3\xa9";  // é: two bytes, one character
  return s;
}();
const std::string kTooLong = kLongest + "a";
const std::string kFarTooLong(65000, 'a');

INSTANTIATE_TEST_SUITE_P(
    EmptyOneAndTwoSlots, RunProgramsTest,
    ::testing::Values(RunCase{"NoValues", nullptr, nullptr, kNoPrograms},
                      RunCase{"BothEmpty", "", "", kNoPrograms},
                      RunCase{"OnlyOne", "C:\\Games\\sol.exe", "", {OpenCall("C:\\Games\\sol.exe")}},
                      RunCase{"OnlyTwo", "", "C:\\Tools\\Back Up.exe", {OpenCall("C:\\Tools\\Back Up.exe")}},
                      RunCase{"Both",
                              "C:\\Games\\sol.exe",
                              "C:\\Tools\\Back Up.exe",
                              {OpenCall("C:\\Games\\sol.exe"), OpenCall("C:\\Tools\\Back Up.exe")}},
                      // A path too long for the shell is as good as missing: it fails quietly.
                      RunCase{"LongestRuns", kLongest.c_str(), kLongestWide.c_str(),
                              {OpenCall(kLongest), OpenCall(kLongestWide)}},
                      RunCase{"TooLong", kTooLong.c_str(), kFarTooLong.c_str(), {}},
                      RunCase{"OneTooLong", kFarTooLong.c_str(), "C:\\Games\\sol.exe",
                              {OpenCall("C:\\Games\\sol.exe")}}),
    [](const ::testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST_F(ProgramsTest, AStoredPathTooLongForTheShellDrawsNoIcon) {
  StorePrograms(kTooLong, kLongest);
  Start();
  OpenDialog();
  win.ClearLog();
  win.Advance(200);
  EXPECT_EQ(win.Calls("ExtractAssociatedIcon"), std::vector<std::string>{"ExtractAssociatedIcon(" + kLongest + ", 0)"});
}

TEST_F(ProgramsTest, AnUnsavedBrowsedPathRunsAndIsThenForgotten) {
  StorePrograms("C:\\old.exe", "");
  win.fileDialogAnswers.push_back("C:\\Tools\\new.exe");
  Start();
  Frmprogram& open = OpenDialog();
  open.Command1.Click();
  ASSERT_EQ(open.Text1.Text(), "C:\\Tools\\new.exe");
  win.ClearLog();

  DoubleClick(f().picprogram);

  EXPECT_EQ(SystemCalls(), std::vector<std::string>{OpenCall("C:\\Tools\\new.exe")});
  EXPECT_FALSE(app->frmprogram.Loaded());
  EXPECT_EQ(Stored("Strrun"), "C:\\old.exe");
  EXPECT_EQ(dialog().Text1.Text(), "C:\\old.exe");  // a fresh load reads the stored value again
}

TEST_F(ProgramsTest, ADoubleClickNeverStartsTheSameProgramsTwice) {
  Start();
  f().mnuprogram.Click();
  Frmprogram* open = &dialog();
  // While "no programs" is on screen, the user double-clicks again, browses
  // a program into the open dialog, and the countdown reaches zero.
  win.fileDialogAnswers.push_back("C:\\Games\\sol.exe");
  win.whileMessageBox = [&](const std::string&) {
    win.whileMessageBox = nullptr;
    DoubleClick(f().picprogram);
    open->Command1.Click();
    actions().RunPrograms();
  };
  win.ClearLog();

  DoubleClick(f().picprogram);

  EXPECT_EQ(win.Count("MessageBox("), 1);
  EXPECT_EQ(win.Count("ShellExecute"), 0);
  EXPECT_FALSE(actions().ProgramsRunning());
  EXPECT_FALSE(app->frmprogram.Loaded());
}

TEST_F(ProgramsTest, ClosingTheDialogUnderTheNoProgramsMessageStoresNoMarker) {
  Start();
  f().mnuprogram.Click();
  Frmprogram* open = &dialog();
  win.whileMessageBox = [&](const std::string&) {
    win.whileMessageBox = nullptr;
    EXPECT_EQ(open->Text1.Text(), "Nothing");  // the marker shows in the open dialog
    open->Command9.Click();
  };
  DoubleClick(f().picprogram);
  EXPECT_EQ(Stored("Strrun"), "");
  EXPECT_EQ(Stored("Strrun2"), "");
  EXPECT_FALSE(app->frmprogram.Loaded());
  EXPECT_EQ(win.Count("ShellExecute"), 0);
}

// ------------------------------------------------------------- the dialog

TEST_F(ProgramsTest, LoadsBothSlotsFromTheRegistryWithoutDrawing) {
  StorePrograms("C:\\Games\\sol.exe", "");
  Start();
  Frmprogram& open = OpenDialog();
  EXPECT_EQ(open.Caption(), "Select Program(s) To Run");
  EXPECT_EQ(open.Text1.Text(), "C:\\Games\\sol.exe");
  EXPECT_TRUE(open.Command7.Enabled());
  EXPECT_EQ(open.Text2.Text(), "");
  EXPECT_FALSE(open.Command8.Enabled());
  EXPECT_EQ(win.drawnIcons, 0);
  EXPECT_TRUE(open.Timer1.Enabled());
  EXPECT_EQ(open.Timer1.Interval(), 200u);
}

TEST_F(ProgramsTest, TheTimerRedrawsOnlySlotsWithAStoredProgramAndReleasesEachIcon) {
  StorePrograms("C:\\Games\\sol.exe", "");
  Start();
  Frmprogram& open = OpenDialog();
  win.ClearLog();
  win.Advance(200);
  EXPECT_EQ(win.Calls("ExtractAssociatedIcon"), std::vector<std::string>{"ExtractAssociatedIcon(C:\\Games\\sol.exe, 0)"});
  EXPECT_EQ(win.Calls("DrawIcon"), std::vector<std::string>{"DrawIcon(" + Hex(open.Picture1.hwnd + 0x100000) + ", 0, 0)"});
  EXPECT_EQ(win.liveIcons, 0);
  win.Advance(1000);
  EXPECT_EQ(win.Count("DrawIcon"), 6);
  EXPECT_EQ(win.liveIcons, 0);
}

TEST_F(ProgramsTest, BrowseFillsTheSlotDrawsTheIconAndStoresNothing) {
  win.currentDir = "C:\\Games";
  win.fileDialogAnswers.push_back("C:\\Games\\Pin Ball\\pinball.exe");
  Start();
  Frmprogram& open = OpenDialog();
  win.ClearLog();

  open.Command1.Click();

  ASSERT_EQ(win.fileDialogs.size(), 1u);
  const OpenFileName& request = win.fileDialogs[0];
  EXPECT_EQ(request.lStructSize, 76u);
  EXPECT_EQ(request.hwndOwner, f().hwnd);  // the main window, not the dialog
  static const char kFilter[] = "Program Files (*.exe)\0*.exe\0All Files (*.*)\0*.*\0";
  EXPECT_EQ(request.lpstrFilter, std::string(kFilter, sizeof kFilter));  // with the closing double NUL
  EXPECT_EQ(request.lpstrTitle, "Select file");
  EXPECT_EQ(request.lpstrInitialDir, "C:\\Games");
  EXPECT_EQ(request.lpstrFile, std::string(254, ' '));
  EXPECT_EQ(request.nMaxFile, 255u);
  EXPECT_EQ(request.lpstrFileTitle, std::string(254, ' '));
  EXPECT_EQ(request.nMaxFileTitle, 255u);
  EXPECT_EQ(request.Flags, 0u);

  EXPECT_EQ(open.Text1.Text(), "C:\\Games\\Pin Ball\\pinball.exe");
  EXPECT_TRUE(open.Command7.Enabled());
  EXPECT_TRUE(win.Logged("ClearPicture(Picture1)"));
  EXPECT_TRUE(win.Logged("ExtractAssociatedIcon(C:\\Games\\Pin Ball\\pinball.exe, 0)"));
  EXPECT_EQ(win.drawnIcons, 1);
  EXPECT_EQ(win.liveIcons, 0);
  EXPECT_FALSE(win.Logged("RegSetValueEx"));

  // Not stored yet, so the refresh leaves it alone.
  win.ClearLog();
  win.Advance(600);
  EXPECT_FALSE(win.Logged("ExtractAssociatedIcon"));
}

TEST_F(ProgramsTest, BrowseTrimsThePathTheDialogReturns) {
  win.fileDialogAnswers.push_back("  C:\\My Programs\\x.exe  ");
  Start();
  Frmprogram& open = OpenDialog();
  open.Command2.Click();
  EXPECT_EQ(open.Text2.Text(), "C:\\My Programs\\x.exe");
  EXPECT_TRUE(open.Command8.Enabled());
}

TEST_F(ProgramsTest, AFileWithoutAnIconCanStillBeCleared) {
  win.iconless.insert("c:\\data\\notes");
  win.fileDialogAnswers.push_back("C:\\Data\\notes");
  Start();
  Frmprogram& open = OpenDialog();
  open.Command1.Click();
  EXPECT_EQ(open.Text1.Text(), "C:\\Data\\notes");
  EXPECT_EQ(win.drawnIcons, 0);
  EXPECT_TRUE(open.Command7.Enabled());
}

TEST_F(ProgramsTest, CancelledBrowseChangesNothing) {
  StorePrograms("C:\\Games\\sol.exe", "");
  Start();
  Frmprogram& open = OpenDialog();
  win.ClearLog();
  win.fileDialogAnswers.push_back(std::nullopt);
  open.Command1.Click();
  open.Command2.Click();  // nothing queued: cancelled too
  EXPECT_EQ(open.Text1.Text(), "C:\\Games\\sol.exe");
  EXPECT_EQ(open.Text2.Text(), "");
  EXPECT_FALSE(open.Command8.Enabled());
  EXPECT_FALSE(win.Logged("ClearPicture"));
  EXPECT_FALSE(win.Logged("ExtractAssociatedIcon"));
}

// The file dialog belongs to the main window, so the program dialog stays
// usable under it: closed meanwhile, it has no window left to draw into.
TEST_F(ProgramsTest, AChoiceMadeAfterTheDialogClosedGoesNowhere) {
  win.fileDialogAnswers.push_back("C:\\Games\\sol.exe");
  Start();
  Frmprogram& open = OpenDialog();
  win.whileFileDialog = [&] { open.Command9.Click(); };
  win.ClearLog();
  open.Command1.Click();
  EXPECT_FALSE(app->frmprogram.Loaded());
  EXPECT_FALSE(win.Logged("ClearPicture"));
  EXPECT_FALSE(win.Logged("ExtractAssociatedIcon"));
  EXPECT_EQ(Stored("Strrun"), std::nullopt);
}

TEST_F(ProgramsTest, TheSecondBrowseStartsInTheFolderOfTheFirstChoice) {
  win.fileDialogAnswers = {std::string("D:\\Apps\\one.exe"), std::string("D:\\Apps\\two.exe")};
  Start();
  Frmprogram& open = OpenDialog();
  open.Command1.Click();
  open.Command2.Click();
  ASSERT_EQ(win.fileDialogs.size(), 2u);
  EXPECT_EQ(win.fileDialogs[1].lpstrInitialDir, "D:\\Apps");
}

TEST_F(ProgramsTest, ClearStoresAnEmptyValueAndSaysSo) {
  StorePrograms("C:\\Games\\sol.exe", "C:\\Tools\\calc.exe");
  Start();
  Frmprogram& open = OpenDialog();
  win.ClearLog();

  open.Command7.Click();

  EXPECT_EQ(Stored("Strrun"), "");
  EXPECT_EQ(Stored("Strrun2"), "C:\\Tools\\calc.exe");
  EXPECT_TRUE(win.Logged("RegCreateKey(0x80000001, Software\\Tarnby\\Registry\\Run)"));
  EXPECT_TRUE(win.Logged("RegSetValueEx(strRun, 1, )"));
  EXPECT_EQ(open.Text1.Text(), "");
  EXPECT_FALSE(open.Command7.Enabled());
  EXPECT_TRUE(win.Logged("ClearPicture(Picture1)"));
  ASSERT_EQ(win.messageBoxes.size(), 1u);
  EXPECT_EQ(win.messageBoxes[0].text, "Cleared!");
  EXPECT_EQ(win.messageBoxes[0].title, "Tarnby");
  EXPECT_EQ(win.messageBoxes[0].style, 0u);
}

TEST_F(ProgramsTest, CloseStoresBothSlotsUnderTheWritersSpelling) {
  win.fileDialogAnswers.push_back("C:\\Games\\sol.exe");
  Start();
  Frmprogram& open = OpenDialog();
  open.Command1.Click();
  open.Command9.Click();
  EXPECT_FALSE(app->frmprogram.Loaded());
  EXPECT_EQ(Stored("Strrun"), "C:\\Games\\sol.exe");
  EXPECT_EQ(Stored("Strrun2"), "");
  EXPECT_EQ(win.StoredName(w::kHkeyCurrentUser, kRunKey, "strrun"), "strRun");
  EXPECT_EQ(win.StoredName(w::kHkeyCurrentUser, kRunKey, "strrun2"), "strRun2");
}

TEST_F(ProgramsTest, ClearThenCloseKeepsTheOtherSlot) {
  StorePrograms("C:\\Games\\sol.exe", "C:\\Tools\\calc.exe");
  Start();
  Frmprogram& open = OpenDialog();
  open.Command8.Click();
  open.Command9.Click();
  EXPECT_EQ(Stored("Strrun"), "C:\\Games\\sol.exe");
  EXPECT_EQ(Stored("Strrun2"), "");
}

TEST_F(ProgramsTest, CloseWithBothSlotsEmptyWritesNothing) {
  Start();
  Frmprogram& open = OpenDialog();
  win.ClearLog();
  open.Command9.Click();
  EXPECT_FALSE(app->frmprogram.Loaded());
  EXPECT_FALSE(win.Logged("RegSetValueEx"));
}

TEST_F(ProgramsTest, TheWindowsOwnCloseDiscardsABrowsedPath) {
  win.fileDialogAnswers.push_back("C:\\Games\\sol.exe");
  Start();
  Frmprogram& open = OpenDialog();
  open.Command1.Click();
  open.RequestClose();
  EXPECT_FALSE(app->frmprogram.Loaded());
  EXPECT_EQ(Stored("Strrun"), std::nullopt);
}

TEST_F(ProgramsTest, EverySelectionOfRunProgramsOpensTheDialog) {
  Start();
  f().mnuprogram.Click();
  EXPECT_TRUE(dialog().Visible());
  dialog().Command9.Click();
  f().mnuprogram.Click();
  EXPECT_TRUE(app->frmprogram.Loaded());
  EXPECT_TRUE(dialog().Visible());
}

}  // namespace
}  // namespace tarnby
