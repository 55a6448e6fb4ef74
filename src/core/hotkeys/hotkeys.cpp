#include "core/hotkeys/hotkeys.h"

#include "core/app.h"

namespace tarnby {

HotKeys::HotKeys(App& app) : app_(app) {}

}  // namespace tarnby
