// What the command line needs of Win32 beyond the Platform calls: the
// program's arguments, and a WM_COPYDATA turned into the form's event.
#pragma once

#include "win32/win32_api.h"  // first: see there why

#include <string>
#include <vector>

#include "core/forms/forms.h"

namespace tarnby {

// The arguments after the program's name, as UTF-8.
std::vector<std::string> ProgramArguments();

// WM_COPYDATA for a form: its text (UTF-16) handed to onCopyData with the
// sender's window (wParam), where the answer goes.
LRESULT FormCopyData(Form& form, WPARAM wParam, LPARAM lParam);

}  // namespace tarnby
