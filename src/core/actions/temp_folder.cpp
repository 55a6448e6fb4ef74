#include "core/actions/temp_folder.h"

#include <cctype>
#include <string_view>

namespace tarnby {

std::string ComparableFolder(std::string folder) {
  for (char& c : folder) {
    if (c == '/') c = '\\';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string OnDisk(Platform& platform, const std::string& path) {
  const std::string real = path.empty() ? std::string() : platform.FinalPath(path);
  return ComparableFolder(real.empty() ? path : real);
}

bool IsSameOrInside(const std::string& folder, const std::string& parent) {
  if (parent.empty() || !folder.starts_with(parent)) return false;
  // "c:" is the top of c:\x; "c:\win" is not above "c:\windows".
  return folder.size() == parent.size() || folder[parent.size()] == '\\' || parent.back() == ':';
}

bool HasDotStep(const std::string& comparable) {
  for (std::size_t start = 0; start <= comparable.size();) {
    std::size_t end = comparable.find('\\', start);
    if (end == std::string::npos) end = comparable.size();
    const std::string_view step(comparable.data() + start, end - start);
    if (step == "." || step == "..") return true;
    start = end + 1;
  }
  return false;
}

bool IsDriveRoot(const std::string& comparable) {
  if (comparable.empty()) return true;
  if (comparable.size() == 2 && comparable[1] == ':') return true;
  if (comparable.rfind("\\\\", 0) == 0) {
    const std::size_t share = comparable.find('\\', 2);
    return share == std::string::npos || comparable.find('\\', share + 1) == std::string::npos;
  }
  return false;
}

bool IsFullyQualified(const std::string& path) {
  auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && separator(path[2]))
    return true;
  return path.size() >= 3 && separator(path[0]) && separator(path[1]) && !separator(path[2]);
}

std::string TempVariable(Platform& platform) {
  for (const char* name : {"TMP", "TEMP", "USERPROFILE"}) {
    const std::string value = platform.GetEnvironmentVariable(name);
    if (!value.empty()) return value;
  }
  return {};
}

}  // namespace tarnby
