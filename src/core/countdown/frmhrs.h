#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class App;

class Frmhrs : public Form {
 public:
  explicit Frmhrs(App& app);

 private:
  App& app_;
};

}  // namespace tarnby
