#pragma once

namespace tarnby {

class App;

class Countdown {
 public:
  explicit Countdown(App& app);

 private:
  App& app_;
};

}  // namespace tarnby
