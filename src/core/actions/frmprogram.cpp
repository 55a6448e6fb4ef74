#include "core/actions/frmprogram.h"

#include "core/actions/file_request.h"
#include "core/app_title.h"
#include "core/main_window/frmstart.h"
#include "core/system/folders.h"
#include "core/system/platform_owned.h"
#include "core/system/settings_store.h"

namespace tarnby {

namespace {
constexpr char kCaption[] = "Select Program(s) To Run";
constexpr char kFilter[] = "Program Files (*.exe)\0*.exe\0All Files (*.*)\0*.*\0";
constexpr char kBrowseTitle[] = "Select file";
constexpr char kCleared[] = "Cleared!";
constexpr std::uint32_t kRefreshInterval = 200;
constexpr int kClientWidth = 3684, kClientHeight = 3108;
}  // namespace

Frmprogram::Frmprogram(Platform& host, Frmstart& frmstart)
    : Form(host, "frmprogram"),
      Label1(*this, "Label1", ControlKind::Label, {120, 120, 1572, 192}, "Program Number One"),
      Text1(*this, "Text1", ControlKind::TextBox, {240, 360, 2292, 288}),
      Command1(*this, "Command1", ControlKind::Button, {2760, 360, 732, 288}, "B&rowse"),
      Command7(*this, "Command7", ControlKind::Button, {2760, 720, 732, 252}, "C&lear"),
      Picture1(*this, "Picture1", ControlKind::PictureBox, {360, 840, 612, 492}),
      Label2(*this, "Label2", ControlKind::Label, {120, 1440, 1584, 192}, "Program Number Two"),
      Text2(*this, "Text2", ControlKind::TextBox, {240, 1680, 2292, 288}),
      Command2(*this, "Command2", ControlKind::Button, {2760, 1680, 732, 288}, "&Browse"),
      Command8(*this, "Command8", ControlKind::Button, {2760, 2040, 732, 252}, "&Clear"),
      Picture2(*this, "Picture2", ControlKind::PictureBox, {360, 2160, 612, 492}),
      Command9(*this, "Command9", ControlKind::Button, {120, 2760, 732, 252}, "Clo&se"),
      Command5(*this, "Command5", ControlKind::Button, {0, 0, 0, 0}),
      Command6(*this, "Command6", ControlKind::Button, {0, 0, 0, 0}),
      Timer1(*this, "Timer1", kRefreshInterval, true),
      frmstart_(frmstart),
      slots_{{Text1, Command7, Picture1, "Strrun", "strRun"}, {Text2, Command8, Picture2, "Strrun2", "strRun2"}} {
  const ScreenInfo screen = platform.Screen();
  SetDesign(kCaption, {(screen.widthTwips - kClientWidth) / 2, (screen.heightTwips - kClientHeight) / 2,
                       kClientWidth, kClientHeight});
  borderStyle = BorderStyle::FixedSingle;
  iconResource = frmstart.iconResource;

  int tab = 0;
  for (Control* control : {&Text1, &Text2, &Command1, &Command2, &Picture1, &Picture2, &Label1, &Label2})
    control->tabIndex = tab++;
  Command7.tabIndex = 10;
  Command8.tabIndex = 11;
  Command9.tabIndex = 12;
  Text1.locked = true;
  Text2.locked = true;
  Command5.SetVisible(false);
  Command6.SetVisible(false);

  onLoad = [this] { Form_Load(); };
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command7.onClick = [this] { Command7_Click(); };
  Command8.onClick = [this] { Command8_Click(); };
  Command5.onClick = [this] { Command5_Click(); };
  Command6.onClick = [this] { Command6_Click(); };
  Command9.onClick = [this] { Command9_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
}

std::string Frmprogram::StoredPath(const Slot& slot) {
  return ReadRegString(platform, w::kHkeyCurrentUser, kRunKey, slot.readName);
}

void Frmprogram::Form_Load() {
  // No icon yet: the first timer tick draws the stored ones.
  for (Slot& slot : slots_) {
    slot.text.SetText(StoredPath(slot));
    if (slot.text.Text().empty()) slot.clear.SetEnabled(false);
  }
}

bool Frmprogram::DrawProgramIcon(Control& picture, const std::string& path) {
  if (path.empty() || !FitsMaxPath(path)) return false;
  const PlatformIcon icon(platform, platform.ExtractAssociatedIcon(platform.InstanceHandle(), path, 0));
  if (!icon) return false;
  const PlatformDc dc(platform, picture.hwnd);
  return dc && platform.DrawIcon(dc.get(), 0, 0, icon.get());
}

void Frmprogram::Browse(Slot& slot) {
  // Flags 0: the dialog leaves the current folder where the file was found,
  // so the next Browse, in either slot, starts there.
  OpenFileName request =
      OpenFileRequest(platform, frmstart_.hwnd, std::string(kFilter, sizeof kFilter - 1),
                      platform.CurrentDirectory(), kBrowseTitle);
  const std::optional<std::string> path = AskForFile(platform, request);
  // The file dialog belongs to the main window, so this dialog stays usable
  // under it; closed meanwhile, it has no window left to draw the icon into.
  if (!path || !Loaded()) return;
  slot.text.SetText(*path);
  platform.ClearPicture(slot.picture);
  // A file the shell has no icon for is still a chosen program: it can be cleared.
  DrawProgramIcon(slot.picture, *path);
  slot.clear.SetEnabled(true);
}

void Frmprogram::RefreshIcon(Slot& slot) {
  // Only a stored program is redrawn; a path browsed but not yet saved keeps
  // whatever Browse drew until something paints over it.
  if (StoredPath(slot).empty()) return;
  DrawProgramIcon(slot.picture, slot.text.Text());
}

void Frmprogram::Timer1_Timer() {
  Command5.Click();
  Command6.Click();
}

void Frmprogram::Clear(Slot& slot) {
  WriteRegString(platform, w::kHkeyCurrentUser, kRunKeyAsWritten, slot.writeName, "");
  slot.text.SetText("");
  platform.ClearPicture(slot.picture);
  slot.clear.SetEnabled(false);
  platform.MessageBox(kCleared, kAppTitle, w::kMbOk);
}

void Frmprogram::Command9_Click() {
  if (!Text1.Text().empty() || !Text2.Text().empty()) {
    for (const Slot& slot : slots_) {
      // The run-programs marker is not a program: it is stored as no program.
      const std::string& path = slot.text.Text();
      WriteRegString(platform, w::kHkeyCurrentUser, kRunKeyAsWritten, slot.writeName,
                     path == kNothing ? std::string() : path);
    }
    Timer1.SetEnabled(false);
  }
  Unload();
}

}  // namespace tarnby
