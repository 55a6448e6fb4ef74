// The popup menu's small commands that leave Windows running: the CD door,
// minimise and restore all windows, the dial-up connection, the recent
// documents, the temporary folder, the readme and the help file.
#include "core/actions/actions.h"
#include "core/actions/temp_folder.h"
#include "core/app_title.h"
#include "core/system/folders.h"
#include "core/system/platform_owned.h"

namespace tarnby {

namespace {
constexpr char kDoorOpen[] = "set CDAudio door open";
constexpr char kDoorClosed[] = "set CDAudio door closed";
constexpr std::uint32_t kMciReturnLength = 127;
constexpr std::uint8_t kVkM = 0x4D;
constexpr std::uintptr_t kRestoreAllWindows = 416;  // the taskbar's undo of minimise-all

constexpr char kRemoteAccessKey[] = "System\\CurrentControlSet\\Services\\RemoteAccess";
constexpr char kRemoteConnection[] = "Remote Connection";
constexpr char kDisconnectQuestion[] = "Are you sure you want to disconnect from the internet?";
constexpr char kDisconnectTitle[] = "Disconnect from Internet?";

// The user's own files and the installed programs: a folder named Temp in
// them, or holding them, is not temporary.
constexpr KnownFolder kKeptFolders[] = {
    KnownFolder::Desktop,         KnownFolder::Documents,         KnownFolder::Downloads,
    KnownFolder::Pictures,        KnownFolder::Music,             KnownFolder::Videos,
    KnownFolder::Favorites,       KnownFolder::PublicDesktop,     KnownFolder::PublicDocuments,
    KnownFolder::ProgramFiles,    KnownFolder::ProgramFilesX86,   KnownFolder::ProgramFilesCommon,
    KnownFolder::ProgramFilesCommonX86};

constexpr char kNoFolder[] = "Folder does not exist!";
constexpr char kNoFolderTitle[] = "Folder not Found!";
constexpr char kNotCleanedTitle[] = "Folder not Cleaned";
constexpr char kCleanedTitle[] = "Files Deleted!";

constexpr char kReadme[] = "readme.txt";
constexpr char kHelpFile[] = "tarnby.hlp";
constexpr char kNoNotepad[] = "Tarnby could not start Notepad to show readme.txt.";
constexpr char kNoHelpViewer[] =
    "Tarnby could not start the Windows help viewer. \"View ReadMe File\" in the menu shows the user guide.";

}  // namespace

void Actions::WireHousekeeping() {
  Frmstart& f = frmstart_;
  f.mnucd.onClick = [this] { mnucd_Click(); };
  f.mnucdclose.onClick = [this] { mnucdclose_Click(); };
  f.mnumin.onClick = [this] { mnumin_Click(); };
  f.mnushow.onClick = [this] { mnushow_Click(); };
  f.mnunet.onClick = [this] { mnunet_Click(); };
  f.mnudoc.onClick = [this] { mnudoc_Click(); };
  f.mnutemp.onClick = [this] { mnutemp_Click(); };
  f.mnureadme.onClick = [this] { mnureadme_Click(); };
  f.mnuhelp.onClick = [this] { mnuhelp_Click(); };
  f.mnuscreenchange.onClick = [this] { mnuscreenchange_Click(); };
}

// Some drives only move on the second request, so each door command goes twice.
static void SendDoorCommand(Platform& platform, const char* command) {
  char answer[kMciReturnLength + 1] = {};
  for (int i = 0; i < 2; ++i) platform.mciSendString(command, answer, kMciReturnLength, 0);
}

void Actions::mnucd_Click() { SendDoorCommand(platform_, kDoorOpen); }

void Actions::mnucdclose_Click() { SendDoorCommand(platform_, kDoorClosed); }

void Actions::mnumin_Click() {
  // Windows key + M: the shell's own "minimise all windows".
  Platform& platform = platform_;
  platform.keybd_event(w::kVkLWin, 0, 0, 0);
  platform.keybd_event(kVkM, 0, 0, 0);
  platform.keybd_event(kVkM, 0, w::kKeyEventKeyUp, 0);
  platform.keybd_event(w::kVkLWin, 0, w::kKeyEventKeyUp, 0);
}

void Actions::mnushow_Click() {
  Platform& platform = platform_;
  platform.PostMessage(platform.FindWindow("Shell_TrayWnd", nullptr), w::kWmCommand, kRestoreAllWindows, 0);
}

bool Actions::ActiveConnection() {
  Platform& platform = platform_;
  Handle key = 0;
  if (platform.RegOpenKey(w::kHkeyLocalMachine, kRemoteAccessKey, &key) != w::kErrorSuccess) return false;
  const PlatformKey owner(platform, key);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  platform.RegQueryValueEx(key, kRemoteConnection, &type, nullptr, &size);
  std::uint32_t connected = 0;
  size = sizeof connected;
  const bool read = platform.RegQueryValueEx(key, kRemoteConnection, &type,
                                             reinterpret_cast<std::uint8_t*>(&connected), &size) == w::kErrorSuccess;
  // The state is a number (binary on 9x, a DWORD elsewhere); text such as
  // "0" must not read as its character code.
  const bool number = type == w::kRegDword || type == w::kRegBinary;
  return read && number && connected != 0;
}

void Actions::mnunet_Click() {
  if (!ActiveConnection()) return;
  Platform& platform = platform_;
  if (platform.MessageBox(kDisconnectQuestion, kDisconnectTitle, w::kMbYesNo | w::kMbIconExclamation) == w::kIdYes)
    platform.InternetAutodialHangup(0);
}

void Actions::mnudoc_Click() { platform_.SHAddToRecentDocs(w::kShardPathA, nullptr); }

bool Actions::IsTemporaryFolder(const std::string& folder) {
  Platform& platform = platform_;
  // Compared as the folders they are on disk, whatever the spelling: ".",
  // "..", short names, doubled separators, "\\?\" and "\\.\" prefixes, links.
  auto onDisk = [&](const std::string& path) { return OnDisk(platform, path); };
  auto tempOf = [&](const std::string& parent) { return parent.empty() ? parent : onDisk(parent + "\\Temp"); };
  // One that cannot be opened is judged as named, but not when "." or ".."
  // would take it elsewhere.
  const std::string real = folder.empty() ? folder : platform.FinalPath(folder);
  const std::string candidate = ComparableFolder(real.empty() ? folder : real);
  if (IsDriveRoot(candidate) || (real.empty() && HasDotStep(candidate))) return false;

  const std::string windowsDir = GetWindowsDir(platform);
  for (const std::string& temp : {tempOf(GetKnownFolder(platform, KnownFolder::LocalAppData)), tempOf(windowsDir)})
    if (IsSameOrInside(candidate, temp)) return true;

  const std::string name = candidate.substr(candidate.find_last_of("\\:") + 1);
  if (name != "temp" && name != "tmp") return false;
  // A folder of that name elsewhere, but not one that holds or lies in what
  // the user or Windows keeps.
  const std::string windows = onDisk(windowsDir);
  if (IsSameOrInside(candidate, windows) || IsSameOrInside(windows, candidate)) return false;
  for (KnownFolder kept : kKeptFolders) {
    const std::string keptOnDisk = onDisk(GetKnownFolder(platform, kept));
    if (IsSameOrInside(candidate, keptOnDisk) || IsSameOrInside(keptOnDisk, candidate)) return false;
  }
  for (const std::string& precious : {GetSpecialFolder(platform, frmstart_.hwnd, w::kCsidlProfile),
                                      GetSystemPath(platform), platform.CurrentDirectory(), platform.ProgramFolder()})
    if (IsSameOrInside(onDisk(precious), candidate)) return false;
  return true;
}

void Actions::RefuseToClean(const std::string& folder) {
  platform_.MessageBox("Tarnby will not delete files in " + folder + " because it is not a temporary folder.",
                           kNotCleanedTitle, w::kMbIconExclamation);
}

bool Actions::KillEmAll(std::string skillwho) {
  Platform& platform = platform_;
  if (!skillwho.empty() && skillwho.back() != '\\') skillwho += '\\';

  // TMP may name any folder at all, and with no TMP or TEMP set the system
  // reports the profile or the Windows folder: only a temporary one is wiped.
  if (!skillwho.empty() && !IsTemporaryFolder(skillwho)) {
    RefuseToClean(skillwho);
    return false;
  }

  const std::uint32_t attributes = skillwho.empty() ? w::kInvalidFileAttributes : platform.GetFileAttributes(skillwho);
  if (attributes == w::kInvalidFileAttributes || !(attributes & w::kFileAttributeDirectory)) {
    platform.MessageBox(kNoFolder, kNoFolderTitle, w::kMbIconExclamation);
    return false;
  }

  const std::string folder = ComparableFolder(platform.FinalPath(skillwho));
  FindData entry;
  const PlatformSearch search(platform, platform.FindFirstFile(skillwho + "*.*", entry));
  if (!search) return true;
  do {
    // Subfolders stay, contents and all; so do links, and whatever they lead to.
    if (entry.dwFileAttributes & (w::kFileAttributeDirectory | w::kFileAttributeReparsePoint)) continue;
    const std::string path = skillwho + entry.cFileName;
    // A file that is really somewhere else (a link the system shows as a
    // plain file) is not this folder's to delete.
    if (ComparableFolder(platform.FinalPath(path)) != folder + "\\" + ComparableFolder(entry.cFileName)) continue;
    // Read-only files go too; a file that stays (in use, no access) keeps
    // its read-only mark.
    const bool readOnly = entry.dwFileAttributes & w::kFileAttributeReadOnly;
    if (readOnly) {
      std::uint32_t writable = entry.dwFileAttributes & ~w::kFileAttributeReadOnly;
      platform.SetFileAttributes(path, writable == 0 ? w::kFileAttributeNormal : writable);
    }
    if (!platform.DeleteFile(path) && readOnly) platform.SetFileAttributes(path, entry.dwFileAttributes);
  } while (platform.FindNextFile(search.get(), entry));
  return true;
}

void Actions::mnutemp_Click() {
  Platform& platform = platform_;
  const std::string temp = GetTmpPath(platform);
  // The system reads a relative TMP against the current folder, which may
  // be any folder at all: only a folder the environment names in full is
  // a temporary one.
  const std::string variable = TempVariable(platform);
  if (!temp.empty() && (variable.empty() || !IsFullyQualified(variable))) {
    RefuseToClean(temp);
    return;
  }
  if (KillEmAll(temp))
    platform.MessageBox("The " + temp + " folder is now clean!", kCleanedTitle, w::kMbIconInformation);
}

void Actions::mnureadme_Click() {
  Platform& platform = platform_;
  if (platform.Shell("notepad " + InProgramFolder(platform, kReadme), w::kSwShowNormal) == 0)
    platform.MessageBox(kNoNotepad, kAppTitle, w::kMbIconExclamation);
}

void Actions::mnuhelp_Click() {
  Platform& platform = platform_;
  // Tarnby ships its guide as readme.txt; a help file is used when one has
  // been put beside the program.
  const std::string helpFile = InProgramFolder(platform, kHelpFile);
  if (platform.GetFileAttributes(helpFile) == w::kInvalidFileAttributes) {
    mnureadme_Click();
    return;
  }
  if (platform.Shell("winhelp " + helpFile, w::kSwShowNormal) == 0)
    platform.MessageBox(kNoHelpViewer, kAppTitle, w::kMbIconExclamation);
}

}  // namespace tarnby
