#include "core/hotkeys/frmhot.h"

#include "core/system/os_info.h"
#include "core/system/settings_store.h"

namespace tarnby {

namespace {

constexpr char kCaption[] = "Select what Hot Keys you want to Enable";
constexpr char kEnable[] = "Enable this?";
constexpr char kHelp[] =
    "Click on the option buttons (radio buttons) to see the hot key for that selection. Place a check in the check "
    "box to enable whatever option you want enabled then click the Ok button. For example, the restart computer hot "
    "key is \"Shift + Ctrl + F2\" when these two keys are pressed at the same time the computer will restart (if the "
    "check for the restart computer option is checked). Tarnby must be running for these hot keys to work.";

constexpr int kCheckLeft = 120, kCheckWidth = 1212, kOptionLeft = 1560, kOptionWidth = 2292, kRowHeight = 300;

Twips CheckAt(int top) { return {kCheckLeft, top, kCheckWidth, kRowHeight}; }
Twips OptionAt(int top) { return {kOptionLeft, top, kOptionWidth, kRowHeight}; }

}  // namespace

Frmhot::Frmhot(Platform& host)
    : Form(host, "frmhot"),
      Text1(*this, "Text1", ControlKind::TextBox, {3072, 120, 1812, 300}),
      optrestart(*this, "optrestart", ControlKind::OptionButton, OptionAt(720), "&Restart Computer"),
      Check1(*this, "Check1", ControlKind::CheckBox, CheckAt(720), kEnable),
      Check2(*this, "Check2", ControlKind::CheckBox, CheckAt(1186), kEnable),
      optwin(*this, "optwin", ControlKind::OptionButton, OptionAt(1200), "Restar&t Windows"),
      Check3(*this, "Check3", ControlKind::CheckBox, CheckAt(1652), kEnable),
      optrestartf(*this, "optrestartf", ControlKind::OptionButton, OptionAt(1652), "&Force Restart Computer"),
      Check4(*this, "Check4", ControlKind::CheckBox, CheckAt(2118), kEnable),
      optscreen(*this, "optscreen", ControlKind::OptionButton, OptionAt(2118), "Start Scr&een Saver"),
      Check5(*this, "Check5", ControlKind::CheckBox, CheckAt(2584), kEnable),
      optsleep(*this, "optsleep", ControlKind::OptionButton, OptionAt(2584), "Start Suspen&d Mode"),
      Check6(*this, "Check6", ControlKind::CheckBox, CheckAt(3050), kEnable),
      optdos(*this, "optdos", ControlKind::OptionButton, OptionAt(3050), "E&xit to Dos"),
      Check7(*this, "Check7", ControlKind::CheckBox, CheckAt(3516), kEnable),
      optlog(*this, "optlog", ControlKind::OptionButton, OptionAt(3516), "&Log Off User"),
      Check8(*this, "Check8", ControlKind::CheckBox, CheckAt(3982), kEnable),
      optlogf(*this, "optlogf", ControlKind::OptionButton, OptionAt(3982), "Force Lo&g Off User"),
      Check9(*this, "Check9", ControlKind::CheckBox, CheckAt(4448), kEnable),
      optshut(*this, "optshut", ControlKind::OptionButton, OptionAt(4448), "Sh&ut Down Computer"),
      Check10(*this, "Check10", ControlKind::CheckBox, CheckAt(4920), kEnable),
      optshutf(*this, "optshutf", ControlKind::OptionButton, OptionAt(4920), "For&ce Shut Down Computer"),
      lblhot(*this, "lblhot", ControlKind::Label, {1500, 180, 1284, 240}, "Hot Key is :"),
      Command1(*this, "Command1", ControlKind::Button, {120, 5520, 1200, 348}, "Ok"),
      Command3(*this, "Command3", ControlKind::Button, {1440, 5520, 1200, 348}, "Cancel"),
      Frame1(*this, "Frame1", ControlKind::Frame, {3960, 720, 2532, 5052}, "About Hot Keys"),
      Label1(*this, "Label1", ControlKind::Label, {120, 360, 2388, 3264}, kHelp, &Frame1),
      rows_{{{&Check1, &optrestart}, {&Check2, &optwin}, {&Check3, &optrestartf}, {&Check4, &optscreen},
             {&Check5, &optsleep}, {&Check6, &optdos}, {&Check7, &optlog}, {&Check8, &optlogf}, {&Check9, &optshut},
             {&Check10, &optshutf}}} {
  // The rows from the top stand for the actions in the order the settings
  // are written.
  for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i].action = kSettingsWriteOrder[i];
  SetDesign(kCaption, {0, 0, 6612, 6036});
  borderStyle = BorderStyle::FixedSingle;
  lblhot.foreColor = Rgb(0, 0, 192);
  Text1.locked = true;  // it only ever shows the chosen combination
  Command1.isDefault = true;
  Command3.isCancel = true;
  // The controls are declared in tab order.
  for (std::size_t i = 0; i < controls.size(); ++i) controls[i]->tabIndex = static_cast<int>(i);

  for (const Row& row : rows_) {
    const char* shownAs = Catalogued(row.action).hotKeyShown;
    row.option->onClick = [this, shownAs] { Text1.SetText(shownAs); };
  }
  Command1.onClick = [this] { Command1_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  // The title bar's close keeps the default: unload, nothing written.
  onLoad = [this] { Form_Load(); };
}

void Frmhot::Form_Load() {
  if (COpSysInfo(platform).IsWin95()) {
    optsleep.SetEnabled(false);
    Check5.SetEnabled(false);
    Check5.SetValue(false);
  }
  optrestart.SetValue(true);
  platform.SetWindowPos(hwnd, w::kHwndTopmost, 0, 0, 0, 0, w::kSwpNoSize | w::kSwpNoMove);
  for (ActionCode code : kSettingsReadOrder) {
    if (!IsTrue(ReadRegString(platform, w::kHkeyCurrentUser, kCheckKey, CodeName(code)))) continue;
    for (const Row& row : rows_)
      if (row.action == code) row.check->SetValue(true);
  }
}

void Frmhot::Command1_Click() {
  for (const Row& row : rows_)
    WriteRegString(platform, w::kHkeyCurrentUser, kCheckKey, CodeName(row.action),
                   row.check->Value() ? kTrue : "");
  Unload();
}

void Frmhot::Command3_Click() { Unload(); }

}  // namespace tarnby
