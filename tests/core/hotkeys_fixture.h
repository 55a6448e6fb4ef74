// A started Tarnby whose keyboard the test holds down, with Timer3 ticking.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "core/actions/actions.h"
#include "core/app_fixture.h"
#include "core/shell/shell.h"
#include "core/system/settings_store.h"

namespace tarnby {

inline constexpr int kF1 = 0x70, kF2 = 0x71, kF5 = 0x74, kF9 = 0x78, kF10 = 0x79, kAlt = 0x12;

class HotKeyTest : public AppTest {
 protected:
  void Enable(const std::string& gate, const std::string& value = "true") {
    win.SetRegString(w::kHkeyCurrentUser, kCheckKey, gate, value);
  }
  // Shift and Ctrl with the given keys, nothing else.
  void HoldShiftCtrl(std::initializer_list<int> keys) {
    win.keysDown = {w::kVkShift, w::kVkControl};
    win.keysDown.insert(keys.begin(), keys.end());
  }
  void ReleaseAll() { win.keysDown.clear(); }
  void Tick(int ticks = 1) { win.Advance(50u * static_cast<unsigned>(ticks)); }

  // The calls by which an action reaches the system, in order.
  std::vector<std::string> ActionCalls() const {
    std::vector<std::string> calls;
    for (const std::string& line : win.log)
      for (const char* prefix : {"ExitWindowsEx(", "ShellExecute(", "SendMessage(", "Shell(", "GetOpenFileName("})
        if (line.rfind(prefix, 0) == 0) calls.push_back(line);
    return calls;
  }
};

}  // namespace tarnby
