#include "core/about/frmabout.h"

#include <vector>

#include "core/app_title.h"
#include "core/resource_ids.h"
#include "core/system/platform_owned.h"
#include "tarnby_version.h"

namespace tarnby {

namespace {

constexpr char kCaption[] = "About Tarnby";
constexpr char kWebAddress[] = "https://tarnby.example.org";
constexpr char kMailAddress[] = "tarnby@example.org";
constexpr char kAuthor[] = "Written by the Tarnby developers";
constexpr char kCredits[] = "Icons drawn for Tarnby";
constexpr char kLinksHint[] = "Click on the address to go to my web site or e-mail me";
constexpr char kUnavailable[] = "System Information Is Unavailable At This Time";

constexpr char kSysInfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kSysInfoValue[] = "PATH";
constexpr char kSysInfoLocationKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char kSysInfoLocationValue[] = "MSINFO";
constexpr char kSysInfoProgram[] = "\\MSINFO32.EXE";

constexpr std::uint32_t kValueBuffer = 1024;
constexpr std::uint32_t kLinkBlue = Rgb(0, 0, 255);

// A link opens through the Windows 9x launcher, hidden. Where that launcher is
// missing nothing starts, and the about box stays as it was.
void OpenLink(Platform& platform, const std::string& target) { platform.Shell("Start.exe " + target, w::kSwHide); }

std::string ByteHex(std::uint8_t byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  if (byte >= 0x10) text += kDigits[byte >> 4];
  text += kDigits[byte & 0xF];
  return text;
}

}  // namespace

std::string VersionLine() {
  return "Version " + std::to_string(TARNBY_VERSION_MAJOR) + "." + std::to_string(TARNBY_VERSION_MINOR) + "." +
         std::to_string(TARNBY_VERSION_REVISION);
}

FrmAbout::FrmAbout(Platform& host)
    : Form(host, "frmAbout"),
      cmdOK(*this, "cmdOK", ControlKind::Button, {4245, 2625, 1260, 345}, "OK"),
      picIcon(*this, "picIcon", ControlKind::PictureBox, {240, 240, 432, 432}),
      cmdSysInfo(*this, "cmdSysInfo", ControlKind::Button, {4260, 3075, 1245, 345}, "&System Info..."),
      lblDescription(*this, "lblDescription", ControlKind::Label, {798, 1008, 4140, 240}, kAuthor),
      lblTitle(*this, "lblTitle", ControlKind::Label, {1056, 120, 3888, 480}),
      lblVersion(*this, "lblVersion", ControlKind::Label, {1056, 660, 3888, 228}),
      Label1(*this, "Label1", ControlKind::Label, {1698, 1800, 2340, 192}, kWebAddress),
      Label2(*this, "Label2", ControlKind::Label, {660, 1440, 4428, 228}, kLinksHint),
      Label3(*this, "Label3", ControlKind::Label, {2076, 2160, 1584, 192}, kMailAddress),
      Label4(*this, "Label4", ControlKind::Label, {1914, 2520, 1908, 192}, kCredits) {
  SetDesign("About", {0, 0, 5736, 3564});
  borderStyle = BorderStyle::FixedDialog;
  // The controls are declared in tab order.
  for (std::size_t i = 0; i < controls.size(); ++i) controls[i]->tabIndex = static_cast<int>(i);
  picIcon.SetPicture(IDI_TARNBY);
  lblTitle.font.points = 12;
  Label2.font.bold = true;
  Label2.font.italic = true;
  for (Control* link : {&Label1, &Label3}) {
    link->foreColor = kLinkBlue;
    link->font.underline = true;
  }
  cmdOK.isDefault = true;
  cmdOK.isCancel = true;

  cmdOK.onClick = [this] { Unload(); };
  cmdSysInfo.onClick = [this] { StartSysInfo(); };
  Label1.onClick = [this] { OpenLink(platform, kWebAddress); };
  Label3.onClick = [this] { OpenLink(platform, std::string("mailto:") + kMailAddress); };
  onLoad = [this] { Form_Load(); };
}

void FrmAbout::Form_Load() {
  SetCaption(kCaption);
  lblVersion.SetCaption(VersionLine());
  lblTitle.SetCaption(kAppTitle);
}

void FrmAbout::StartSysInfo() {
  std::string sysInfoPath;
  if (!GetKeyValue(w::kHkeyLocalMachine, kSysInfoKey, kSysInfoValue, sysInfoPath)) {
    const bool located = GetKeyValue(w::kHkeyLocalMachine, kSysInfoLocationKey, kSysInfoLocationValue, sysInfoPath);
    const std::uint32_t attributes =
        located ? platform.GetFileAttributes(sysInfoPath + kSysInfoProgram) : w::kInvalidFileAttributes;
    if (attributes == w::kInvalidFileAttributes || (attributes & w::kFileAttributeDirectory)) {
      platform.MessageBox(kUnavailable, kAppTitle, w::kMbOk);
      return;
    }
    sysInfoPath += kSysInfoProgram;
  }
  // A registered program that will not start is as unavailable as a missing one.
  if (platform.Shell(sysInfoPath, w::kSwShowNormal) == 0) platform.MessageBox(kUnavailable, kAppTitle, w::kMbOk);
}

bool FrmAbout::GetKeyValue(Handle keyRoot, const std::string& keyName, const std::string& subKeyRef,
                           std::string& keyVal) {
  Handle key = 0;
  // Reading is all this needs; asking for more would fail for a user who may
  // not write to the machine's keys.
  if (platform.RegOpenKeyEx(keyRoot, keyName, 0, w::kKeyRead, &key) != w::kErrorSuccess) {
    keyVal.clear();
    return false;
  }
  const PlatformKey owner(platform, key);
  std::vector<std::uint8_t> buffer(kValueBuffer, 0);
  std::uint32_t size = kValueBuffer;
  std::uint32_t type = 0;
  if (platform.RegQueryValueEx(key, subKeyRef, &type, buffer.data(), &size) != w::kErrorSuccess) {
    keyVal.clear();
    return false;
  }
  if (size > kValueBuffer) size = kValueBuffer;
  if (size > 0 && buffer[size - 1] == 0) --size;
  if (type == w::kRegSz) {
    keyVal.assign(reinterpret_cast<const char*>(buffer.data()), size);
  } else if (type == w::kRegDword) {
    keyVal = "&h";
    for (std::uint32_t i = size; i > 0; --i) keyVal += ByteHex(buffer[i - 1]);
  }
  return true;
}

}  // namespace tarnby
