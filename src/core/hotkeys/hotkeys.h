#pragma once

namespace tarnby {

class App;

class HotKeys {
 public:
  explicit HotKeys(App& app);

 private:
  App& app_;
};

}  // namespace tarnby
