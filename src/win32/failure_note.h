// A failure Tarnby survives is never silent: it says what failed, and why,
// where a debugger (or a viewer of debug output) sees it.
#pragma once

namespace tarnby {

// "Tarnby: <where>", and the reason of the exception being handled, if any.
void NoteFailure(const wchar_t* where);

}  // namespace tarnby
