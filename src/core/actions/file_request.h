// The open-file request both selection dialogs make: a classic OPENFILENAME
// with space-filled buffers and no flags, owned by the main window.
#pragma once

#include <optional>
#include <string>

#include "core/platform.h"

namespace tarnby {

// filter holds its NULs, e.g. "Program Files (*.exe)\0*.exe\0"; the closing
// double NUL is added here.
OpenFileName OpenFileRequest(Platform& platform, Handle owner, const std::string& filter,
                             const std::string& initialDir, const std::string& title);

// Shows the dialog. The chosen path (the buffer up to its NUL, surrounding
// spaces trimmed), or nothing when the user cancels or the dialog fails.
std::optional<std::string> AskForFile(Platform& platform, OpenFileName& request);

}  // namespace tarnby
