#include "core/actions/actions.h"

#include "core/app.h"

namespace tarnby {

// Placeholder bodies until the system actions land: they do nothing.
Actions::Actions(App& app) : app_(app) {}
const char* CodeName(ActionCode) { return ""; }
void Actions::TrayDoubleClick(Control&) {}
void Actions::Perform(ActionCode, Trigger) {}
void Actions::RunPrograms() {}
void Actions::StartStoredScreenSaver() {}
std::optional<std::string> Actions::ChooseScreenSaverFile() { return std::nullopt; }
void Actions::EndAtOnce() { app_.platform.ExitProcess(0); }
bool Actions::KillEmAll(std::string) { return false; }
bool Actions::ActiveConnection() { return false; }

}  // namespace tarnby
