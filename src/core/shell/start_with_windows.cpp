// Start with Windows: one "Tarnby" entry in the machine-wide run key, and the
// two label/option pairs that offer whichever state is not the current one.
// Where the system keeps the machine-wide key from this user (every program
// that is not elevated, on today's Windows), the user's own run key carries
// the entry instead.
#include "core/app_title.h"
#include "core/shell/shell.h"
#include "core/system/settings_store.h"

namespace tarnby {

namespace {
constexpr char kRunValue[] = "Tarnby";
constexpr char kMachineWideStays[] =
    "Tarnby was set to load for every user of this computer. Only an administrator can turn that off.";
constexpr char kCannotSwitchOn[] = "Windows did not let Tarnby set itself to load when Windows loads.";
constexpr char kCannotSwitchOff[] = "Windows did not let Tarnby stop loading when Windows loads.";

// Windows starts an entry as a command line: quoted, a path may hold spaces.
std::string Quoted(const std::string& path) {
  std::string quoted(1, '"');
  quoted.append(path).push_back('"');
  return quoted;
}

bool NamesProgram(const std::string& entry, const std::string& path) { return entry == path || entry == Quoted(path); }
}  // namespace

std::string Shell::RunEntry() const { return platform_.ProgramFolder() + "\\tarnby.exe"; }

void Shell::load() {
  Frmstart& f = frmstart_;
  Platform& platform = platform_;
  const std::string machine = ReadRegString(platform, w::kHkeyLocalMachine, kWindowsRunKey, kRunValue);
  const std::string user = ReadRegString(platform, w::kHkeyCurrentUser, kUserRunKey, kRunValue);
  const bool on = NamesProgram(machine, RunEntry()) || NamesProgram(user, RunEntry());
  // Any other text is a copy elsewhere: leave the controls as they are.
  if (!on && !(machine.empty() && user.empty())) return;
  f.Label8.SetEnabled(!on);
  f.Option1.SetEnabled(!on);
  f.Label9.SetEnabled(on);
  f.Option2.SetEnabled(on);
}

void Shell::SwitchOn() {
  Platform& platform = platform_;
  long status = WriteRegString(platform, w::kHkeyLocalMachine, kWindowsRunKey, kRunValue, RunEntry());
  if (status == w::kErrorAccessDenied)
    status = WriteRegString(platform, w::kHkeyCurrentUser, kUserRunKey, kRunValue, Quoted(RunEntry()));
  if (status != w::kErrorSuccess) platform.MessageBox(kCannotSwitchOn, kAppTitle, w::kMbIconExclamation);
}

void Shell::SwitchOff() {
  Platform& platform = platform_;
  const long machine = WriteRegString(platform, w::kHkeyLocalMachine, kWindowsRunKey, kRunValue, "");
  const long user = DeleteRegValue(platform, w::kHkeyCurrentUser, kUserRunKey, kRunValue);
  // A refused machine-wide write matters only while it leaves an entry behind.
  if (machine != w::kErrorSuccess &&
      !ReadRegString(platform, w::kHkeyLocalMachine, kWindowsRunKey, kRunValue).empty())
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
