// Start with Windows: one "Tarnby" entry in the machine-wide run key, and the
// two label/option pairs that offer whichever state is not the current one.
// Where the system keeps the machine-wide key from this user (every program
// that is not elevated, on today's Windows), the user's own run key carries
// the entry instead. An entry counts as this program's only when Windows
// would start this very file from it, and only while Task Manager has not
// marked it disabled.
#include "core/actions/temp_folder.h"
#include "core/app_title.h"
#include "core/shell/shell.h"
#include "core/system/settings_store.h"

namespace tarnby {

namespace {
constexpr char kRunValue[] = "Tarnby";
// Task Manager's Startup page and Settings leave an entry in place and mark it
// here, under the same name in the same hive; Windows skips a marked entry.
constexpr char kStartupApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr char kMachineWideStays[] =
    "Tarnby was set to load for every user of this computer. Only an administrator can turn that off.";
constexpr char kCannotSwitchOn[] = "Windows did not let Tarnby set itself to load when Windows loads.";
constexpr char kCannotSwitchOff[] = "Windows did not let Tarnby stop loading when Windows loads.";

struct RunKey {
  Handle hive;
  const char* key;
};
constexpr RunKey kMachineWide{w::kHkeyLocalMachine, kWindowsRunKey};
constexpr RunKey kUsersOwn{w::kHkeyCurrentUser, kUserRunKey};

// Windows starts an entry as a command line: quoted, a path may hold spaces.
std::string Quoted(const std::string& path) {
  std::string quoted(1, '"');
  quoted.append(path).push_back('"');
  return quoted;
}

// %name% as the process sees it, as ExpandEnvironmentStrings does: a name
// that is not set stays as written.
std::string Expanded(Platform& platform, const std::string& text) {
  std::string out;
  std::size_t at = 0;
  for (std::size_t open; (open = text.find('%', at)) != std::string::npos;) {
    const std::size_t close = text.find('%', open + 1);
    if (close == std::string::npos) break;
    const std::string value = platform.GetEnvironmentVariable(text.substr(open + 1, close - open - 1));
    out.append(text, at, (value.empty() ? close : open) - at);
    out += value;
    at = value.empty() ? close : close + 1;
  }
  return out.append(text, at);
}

// The entry's text, expanded when Windows expands it; empty when there is
// none or it is no string.
std::string ReadEntry(Platform& platform, const RunKey& run) {
  std::uint32_t type = 0;
  const std::optional<std::string> data = ReadRegValue(platform, run.hive, run.key, kRunValue, &type);
  if (!data || (type != w::kRegSz && type != w::kRegExpandSz)) return {};
  return type == w::kRegExpandSz ? Expanded(platform, UpToNul(*data)) : UpToNul(*data);
}

// The program an entry starts: the text in its quotes, or all of it.
std::string ProgramOf(const std::string& entry) {
  if (entry.empty() || entry.front() != '"') return entry;
  const std::size_t close = entry.find('"', 1);
  return close == entry.size() - 1 ? entry.substr(1, close - 1) : std::string();
}

// An odd first byte in the mark means disabled; 02 and zeros, or none, enabled.
bool MarkedDisabled(Platform& platform, Handle hive) {
  std::uint32_t type = 0;
  const std::optional<std::string> mark = ReadRegValue(platform, hive, kStartupApprovedKey, kRunValue, &type);
  return mark && type == w::kRegBinary && !mark->empty() && (static_cast<unsigned char>(mark->front()) & 1);
}
}  // namespace

std::string Shell::RunEntry() const { return platform_.ProgramFolder() + "\\tarnby.exe"; }

bool Shell::NamesThisProgram(const std::string& entry) const {
  const std::string program = ProgramOf(entry);
  return IsFullyQualified(program) && OnDisk(platform_, program) == OnDisk(platform_, RunEntry());
}

Shell::Entry Shell::ReadRunEntry(bool machineWide) const {
  const RunKey& run = machineWide ? kMachineWide : kUsersOwn;
  const std::string text = ReadEntry(platform_, run);
  if (text.empty()) return Entry::None;
  if (!NamesThisProgram(text)) return Entry::Other;
  // A disabled entry is as good as none: Windows does not start it.
  return MarkedDisabled(platform_, run.hive) ? Entry::None : Entry::This;
}

void Shell::load() {
  Frmstart& f = frmstart_;
  const Entry machine = ReadRunEntry(true);
  const Entry user = ReadRunEntry(false);
  const bool on = machine == Entry::This || user == Entry::This;
  // Any other text is a copy elsewhere: leave the controls as they are.
  if (!on && (machine == Entry::Other || user == Entry::Other)) return;
  f.Label8.SetEnabled(!on);
  f.Option1.SetEnabled(!on);
  f.Label9.SetEnabled(on);
  f.Option2.SetEnabled(on);
}

void Shell::SwitchOn() {
  Platform& platform = platform_;
  Handle hive = w::kHkeyLocalMachine;
  long status = WriteRegString(platform, hive, kWindowsRunKey, kRunValue, RunEntry());
  if (status == w::kErrorAccessDenied) {
    hive = w::kHkeyCurrentUser;
    status = WriteRegString(platform, hive, kUserRunKey, kRunValue, Quoted(RunEntry()));
  }
  // The entry alone does not start Tarnby while Task Manager's mark stays.
  if (status == w::kErrorSuccess && MarkedDisabled(platform, hive))
    status = DeleteRegValue(platform, hive, kStartupApprovedKey, kRunValue);
  if (status != w::kErrorSuccess) platform.MessageBox(kCannotSwitchOn, kAppTitle, w::kMbIconExclamation);
}

void Shell::SwitchOff() {
  Platform& platform = platform_;
  const long machine = WriteRegString(platform, w::kHkeyLocalMachine, kWindowsRunKey, kRunValue, "");
  // The user's own "Tarnby" value may belong to another program: it stays.
  const long user = NamesThisProgram(ReadEntry(platform, kUsersOwn))
                        ? DeleteRegValue(platform, w::kHkeyCurrentUser, kUserRunKey, kRunValue)
                        : w::kErrorSuccess;
  // A refused machine-wide write matters only while it leaves this program starting.
  if (machine != w::kErrorSuccess && ReadRunEntry(true) == Entry::This)
    platform.MessageBox(kMachineWideStays, kAppTitle, w::kMbIconExclamation);
  else if (user != w::kErrorSuccess)
    platform.MessageBox(kCannotSwitchOff, kAppTitle, w::kMbIconExclamation);
}

void Shell::WireStartWithWindows() {
  Frmstart& f = frmstart_;
  f.Option1.onClick = [this] { Option1_Click(); };
  f.Option2.onClick = [this] { Option2_Click(); };
  f.Label8.onClick = [this] { Label8_Click(); };
  f.Label9.onClick = [this] { Label9_Click(); };
}

void Shell::Option1_Click() {
  SwitchOn();
  load();
}

void Shell::Option2_Click() {
  SwitchOff();
  load();
}

// Selecting an option that was not selected raises its click, which does the
// work; so the entry is written, and any refusal told, once per click.
void Shell::Label8_Click() {
  Control& option = frmstart_.Option1;
  if (option.Value())
    Option1_Click();
  else
    option.SetValue(true);
}

void Shell::Label9_Click() {
  Control& option = frmstart_.Option2;
  if (option.Value())
    Option2_Click();
  else
    option.SetValue(true);
}

}  // namespace tarnby
