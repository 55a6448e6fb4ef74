// System actions: the catalogue of the eleven actions and the housekeeping commands.
#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class App;

class Actions {
 public:
  explicit Actions(App& app);

  // A left double-click on a tray icon: runs the quick action its box stands for.
  void TrayDoubleClick(Control& box);

 private:
  App& app_;
};

}  // namespace tarnby
