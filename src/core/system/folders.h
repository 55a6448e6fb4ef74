// The folders the actions and dialogs need, each empty when the system cannot say.
#pragma once

#include <string>

#include "core/platform.h"

namespace tarnby {

std::string GetWindowsDir(Platform& platform);
std::string GetSystemPath(Platform& platform);
// The temporary folder with its trailing backslash, as the system reports it.
std::string GetTmpPath(Platform& platform);
// A file beside tarnby.exe: the program folder, a backslash and the name.
std::string InProgramFolder(Platform& platform, const std::string& fileName);

}  // namespace tarnby
