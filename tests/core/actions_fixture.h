// Helpers for the system-action tests: the calls that reach the system, in
// order, with the main window's handle written as "main".
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "core/actions/actions.h"
#include "core/actions/frmprogram.h"
#include "core/app_fixture.h"
#include "core/system/settings_store.h"

namespace tarnby {

class ActionsTest : public AppTest {
 protected:
  static std::string Hex(Handle handle) {
    std::ostringstream out;
    out << "0x" << std::hex << handle;
    return out.str();
  }

  // The log lines that act on the system, in order; the main window's
  // handle reads "main".
  std::vector<std::string> SystemCalls() const {
    static const char* const kPrefixes[] = {"EnableShutdownPrivilege", "ExitWindowsEx", "ShellExecute", "SendMessage",
                                            "Shell(",                  "GetOpenFileName", "MessageBox", "ExitProcess"};
    const std::string main = Hex(app->frmstart.hwnd);
    std::vector<std::string> calls;
    for (std::string line : win.log) {
      bool wanted = false;
      for (const char* prefix : kPrefixes) wanted = wanted || line.rfind(prefix, 0) == 0;
      if (!wanted) continue;
      for (std::size_t at = line.find(main); at != std::string::npos; at = line.find(main))
        line.replace(at, main.size(), "main");
      calls.push_back(line);
    }
    return calls;
  }

  Actions& actions() { return *app->actions; }

  void StoreScreenSaver(const std::string& path) {
    win.SetRegString(w::kHkeyCurrentUser, kPathKey, "strscreen", path);
  }
  std::optional<std::string> StoredScreenSaver() const {
    return win.GetRegString(w::kHkeyCurrentUser, kPathKey, "strscreen");
  }
  void StorePrograms(const std::string& one, const std::string& two) {
    win.SetRegString(w::kHkeyCurrentUser, kRunKey, "Strrun", one);
    win.SetRegString(w::kHkeyCurrentUser, kRunKey, "Strrun2", two);
  }
};

// "ShellExecute(main, Open, <file>, , <program folder>, 1)" as the log shows it.
inline std::string OpenCall(const std::string& file, const std::string& folder = "C:\\Program Files\\Tarnby") {
  return "ShellExecute(main, Open, " + file + ", , " + folder + ", 1)";
}
inline const char kScreenSaveMessage[] = "SendMessage(main, 0x112, 0xf140, 0)";

}  // namespace tarnby
