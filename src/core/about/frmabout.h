#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class App;

class FrmAbout : public Form {
 public:
  explicit FrmAbout(App& app);

 private:
  App& app_;
};

}  // namespace tarnby
