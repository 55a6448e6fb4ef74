#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class App;

class Frmhot : public Form {
 public:
  explicit Frmhot(App& app);

 private:
  App& app_;
};

}  // namespace tarnby
