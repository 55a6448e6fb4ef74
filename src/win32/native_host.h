// The native side of the forms, as the Win32 platform hands it its window work.
#pragma once

#include "core/platform.h"

namespace tarnby {

using NativeHost = NativeWindows;

}  // namespace tarnby
