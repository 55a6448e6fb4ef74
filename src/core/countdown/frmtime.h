#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class App;

class Frmtime : public Form {
 public:
  explicit Frmtime(App& app);

 private:
  App& app_;
};

}  // namespace tarnby
