#include "core/countdown/preselect_names.h"

#include "core/actions/catalogue.h"

namespace tarnby {

const std::array<PreSelectName, 8> kPreSelectNames = {{
    {"shutdown", Catalogued(ActionCode::shut).preSelection, Catalogued(ActionCode::shutf).preSelection, "shut down",
     "forced shut down", "shut down the computer", "force the computer to shut down"},
    {"restart", Catalogued(ActionCode::restart).preSelection, Catalogued(ActionCode::restartf).preSelection, "restart",
     "forced restart", "restart the computer", "force the computer to restart"},
    {"logoff", Catalogued(ActionCode::log).preSelection, Catalogued(ActionCode::logf).preSelection, "log off",
     "forced log off", "log you off", "force you to log off"},
    {"restartwindows", Catalogued(ActionCode::restartw).preSelection, nullptr, "restart Windows only", nullptr,
     "restart Windows", nullptr},
    {"suspend", Catalogued(ActionCode::sleep).preSelection, nullptr, "suspend", nullptr, nullptr, nullptr},
    {"screensaver", Catalogued(ActionCode::screen).preSelection, nullptr, "start the screen saver", nullptr, nullptr,
     nullptr},
    {"dos", Catalogued(ActionCode::dos).preSelection, nullptr, "exit to DOS", nullptr, "exit to DOS", nullptr},
    {"programs", kRunProgramsRow.preSelection, nullptr, "run the programs", nullptr, nullptr, nullptr},
}};

const PreSelectName* PreSelectNamed(const Control& button, const Frmstart& f) {
  for (const PreSelectName& name : kPreSelectNames)
    if (&(f.*name.button) == &button) return &name;
  return nullptr;
}

const char* StatusOf(const PreSelectName& name, bool forced) {
  return forced && name.forcedStatus ? name.forcedStatus : name.status;
}

const char* NoticeOf(const PreSelectName& name, bool forced) {
  return forced && name.forcedNotice ? name.forcedNotice : name.notice;
}

std::string NoticeText(const char* what, std::int64_t secondsLeft) {
  if (what == nullptr) return {};
  return std::string("Tarnby will ") + what + " in " + std::to_string(secondsLeft) +
         (secondsLeft == 1 ? " second." : " seconds.");
}

}  // namespace tarnby
