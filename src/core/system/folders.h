// The folders the actions and dialogs need, each empty when the system cannot say.
#pragma once

#include <string>

#include "core/platform.h"

namespace tarnby {

std::string GetWindowsDir(Platform& platform);
std::string GetSystemPath(Platform& platform);
// The temporary folder with its trailing backslash, as the system reports it.
std::string GetTmpPath(Platform& platform);
// The longest path the shell's calls take: MAX_PATH less its NUL.
inline constexpr std::size_t kMaxPathLength = 259;
// Whether a path fits the shell's calls, counted in the UTF-16 units Windows
// counts. A longer stored path is treated like one that does not exist: it
// never reaches the shell.
bool FitsMaxPath(const std::string& path);
// How many bytes of text, in whole characters, fit the given number of the
// UTF-16 units Windows counts.
std::size_t BytesWithinUtf16Units(const std::string& text, std::size_t units);
// A shell folder (CSIDL_RECENT, CSIDL_PROFILE, ...) as a path; the item list
// the shell hands out is released again.
std::string GetSpecialFolder(Platform& platform, Handle owner, int folder);
// A known folder (Desktop, Program Files, ...) as a path, whether or not it
// exists yet; empty when the shell does not know it.
std::string GetKnownFolder(Platform& platform, KnownFolder folder);
// A file beside tarnby.exe: the program folder, a backslash and the name.
std::string InProgramFolder(Platform& platform, const std::string& fileName);

}  // namespace tarnby
