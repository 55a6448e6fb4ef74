#include "core/system/folders.h"

#include <cstring>

#include "core/system/platform_owned.h"

namespace tarnby {

namespace {
constexpr std::uint32_t kPathBuffer = 260;

// The buffer up to its first NUL, provided the call filled it.
std::string FilledPart(const char* buffer, std::uint32_t returned, std::uint32_t size) {
  if (returned == 0 || returned >= size) return {};
  return std::string(buffer, strnlen(buffer, returned));
}
}  // namespace

std::string GetWindowsDir(Platform& platform) {
  char buffer[256] = {};
  return FilledPart(buffer, platform.GetWindowsDirectory(buffer, sizeof buffer), sizeof buffer);
}

std::string GetSystemPath(Platform& platform) {
  char buffer[kPathBuffer] = {};
  return FilledPart(buffer, platform.GetSystemDirectory(buffer, kPathBuffer), kPathBuffer);
}

std::string GetTmpPath(Platform& platform) {
  char buffer[kPathBuffer] = {};
  return FilledPart(buffer, platform.GetTempPath(kPathBuffer, buffer), kPathBuffer);
}

std::string GetSpecialFolder(Platform& platform, Handle owner, int folder) {
  std::string path;
  Handle idList = 0;
  if (platform.SHGetSpecialFolderLocation(owner, folder, &idList) == 0) {
    const PlatformShellMemory owned(platform, idList);
    char buffer[kPathBuffer] = {};
    if (platform.SHGetPathFromIDList(idList, buffer)) path.assign(buffer, strnlen(buffer, kPathBuffer));
  }
  return path;
}

bool FitsMaxPath(const std::string& path) {
  std::size_t units = 0;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) ++units;  // each character once
    if (byte >= 0xF0) ++units;           // and beyond the first plane, twice
  }
  return units <= kMaxPathLength;
}

std::string InProgramFolder(Platform& platform, const std::string& fileName) {
  return platform.ProgramFolder() + "\\" + fileName;
}

}  // namespace tarnby
