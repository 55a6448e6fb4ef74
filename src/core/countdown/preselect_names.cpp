#include "core/countdown/preselect_names.h"

namespace tarnby {

const std::array<PreSelectName, 8> kPreSelectNames = {{
    {"shutdown", &Frmstart::cmdshut, &Frmstart::chkshut, "shut down", "forced shut down", "shut down the computer",
     "force the computer to shut down"},
    {"restart", &Frmstart::cmdrestart, &Frmstart::chkrestart, "restart", "forced restart", "restart the computer",
     "force the computer to restart"},
    {"logoff", &Frmstart::cmdlog, &Frmstart::chklog, "log off", "forced log off", "log you off",
     "force you to log off"},
    {"restartwindows", &Frmstart::cmdcd, nullptr, "restart Windows only", nullptr, "restart Windows", nullptr},
    {"suspend", &Frmstart::cmdsleep, nullptr, "suspend", nullptr, nullptr, nullptr},
    {"screensaver", &Frmstart::cmdscreen, nullptr, "start the screen saver", nullptr, nullptr, nullptr},
    {"dos", &Frmstart::cmddos, nullptr, "exit to DOS", nullptr, "exit to DOS", nullptr},
    {"programs", &Frmstart::cmdprogram, nullptr, "run the programs", nullptr, nullptr, nullptr},
}};

const PreSelectName* PreSelectNamed(const Control& button, const Frmstart& f) {
  for (const PreSelectName& name : kPreSelectNames)
    if (&(f.*name.button) == &button) return &name;
  return nullptr;
}

std::string NoticeText(const PreSelectName& name, bool forced, std::int64_t secondsLeft) {
  const char* what = forced && name.forcedNotice ? name.forcedNotice : name.notice;
  if (what == nullptr) return {};
  return std::string("Tarnby will ") + what + " in " + std::to_string(secondsLeft) +
         (secondsLeft == 1 ? " second." : " seconds.");
}

}  // namespace tarnby
