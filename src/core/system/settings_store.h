// The registry settings store: every setting is a REG_SZ, flags are "true" or
// the empty string, and every reader goes to the registry when it needs a value.
#pragma once

#include <optional>
#include <string>

#include "core/platform.h"

namespace tarnby {

inline constexpr char kSettingsKey[] = "Software\\Tarnby\\Registry\\settings";
inline constexpr char kCheckKey[] = "Software\\Tarnby\\Registry\\check";
inline constexpr char kPathKey[] = "Software\\Tarnby\\Registry\\Path";
inline constexpr char kRunKey[] = "Software\\Tarnby\\Registry\\run";
inline constexpr char kRunKeyAsWritten[] = "Software\\Tarnby\\Registry\\Run";
inline constexpr char kWindowsRunKey[] = "Software\\microsoft\\windows\\currentversion\\run";
inline constexpr char kUserRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kTrue[] = "true";

// The value's text up to its first NUL; empty when the key or value is
// missing, is not a REG_SZ, or cannot be read.
std::string ReadRegString(Platform& platform, Handle hive, const std::string& key, const std::string& valueName);

// The value's bytes as stored, and its type; nullopt when the key or value is
// missing or cannot be read.
std::optional<std::string> ReadRegValue(Platform& platform, Handle hive, const std::string& key,
                                        const std::string& valueName, std::uint32_t* type);
// A stored string's text: up to its first NUL.
std::string UpToNul(const std::string& data);

// Creates the key when needed and stores data as a NUL-terminated REG_SZ.
// The system's answer: ERROR_SUCCESS, or why the key or value was refused.
long WriteRegString(Platform& platform, Handle hive, const std::string& key, const std::string& valueName,
                    const std::string& data);

// Removes a value; a missing key or value counts as removed.
long DeleteRegValue(Platform& platform, Handle hive, const std::string& key, const std::string& valueName);

// A flag is on only when it reads exactly "true".
inline bool IsTrue(const std::string& value) { return value == kTrue; }

}  // namespace tarnby
