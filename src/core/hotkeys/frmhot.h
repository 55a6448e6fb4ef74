// The hot key settings dialog: one row per hot key, a check box that enables
// it and an option button that shows its combination. Its only state is the
// ten gating values, read when it opens and all written by "Ok".
#pragma once

#include <array>

#include "core/actions/catalogue.h"
#include "core/forms/forms.h"

namespace tarnby {

class Frmhot : public Form {
 public:
  explicit Frmhot(Platform& platform);

  Control Text1;
  Control optrestart, Check1, Check2, optwin;
  Control Check3, optrestartf, Check4, optscreen, Check5, optsleep, Check6, optdos;
  Control Check7, optlog, Check8, optlogf, Check9, optshut, Check10, optshutf;
  Control lblhot, Command1, Command3;
  Control Frame1, Label1;

  // A row on screen: its check box, its option button and the action whose
  // hot key it enables, top to bottom.
  struct Row {
    Control* check;
    Control* option;
    ActionCode action{};
  };
  const std::array<Row, kSettingsWriteOrder.size()>& Rows() const { return rows_; }

  void Form_Load();
  void Command1_Click();
  void Command3_Click();

 private:
  std::array<Row, kSettingsWriteOrder.size()> rows_;
};

}  // namespace tarnby
