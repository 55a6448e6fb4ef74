// Tarnby started with arguments of each test's own, as a command line starts it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/commands/commands.h"
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
  // The reply window of the copy that hands its arguments over.
  static constexpr Handle kSender = 0x5E4D;
  // Another copy hands the arguments over and the queue takes them in its
  // next turn: the answer that copy gets (an empty one when none came).
  FakeWindows::Answer HandOver(const std::vector<std::string>& arguments, Handle sender = kSender) {
    const std::size_t before = win.answers.size();
    EXPECT_EQ(f().onCopyData(kCommandCopyData, JoinArguments(arguments), sender), kAnswerTaken);
    win.Advance(1);
    return win.answers.size() > before ? win.answers.back() : FakeWindows::Answer{};
  }
};

}  // namespace tarnby
