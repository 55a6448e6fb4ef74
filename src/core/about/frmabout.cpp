#include "core/about/frmabout.h"

#include "core/app.h"

namespace tarnby {

FrmAbout::FrmAbout(App& app) : Form(app.platform, "frmAbout"), app_(app) {}

}  // namespace tarnby
