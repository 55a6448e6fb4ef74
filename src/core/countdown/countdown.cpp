#include "core/countdown/countdown.h"

#include "core/app.h"

namespace tarnby {

Countdown::Countdown(App& app) : app_(app) {}

}  // namespace tarnby
