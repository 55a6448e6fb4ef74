#include "core/countdown/frmtime.h"

#include "core/app.h"

namespace tarnby {

Frmtime::Frmtime(App& app) : Form(app.platform, "frmtime"), app_(app) {}

}  // namespace tarnby
