#include "core/system/settings_store.h"


#include "core/system/platform_owned.h"

namespace tarnby {

std::optional<std::string> ReadRegValue(Platform& platform, Handle hive, const std::string& key,
                                        const std::string& valueName, std::uint32_t* type) {
  Handle opened = 0;
  const bool isOpen = platform.RegOpenKey(hive, key, &opened) == w::kErrorSuccess;
  const PlatformKey owner(platform, isOpen ? opened : 0);
  std::uint32_t size = 0;
  if (platform.RegQueryValueEx(opened, valueName, type, nullptr, &size) != w::kErrorSuccess) return std::nullopt;
  // An empty value has nothing to read: no buffer, no second query.
  if (size == 0) return std::string();
  const std::uint32_t first = *type;
  std::string buffer(size, ' ');
  std::uint32_t got = size;
  if (platform.RegQueryValueEx(opened, valueName, type, reinterpret_cast<std::uint8_t*>(buffer.data()), &got) !=
          w::kErrorSuccess ||
      *type != first)
    return std::nullopt;
  // The value may have grown between the two queries; never read past our buffer.
  buffer.resize(got < size ? got : size);
  return buffer;
}

std::string UpToNul(const std::string& data) { return data.substr(0, data.find('\0')); }

std::string ReadRegString(Platform& platform, Handle hive, const std::string& key, const std::string& valueName) {
  std::uint32_t type = 0;
  const std::optional<std::string> data = ReadRegValue(platform, hive, key, valueName, &type);
  return data && type == w::kRegSz ? UpToNul(*data) : std::string();
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
