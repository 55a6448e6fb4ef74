// The hours window: a small topmost box without a title bar, opened by
// "&Hours?", where the hours of a long countdown are typed (two weeks at most).
#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class App;

class Frmhrs : public Form {
 public:
  explicit Frmhrs(App& app);

  Control Label1;
  Control Text1;

 private:
  void Text1_Change();

  App& app_;
};

}  // namespace tarnby
