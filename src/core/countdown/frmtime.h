// The time-left window: a small borderless window that shows only the time
// left, "m : ss", copied every second from the main window while it is open,
// and what runs at zero when the main window shows no ring for it.
#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class Countdown;
class Frmstart;

class Frmtime : public Form {
 public:
  Frmtime(Platform& platform, Frmstart& frmstart, const Countdown& countdown);

  Control Label1;
  Control Command1;
  Timer Timer1;

  // "&Close" (and Esc): slides the window off the left edge, then unloads it.
  void SlideOut();

 private:
  void Form_Load();
  void ShowTimeLeft();

  Frmstart& frmstart_;
  const Countdown& countdown_;
};

}  // namespace tarnby
