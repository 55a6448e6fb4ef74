#include "core/actions/frmprogram.h"

#include "core/app.h"

namespace tarnby {

Frmprogram::Frmprogram(App& app) : Form(app.platform, "frmprogram"), app_(app) {}

}  // namespace tarnby
