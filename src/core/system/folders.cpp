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

std::string GetKnownFolder(Platform& platform, KnownFolder folder) {
  std::string path;
  if (platform.SHGetKnownFolderPath(folder, w::kKfFlagDontVerify, 0, &path) < 0) path.clear();
  return path;
}

namespace {
// The bytes of the proper UTF-8 character at the start of text, or 0: an
// overlong form, a surrogate, a cut or a stray byte starts none.
std::size_t CharacterBytes(const unsigned char* text, std::size_t left) {
  const unsigned char lead = text[0];
  if (lead < 0x80) return 1;
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || length > left) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((text[i] & 0xC0) != 0x80) return 0;
  const unsigned char second = text[1];
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second >= 0x90))
    return 0;
  return length;
}
}  // namespace

std::size_t BytesWithinUtf16Units(const std::string& text, std::size_t units) {
  // Counted as the conversion to UTF-16 makes them: a character beyond the
  // first plane takes two units, a byte that starts no character one.
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t used = 0, at = 0;
  while (at < text.size()) {
    const std::size_t length = CharacterBytes(bytes + at, text.size() - at);
    const std::size_t needs = length == 4 ? 2 : 1;
    if (used + needs > units) break;
    used += needs;
    at += length == 0 ? 1 : length;
  }
  return at;
}

bool FitsMaxPath(const std::string& path) { return BytesWithinUtf16Units(path, kMaxPathLength) == path.size(); }

std::string InProgramFolder(Platform& platform, const std::string& fileName) {
  return platform.ProgramFolder() + "\\" + fileName;
}

}  // namespace tarnby
