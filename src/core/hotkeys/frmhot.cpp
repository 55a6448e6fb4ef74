#include "core/hotkeys/frmhot.h"

#include "core/app.h"

namespace tarnby {

Frmhot::Frmhot(App& app) : Form(app.platform, "frmhot"), app_(app) {}

}  // namespace tarnby
