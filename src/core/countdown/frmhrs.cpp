#include "core/countdown/frmhrs.h"

#include "core/app.h"

namespace tarnby {

Frmhrs::Frmhrs(App& app) : Form(app.platform, "frmhrs"), app_(app) {}

}  // namespace tarnby
