// The program selection dialog: two slots, each a path with the program's
// icon, Browse and Clear; Close stores both slots.
#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class Frmstart;

// The marker the run-programs action writes into an empty slot.
inline constexpr char kNothing[] = "Nothing";

class Frmprogram : public Form {
 public:
  Frmprogram(Platform& platform, Frmstart& frmstart);

  Control Label1, Text1, Command1, Command7, Picture1;
  Control Label2, Text2, Command2, Command8, Picture2;
  Control Command9;
  Control Command5, Command6;  // hidden: the icon refresh of each slot
  Timer Timer1;

  void Form_Load();
  void Command1_Click() { Browse(slots_[0]); }
  void Command2_Click() { Browse(slots_[1]); }
  void Command7_Click() { Clear(slots_[0]); }
  void Command8_Click() { Clear(slots_[1]); }
  void Command5_Click() { RefreshIcon(slots_[0]); }
  void Command6_Click() { RefreshIcon(slots_[1]); }
  void Command9_Click();
  void Timer1_Timer();

 private:
  struct Slot {
    Control& text;
    Control& clear;
    Control& picture;
    const char* readName;   // as the readers spell it, under ...\run
    const char* writeName;  // as the writers spell it, under ...\Run
  };

  void Browse(Slot& slot);
  void Clear(Slot& slot);
  void RefreshIcon(Slot& slot);
  // Draws the icon of path at the picture's top left corner and lets the
  // icon go at once. False when there was no icon to draw.
  bool DrawProgramIcon(Control& picture, const std::string& path);
  std::string StoredPath(const Slot& slot);

  Frmstart& frmstart_;
  Slot slots_[2];
};

}  // namespace tarnby
