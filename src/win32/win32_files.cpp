// Files: searching a folder, attributes and deleting.
#include "win32/win32_platform_parts.h"

#include "win32/utf16.h"

namespace tarnby {

namespace {

void FillFindData(const WIN32_FIND_DATAW& found, FindData& data) {
  data.dwFileAttributes = found.dwFileAttributes;
  data.cFileName = Utf8(UpToNul({found.cFileName, MAX_PATH}));
}

}  // namespace

// --------------------------------------------------------------------- files

Handle Win32Platform::FindFirstFile(const std::string& pattern, FindData& data) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(Wide(pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return w::kInvalidHandle;
  FillFindData(found, data);
  return ToHandle(search);
}

bool Win32Platform::FindNextFile(Handle search, FindData& data) {
  WIN32_FIND_DATAW found{};
  if (!::FindNextFileW(As<HANDLE>(search), &found)) return false;
  FillFindData(found, data);
  return true;
}

bool Win32Platform::FindClose(Handle search) { return ::FindClose(As<HANDLE>(search)); }

std::uint32_t Win32Platform::GetFileAttributes(const std::string& path) {
  return ::GetFileAttributesW(Wide(path).c_str());
}

bool Win32Platform::SetFileAttributes(const std::string& path, std::uint32_t attributes) {
  return ::SetFileAttributesW(Wide(path).c_str(), attributes);
}

bool Win32Platform::DeleteFile(const std::string& path) { return ::DeleteFileW(Wide(path).c_str()); }

std::string Win32Platform::ReadFileStart(const std::string& path, std::uint32_t count) {
  const OwnedFile file(::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string bytes(count, '\0');
  DWORD total = 0, read = 0;
  while (total < count && ::ReadFile(file.get(), bytes.data() + total, count - total, &read, nullptr) && read > 0)
    total += read;
  bytes.resize(total);
  return bytes;
}

}  // namespace tarnby
