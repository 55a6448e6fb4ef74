// Tarnby started with arguments of each test's own, as a command line starts it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/countdown_fixture.h"

namespace tarnby {

class CommandLineTest : public CountdownTest {
 protected:
  void SetUp() override {}  // each test starts the program with its own arguments
  bool StartWith(const std::vector<std::string>& arguments) {
    app = std::make_unique<App>(win);
    const bool running = app->Start(arguments);
    if (running) f().Timer3.SetEnabled(false);
    return running;
  }
};

}  // namespace tarnby
