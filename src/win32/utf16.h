// UTF-8 (the core's strings) to UTF-16 (the W entry points) and back.
// Both directions take explicit lengths, so embedded NULs travel through.
#pragma once

#include <string>
#include <string_view>

namespace tarnby {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

// The text up to its first NUL (all of it when there is none).
std::wstring_view UpToNul(std::wstring_view text);

}  // namespace tarnby
