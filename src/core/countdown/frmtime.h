// The time-left window: a small borderless window that shows only the time
// left, "m : ss", copied every second from the main window while it is open.
#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class Frmstart;

class Frmtime : public Form {
 public:
  Frmtime(Platform& platform, Frmstart& frmstart);

  Control Label1;
  Control Command1;
  Timer Timer1;

  // "&Close" (and Esc): slides the window off the left edge, then unloads it.
  void SlideOut();

 private:
  void Form_Load();
  void ShowTimeLeft();

  Frmstart& frmstart_;
};

}  // namespace tarnby
