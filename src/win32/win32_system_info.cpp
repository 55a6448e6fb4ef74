// System information: the version, the user, the folders, the screen and the clock.
#include "win32/win32_platform_parts.h"

#include <cstring>
#include <optional>

#include "win32/utf16.h"

namespace tarnby {

namespace {

// The A-call contract for char buffers: the length written without the NUL,
// or the size needed (NUL included) when the buffer is too small; an empty
// text is a failure, 0.
std::uint32_t CopyOut(const std::string& text, char* buffer, std::uint32_t size) {
  if (text.empty()) return 0;
  if (text.size() + 1 > size || buffer == nullptr) return static_cast<std::uint32_t>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<std::uint32_t>(text.size());
}

// Calls that fill a wide buffer and return the length, or the size they need
// when the buffer is too small, or 0 on failure.
template <class Call>
std::wstring ReadWideText(Call call) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.assign(length + 1, L'\0');
  }
  return {};
}

// The path of what the system opens under this name (empty when it cannot
// say), or nothing when it cannot be opened. Backup semantics open folders
// too; links are followed to where they lead.
std::optional<std::wstring> OpenedPath(const std::wstring& path) {
  const OwnedFile opened(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!opened) return std::nullopt;
  return ReadWideText([&opened](wchar_t* b, DWORD n) {
    return ::GetFinalPathNameByHandleW(opened.get(), b, n, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  });
}

}  // namespace

std::wstring ModuleFileName() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 6; ++attempt) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.assign(buffer.size() * 2, L'\0');  // truncated: the path is longer
  }
  return {};
}

// -------------------------------------------------------- system information

bool Win32Platform::GetVersionEx(OsVersionInfo& info) {
  // The core fills in the size of the ANSI record, as the classic call wants.
  if (info.dwOSVersionInfoSize != 148) {
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
  }
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!::GetVersionExW(&version)) return false;
  info.dwMajorVersion = version.dwMajorVersion;
  info.dwMinorVersion = version.dwMinorVersion;
  info.dwBuildNumber = version.dwBuildNumber;
  info.dwPlatformId = version.dwPlatformId;
  info.szCSDVersion = Utf8(UpToNul({version.szCSDVersion, std::size(version.szCSDVersion)}));
  return true;
}

bool Win32Platform::GetUserName(char* buffer, std::uint32_t* size) {
  if (size == nullptr) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  std::wstring name(257, L'\0');
  DWORD length = static_cast<DWORD>(name.size());
  while (!::GetUserNameW(name.data(), &length)) {
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || length <= name.size()) return false;
    name.assign(length, L'\0');
  }
  const std::string text = Utf8(UpToNul({name.data(), length}));
  const auto needed = static_cast<std::uint32_t>(text.size() + 1);
  if (buffer == nullptr || *size < needed) {
    *size = needed;
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
  }
  std::memcpy(buffer, text.c_str(), needed);
  *size = needed;
  return true;
}

std::uint32_t Win32Platform::GetWindowsDirectory(char* buffer, std::uint32_t size) {
  return CopyOut(Utf8(ReadWideText([](wchar_t* b, DWORD n) { return ::GetWindowsDirectoryW(b, n); })), buffer,
                 size);
}

std::uint32_t Win32Platform::GetSystemDirectory(char* buffer, std::uint32_t size) {
  return CopyOut(Utf8(ReadWideText([](wchar_t* b, DWORD n) { return ::GetSystemDirectoryW(b, n); })), buffer,
                 size);
}

std::uint32_t Win32Platform::GetTempPath(std::uint32_t size, char* buffer) {
  return CopyOut(Utf8(ReadWideText([](wchar_t* b, DWORD n) { return ::GetTempPathW(n, b); })), buffer, size);
}

std::string Win32Platform::ProgramFolder() {
  std::wstring path = ModuleFileName();
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  path.resize(slash);
  if (path.size() == 2 && path[1] == L':') path += L'\\';  // a drive root keeps its backslash
  return Utf8(path);
}

std::string Win32Platform::GetEnvironmentVariable(const std::string& name) {
  const std::wstring wide = Wide(name);
  return Utf8(ReadWideText([&](wchar_t* b, DWORD n) { return ::GetEnvironmentVariableW(wide.c_str(), b, n); }));
}

std::string Win32Platform::FinalPath(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) return {};
  const std::optional<std::wstring> opened = OpenedPath(wide);
  if (!opened) return {};
  std::wstring final = *opened;
  if (final.empty()) {
    // A system that cannot say: the full name in its long form.
    const std::wstring full =
        ReadWideText([&](wchar_t* b, DWORD n) { return ::GetFullPathNameW(wide.c_str(), n, b, nullptr); });
    final = ReadWideText([&](wchar_t* b, DWORD n) { return ::GetLongPathNameW(full.c_str(), b, n); });
  }
  if (final.rfind(L"\\\\?\\UNC\\", 0) == 0) return Utf8(L"\\" + final.substr(7));
  if (final.rfind(L"\\\\?\\", 0) == 0) return Utf8(final.substr(4));
  return Utf8(final);
}

std::string Win32Platform::CurrentDirectory() {
  return Utf8(ReadWideText([](wchar_t* b, DWORD n) { return ::GetCurrentDirectoryW(n, b); }));
}

Handle Win32Platform::InstanceHandle() { return ToHandle(::GetModuleHandleW(nullptr)); }

ScreenInfo Win32Platform::Screen() {
  ScreenInfo screen;
  if (const WindowDc dc(nullptr); dc) {
    const int dpiX = ::GetDeviceCaps(dc.get(), LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(dc.get(), LOGPIXELSY);
    if (dpiX > 0) screen.twipsPerPixelX = std::max(1, 1440 / dpiX);
    if (dpiY > 0) screen.twipsPerPixelY = std::max(1, 1440 / dpiY);
  }
  screen.widthTwips = ::GetSystemMetrics(SM_CXSCREEN) * screen.twipsPerPixelX;
  screen.heightTwips = ::GetSystemMetrics(SM_CYSCREEN) * screen.twipsPerPixelY;
  return screen;
}

std::uint64_t Win32Platform::TickCount() { return ::GetTickCount64(); }

bool Win32Platform::QueryUnbiasedInterruptTime(std::uint64_t& unbiasedTime) {
  ULONGLONG time = 0;
  if (!::QueryUnbiasedInterruptTime(&time)) return false;
  unbiasedTime = time;
  return true;
}

}  // namespace tarnby
