// The time-left window: a small borderless window that shows only the time
// left, "m : ss", copied every second from the main window while it is open.
#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class App;

class Frmtime : public Form {
 public:
  explicit Frmtime(App& app);

  Control Label1;
  Control Command1;
  Timer Timer1;

  // "&Close" (and Esc): slides the window off the left edge, then unloads it.
  void SlideOut();

 private:
  void Form_Load();
  void ShowTimeLeft();

  App& app_;
};

}  // namespace tarnby
