#include "core/system/settings_store.h"

#include <cstring>
#include <vector>

#include "core/system/platform_owned.h"

namespace tarnby {

std::string ReadRegString(Platform& platform, Handle hive, const std::string& key, const std::string& valueName) {
  Handle opened = 0;
  const bool isOpen = platform.RegOpenKey(hive, key, &opened) == w::kErrorSuccess;
  const PlatformKey owner(platform, isOpen ? opened : 0);
  std::string result;
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  // An empty value has nothing to read: no buffer, no second query.
  if (platform.RegQueryValueEx(opened, valueName, &type, nullptr, &size) == w::kErrorSuccess &&
      type == w::kRegSz && size > 0) {
    std::vector<std::uint8_t> buffer(size, ' ');
    std::uint32_t got = size;
    if (platform.RegQueryValueEx(opened, valueName, &type, buffer.data(), &got) == w::kErrorSuccess &&
        type == w::kRegSz) {
      // The value may have grown between the two queries; never read past our buffer.
      const std::size_t length = got < size ? got : size;
      const auto* begin = reinterpret_cast<const char*>(buffer.data());
      const void* nul = std::memchr(begin, '\0', length);
      result.assign(begin, nul ? static_cast<const char*>(nul) - begin : length);
    }
  }
  return result;
}

long WriteRegString(Platform& platform, Handle hive, const std::string& key, const std::string& valueName,
                    const std::string& data) {
  Handle opened = 0;
  if (const long created = platform.RegCreateKey(hive, key, &opened); created != w::kErrorSuccess) return created;
  const PlatformKey owner(platform, opened);
  return platform.RegSetValueEx(opened, valueName, w::kRegSz, reinterpret_cast<const std::uint8_t*>(data.c_str()),
                         static_cast<std::uint32_t>(data.size() + 1));
}

long DeleteRegValue(Platform& platform, Handle hive, const std::string& key, const std::string& valueName) {
  Handle opened = 0;
  long status = platform.RegOpenKeyEx(hive, key, 0, w::kKeySetValue, &opened);
  if (status == w::kErrorSuccess) {
    const PlatformKey owner(platform, opened);
    status = platform.RegDeleteValue(opened, valueName);
  }
  return status == w::kErrorFileNotFound ? w::kErrorSuccess : status;
}

}  // namespace tarnby
