#include "core/actions/actions.h"

#include "core/app.h"

namespace tarnby {

Actions::Actions(App& app) : app_(app) {}

// The catalogue arrives with the system actions; until then a double-click does nothing.
void Actions::TrayDoubleClick(Control&) {}

}  // namespace tarnby
