// The hours window: a small topmost box without a title bar, opened by
// "&Hours?", where the hours of a long countdown are typed (two weeks at most).
#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class Frmstart;

class Frmhrs : public Form {
 public:
  Frmhrs(Platform& platform, Frmstart& frmstart);

  Control Label1;
  Control Text1;

  // At "&Start": an empty box, or a whole number of hours within the limit,
  // passes; anything else gets the limit message and fails.
  bool HoursAccepted();
  // The message for more hours than two weeks hold.
  void ShowHoursLimit();

 private:
  void Text1_Change();

  Frmstart& frmstart_;
};

}  // namespace tarnby
