// Start with Windows: one "Tarnby" entry in the machine-wide run key, and the
// two label/option pairs that offer whichever state is not the current one.
#include "core/shell/shell.h"
#include "core/system/settings_store.h"

namespace tarnby {

std::string Shell::RunEntry() const { return platform_.ProgramFolder() + "\\tarnby.exe"; }

void Shell::load() {
  Frmstart& f = frmstart_;
  const std::string entry = ReadRegString(platform_, w::kHkeyLocalMachine, kWindowsRunKey, "Tarnby");
  if (entry == RunEntry()) {
    f.Label8.SetEnabled(false);
    f.Option1.SetEnabled(false);
    f.Label9.SetEnabled(true);
    f.Option2.SetEnabled(true);
  } else if (entry.empty()) {
    f.Label8.SetEnabled(true);
    f.Option1.SetEnabled(true);
    f.Label9.SetEnabled(false);
    f.Option2.SetEnabled(false);
  }
  // Any other text is a copy elsewhere: leave the controls as they are.
}

void Shell::WriteRunEntry(bool on) {
  WriteRegString(platform_, w::kHkeyLocalMachine, kWindowsRunKey, "Tarnby", on ? RunEntry() : "");
}

void Shell::WireStartWithWindows() {
  Frmstart& f = frmstart_;
  f.Option1.onClick = [this] { Option1_Click(); };
  f.Option2.onClick = [this] { Option2_Click(); };
  f.Label8.onClick = [this] { Label8_Click(); };
  f.Label9.onClick = [this] { Label9_Click(); };
}

void Shell::Option1_Click() {
  WriteRunEntry(true);
  load();
}

void Shell::Option2_Click() {
  WriteRunEntry(false);
  load();
}

// Selecting an option that was not selected raises its click as well.
void Shell::Label8_Click() {
  WriteRunEntry(true);
  frmstart_.Option1.SetValue(true);
  load();
}

void Shell::Label9_Click() {
  WriteRunEntry(false);
  frmstart_.Option2.SetValue(true);
  load();
}

}  // namespace tarnby
