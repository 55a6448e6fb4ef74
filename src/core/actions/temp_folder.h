// What the temporary-folder command needs to know about paths before it
// deletes anything: folders compared as text, a drive's top, and whether the
// environment names the temporary folder by a fully qualified path.
#pragma once

#include <string>

#include "core/platform.h"

namespace tarnby {

// A folder as text that compares equal however it was spelled: lower case,
// backslashes, no trailing backslash.
std::string ComparableFolder(std::string folder);

// A path as the file or folder it names on disk (letter case, short names,
// "/", "." and "..", "\\?\" prefixes and links all settled), comparable; as
// text where nothing can be opened there.
std::string OnDisk(Platform& platform, const std::string& path);

// Whether folder is parent or lies below it (both comparable); nothing lies
// below an empty parent.
bool IsSameOrInside(const std::string& folder, const std::string& parent);

// Whether a comparable folder names a "." or ".." step: as text it may say
// nothing of where it leads.
bool HasDotStep(const std::string& comparable);

// "C:\", "\" and "\\server\share\" (comparable) are the tops of a drive.
bool IsDriveRoot(const std::string& comparable);

// "C:\x" or "\\server\share" (also "\\?\" and "\\.\" forms); not "x", "C:x",
// "\x" or ".", which the system reads against the current folder.
bool IsFullyQualified(const std::string& path);

// The value the system's temporary folder comes from: TMP, else TEMP, else
// USERPROFILE; empty when none is set (the Windows folder is used then).
std::string TempVariable(Platform& platform);

}  // namespace tarnby
