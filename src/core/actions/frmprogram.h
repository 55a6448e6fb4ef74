#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class App;

class Frmprogram : public Form {
 public:
  explicit Frmprogram(App& app);

 private:
  App& app_;
};

}  // namespace tarnby
