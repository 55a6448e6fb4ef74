#include "win32/win32_platform.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "win32/utf16.h"

namespace tarnby {

namespace {

template <class T>
T As(Handle handle) {
  return reinterpret_cast<T>(handle);
}

template <class T>
Handle ToHandle(T value) {
  return reinterpret_cast<Handle>(value);
}

HWND Hwnd(Handle handle) { return As<HWND>(handle); }

// The core passes the predefined hives as their 32-bit codes; on 64-bit
// Windows the real handles are those codes sign-extended.
HKEY Hkey(Handle key) {
  if (key >= 0x80000000u && key <= 0x800000FFu)
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<std::uint32_t>(key))));
  return As<HKEY>(key);
}

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

// The A-call contract for char buffers: the length written without the NUL,
// or the size needed (NUL included) when the buffer is too small; an empty
// text is a failure, 0.
std::uint32_t CopyOut(const std::string& text, char* buffer, std::uint32_t size) {
  if (text.empty()) return 0;
  if (text.size() + 1 > size || buffer == nullptr) return static_cast<std::uint32_t>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<std::uint32_t>(text.size());
}

// Copies as much of text as fits with its NUL, never cutting a UTF-8 character.
void CopyTruncated(const std::string& text, char* buffer, std::uint32_t size) {
  if (buffer == nullptr || size == 0) return;
  std::size_t length = std::min<std::size_t>(text.size(), size - 1);
  if (length < text.size())
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

// What a dialog leaves in a caller's buffer: the text and its NUL over the
// start, the rest of the original buffer behind it.
std::string WrittenOver(std::string buffer, const std::string& text) {
  if (buffer.size() < text.size() + 1) buffer.resize(text.size() + 1, '\0');
  std::copy(text.begin(), text.end(), buffer.begin());
  buffer[text.size()] = '\0';
  return buffer;
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

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Reads a whole value, however large, as the registry stores it.
long ReadRegValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& bytes) {
  bytes.assign(256, 0);
  DWORD size = static_cast<DWORD>(bytes.size());
  long result = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size);
  for (int attempt = 0; result == ERROR_MORE_DATA && attempt < 16; ++attempt) {
    bytes.assign(size, 0);
    result = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size);
  }
  if (result == ERROR_SUCCESS) bytes.resize(size);
  return result;
}

void FillFindData(const WIN32_FIND_DATAW& found, FindData& data) {
  data.dwFileAttributes = found.dwFileAttributes;
  data.cFileName = Utf8(UpToNul({found.cFileName, MAX_PATH}));
}

}  // namespace

Win32Platform::Win32Platform(NativeHost& host) : host_(host) {}

Win32Platform::~Win32Platform() {
  if (instanceMutex_ != nullptr) ::CloseHandle(instanceMutex_);
}

// ------------------------------------------------------------------ registry

long Win32Platform::RegOpenKey(Handle key, const std::string& subKey, Handle* result) {
  HKEY opened = nullptr;
  const long status = ::RegOpenKeyW(Hkey(key), Wide(subKey).c_str(), &opened);
  if (result) *result = status == ERROR_SUCCESS ? ToHandle(opened) : 0;
  return status;
}

long Win32Platform::RegOpenKeyEx(Handle key, const std::string& subKey, std::uint32_t options,
                                 std::uint32_t access, Handle* result) {
  HKEY opened = nullptr;
  const long status = ::RegOpenKeyExW(Hkey(key), Wide(subKey).c_str(), options, access, &opened);
  if (result) *result = status == ERROR_SUCCESS ? ToHandle(opened) : 0;
  return status;
}

long Win32Platform::RegCreateKey(Handle key, const std::string& subKey, Handle* result) {
  HKEY opened = nullptr;
  const long status = ::RegCreateKeyW(Hkey(key), Wide(subKey).c_str(), &opened);
  if (result) *result = status == ERROR_SUCCESS ? ToHandle(opened) : 0;
  return status;
}

// String data is UTF-16 in the registry and UTF-8 in the core. The whole
// stored value is converted, NULs included, so a value written without a
// terminating NUL or with NULs inside reaches the core byte for byte, and
// sizes are the UTF-8 sizes.
long Win32Platform::RegQueryValueEx(Handle key, const std::string& valueName, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  DWORD storedType = REG_NONE;
  std::vector<BYTE> stored;
  const long status = ReadRegValue(Hkey(key), Wide(valueName), storedType, stored);
  if (status != ERROR_SUCCESS) return status;
  if (type) *type = storedType;
  std::string converted;
  const std::uint8_t* bytes = stored.data();
  std::size_t length = stored.size();
  if (IsStringType(storedType)) {
    std::wstring text(stored.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), stored.data(), text.size() * sizeof(wchar_t));
    converted = Utf8(text);
    bytes = reinterpret_cast<const std::uint8_t*>(converted.data());
    length = converted.size();
  }
  const auto needed = static_cast<std::uint32_t>(length);
  if (data == nullptr) {
    if (size) *size = needed;
    return ERROR_SUCCESS;
  }
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (length > 0) std::memcpy(data, bytes, length);
  *size = needed;
  return ERROR_SUCCESS;
}

long Win32Platform::RegSetValueEx(Handle key, const std::string& valueName, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
  if (data == nullptr) size = 0;
  if (IsStringType(type)) {
    const std::wstring text = Wide({reinterpret_cast<const char*>(data), size});
    return ::RegSetValueExW(Hkey(key), Wide(valueName).c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() * sizeof(wchar_t)));
  }
  return ::RegSetValueExW(Hkey(key), Wide(valueName).c_str(), 0, type, data, size);
}

long Win32Platform::RegCloseKey(Handle key) { return ::RegCloseKey(Hkey(key)); }

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

std::string Win32Platform::CurrentDirectory() {
  return Utf8(ReadWideText([](wchar_t* b, DWORD n) { return ::GetCurrentDirectoryW(n, b); }));
}

Handle Win32Platform::InstanceHandle() { return ToHandle(::GetModuleHandleW(nullptr)); }

ScreenInfo Win32Platform::Screen() {
  ScreenInfo screen;
  HDC dc = ::GetDC(nullptr);
  if (dc != nullptr) {
    const int dpiX = ::GetDeviceCaps(dc, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    if (dpiX > 0) screen.twipsPerPixelX = std::max(1, 1440 / dpiX);
    if (dpiY > 0) screen.twipsPerPixelY = std::max(1, 1440 / dpiY);
  }
  screen.widthTwips = ::GetSystemMetrics(SM_CXSCREEN) * screen.twipsPerPixelX;
  screen.heightTwips = ::GetSystemMetrics(SM_CYSCREEN) * screen.twipsPerPixelY;
  return screen;
}

std::uint64_t Win32Platform::TickCount() { return ::GetTickCount64(); }

// ------------------------------------------------------------------- process

bool Win32Platform::AnotherInstanceRunning() {
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"Local\\Tarnby.SingleInstance");
  const DWORD error = ::GetLastError();
  // A copy started with other rights may see the mutex without being let in.
  if (mutex == nullptr) return error == ERROR_ACCESS_DENIED;
  const bool existed = error == ERROR_ALREADY_EXISTS;
  if (existed || instanceMutex_ != nullptr) {
    ::CloseHandle(mutex);
    return true;
  }
  instanceMutex_ = mutex;
  return false;
}

void Win32Platform::ExitProcess(std::uint32_t code) { ::ExitProcess(code); }

std::uint32_t Win32Platform::Shell(const std::string& commandLine, int windowState) {
  std::wstring command = Wide(commandLine);
  if (command.empty()) return 0;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowState);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
    return 0;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return process.dwProcessId;
}

bool Win32Platform::EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool enabled = ::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  if (enabled) {
    // Succeeds even when the token lacks the privilege; the last error tells.
    enabled = ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
              ::GetLastError() == ERROR_SUCCESS;
  }
  ::CloseHandle(token);
  return enabled;
}

// ------------------------------------------------------- windows and input

bool Win32Platform::SetWindowPos(Handle hwnd, Handle insertAfter, int x, int y, int cx, int cy,
                                 std::uint32_t flags) {
  return ::SetWindowPos(Hwnd(hwnd), Hwnd(insertAfter), x, y, cx, cy, flags);
}

bool Win32Platform::SetForegroundWindow(Handle hwnd) { return ::SetForegroundWindow(Hwnd(hwnd)); }

bool Win32Platform::ReleaseCapture() { return ::ReleaseCapture(); }

std::intptr_t Win32Platform::SendMessage(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
  return ::SendMessageW(Hwnd(hwnd), msg, wParam, lParam);
}

bool Win32Platform::PostMessage(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  return ::PostMessageW(Hwnd(hwnd), msg, wParam, lParam);
}

Handle Win32Platform::FindWindow(const char* className, const char* windowName) {
  const std::wstring cls = className ? Wide(className) : std::wstring();
  const std::wstring title = windowName ? Wide(windowName) : std::wstring();
  return ToHandle(::FindWindowW(className ? cls.c_str() : nullptr, windowName ? title.c_str() : nullptr));
}

std::intptr_t Win32Platform::SetWindowLongPtr(Handle hwnd, int index, std::intptr_t value) {
  return ::SetWindowLongPtrW(Hwnd(hwnd), index, value);
}

std::intptr_t Win32Platform::CallWindowProc(std::intptr_t previous, Handle hwnd, std::uint32_t msg,
                                            std::uintptr_t wParam, std::intptr_t lParam) {
  return ::CallWindowProcW(reinterpret_cast<WNDPROC>(previous), Hwnd(hwnd), msg, wParam, lParam);
}

bool Win32Platform::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
  return ::ExitWindowsEx(flags, reserved);
}

std::int16_t Win32Platform::GetAsyncKeyState(int virtualKey) { return ::GetAsyncKeyState(virtualKey); }

void Win32Platform::keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                                std::uintptr_t extraInfo) {
  ::keybd_event(virtualKey, scanCode, flags, extraInfo);
}

int Win32Platform::MessageBox(const std::string& text, const std::string& title, std::uint32_t style) {
  // Tarnby's windows are always on top: a box that belonged to none of them
  // could open behind them, and the program would seem to hang. The window the
  // user is working in owns the box, which keeps it above that window and
  // keeps that window still until the box is answered.
  HWND owner = ::GetActiveWindow();
  if (owner != nullptr && !::IsWindowVisible(owner)) owner = nullptr;
  return ::MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), style | MB_TOPMOST | MB_SETFOREGROUND);
}

void Win32Platform::Beep() { ::MessageBeep(0xFFFFFFFF); }

void Win32Platform::DoEvents() { host_.DoEvents(); }

// ------------------------------------------------------- icons and drawing

Handle Win32Platform::ExtractAssociatedIcon(Handle instance, const std::string& path, std::uint16_t index) {
  // The call may write the path of the icon's file back, so it gets a full buffer.
  std::wstring buffer = Wide(path);
  buffer.resize(std::max<std::size_t>(buffer.size() + 1, MAX_PATH), L'\0');
  WORD icon = index;
  return ToHandle(::ExtractAssociatedIconW(As<HINSTANCE>(instance), buffer.data(), &icon));
}

Handle Win32Platform::GetDC(Handle hwnd) { return ToHandle(::GetDC(Hwnd(hwnd))); }

int Win32Platform::ReleaseDC(Handle hwnd, Handle dc) { return ::ReleaseDC(Hwnd(hwnd), As<HDC>(dc)); }

bool Win32Platform::DrawIcon(Handle dc, int x, int y, Handle icon) {
  return ::DrawIcon(As<HDC>(dc), x, y, As<HICON>(icon));
}

bool Win32Platform::DestroyIcon(Handle icon) { return ::DestroyIcon(As<HICON>(icon)); }

void Win32Platform::ClearPicture(Control& picture) { host_.ClearPicture(picture); }

TextSize Win32Platform::MeasureText(const Control& label) { return host_.MeasureText(label); }

// --------------------------------------------------------------------- shell

bool Win32Platform::Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = Hwnd(data.hWnd);
  record.uID = data.uID;
  record.uFlags = data.uFlags;
  record.uCallbackMessage = data.uCallbackMessage;
  record.hIcon = As<HICON>(data.hIcon);
  // The core's tip is the text, a NUL and padding; the shell wants the text.
  const std::wstring wide = Wide(data.szTip);
  std::wstring_view tip = UpToNul(wide);
  std::size_t length = std::min(tip.size(), std::size(record.szTip) - 1);
  if (length < tip.size() && length > 0 && IS_HIGH_SURROGATE(tip[length - 1])) --length;
  std::copy_n(tip.data(), length, record.szTip);
  return ::Shell_NotifyIconW(message, &record);
}

std::intptr_t Win32Platform::ShellExecute(Handle owner, const std::string& operation, const std::string& file,
                                          const std::string& parameters, const std::string& directory, int show) {
  const std::wstring op = Wide(operation), path = Wide(file), args = Wide(parameters), dir = Wide(directory);
  return reinterpret_cast<std::intptr_t>(
      ::ShellExecuteW(Hwnd(owner), OrNull(op), path.c_str(), OrNull(args), OrNull(dir), show));
}

void Win32Platform::SHAddToRecentDocs(std::uint32_t flags, const void* pv) {
  // A path comes as UTF-8 text; hand it on as a wide path.
  if (pv != nullptr && flags == w::kShardPathA) {
    const std::wstring path = Wide(static_cast<const char*>(pv));
    ::SHAddToRecentDocs(SHARD_PATHW, path.c_str());
    return;
  }
  ::SHAddToRecentDocs(flags, pv);
}

long Win32Platform::SHGetSpecialFolderLocation(Handle owner, int folder, Handle* idList) {
  PIDLIST_ABSOLUTE list = nullptr;
  const HRESULT result = ::SHGetSpecialFolderLocation(Hwnd(owner), folder, &list);
  if (idList) *idList = ToHandle(list);
  return result;
}

bool Win32Platform::SHGetPathFromIDList(Handle idList, char* path) {
  wchar_t buffer[MAX_PATH] = {};
  if (path == nullptr || !::SHGetPathFromIDListW(As<PCIDLIST_ABSOLUTE>(idList), buffer)) return false;
  const std::string text = Utf8(UpToNul({buffer, MAX_PATH}));
  if (text.size() + 1 > MAX_PATH) return false;  // does not fit the caller's 260 bytes
  std::memcpy(path, text.c_str(), text.size() + 1);
  return true;
}

void Win32Platform::CoTaskMemFree(Handle memory) { ::CoTaskMemFree(As<void*>(memory)); }

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

// ------------------------------------------------ dialogs, sound, network

bool Win32Platform::GetOpenFileName(OpenFileName& request) {
  // The filter is pairs of NUL-terminated strings ending in an empty one;
  // the extra NULs close the list whatever the core passed.
  std::wstring filter = Wide(request.lpstrFilter);
  if (!filter.empty()) filter.append(2, L'\0');
  std::vector<wchar_t> file(std::max<std::uint32_t>(request.nMaxFile, 1), L'\0');
  const std::wstring initialFile = Wide(request.lpstrFile);
  std::wstring_view initial = UpToNul(initialFile);
  // A name of nothing but blanks offers no file; handed to the dialog as it
  // is, Open pressed on it takes the dialog (and us) down under Wine.
  if (initial.find_first_not_of(L' ') == std::wstring_view::npos) initial = {};
  std::copy_n(initial.data(), std::min(initial.size(), file.size() - 1), file.data());
  std::vector<wchar_t> fileTitle(request.nMaxFileTitle, L'\0');
  const std::wstring initialDir = Wide(request.lpstrInitialDir);
  const std::wstring title = Wide(request.lpstrTitle);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Hwnd(request.hwndOwner);
  dialog.hInstance = As<HINSTANCE>(request.hInstance);
  dialog.lpstrFilter = OrNull(filter);
  dialog.nFilterIndex = request.nFilterIndex;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrFileTitle = fileTitle.empty() ? nullptr : fileTitle.data();
  dialog.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  dialog.lpstrInitialDir = OrNull(initialDir);
  dialog.lpstrTitle = OrNull(title);
  dialog.Flags = request.Flags;
  if (!::GetOpenFileNameW(&dialog)) return false;

  request.lpstrFile = WrittenOver(request.lpstrFile, Utf8(UpToNul({file.data(), file.size()})));
  if (!fileTitle.empty())
    request.lpstrFileTitle =
        WrittenOver(request.lpstrFileTitle, Utf8(UpToNul({fileTitle.data(), fileTitle.size()})));
  request.nFilterIndex = dialog.nFilterIndex;
  request.Flags = dialog.Flags;
  return true;
}

bool Win32Platform::PlaySound(const std::string& sound, Handle module, std::uint32_t flags) {
  // No name stops whatever is playing.
  const std::wstring name = Wide(sound);
  return ::PlaySoundW(OrNull(name), As<HMODULE>(module), flags);
}

std::uint32_t Win32Platform::waveOutGetNumDevs() { return ::waveOutGetNumDevs(); }

std::uint32_t Win32Platform::mciSendString(const std::string& command, char* returnBuffer,
                                           std::uint32_t returnLength, Handle callback) {
  std::vector<wchar_t> answer(returnBuffer != nullptr ? returnLength : 0, L'\0');
  const MCIERROR result = ::mciSendStringW(Wide(command).c_str(), answer.empty() ? nullptr : answer.data(),
                                           static_cast<UINT>(answer.size()), Hwnd(callback));
  if (!answer.empty()) CopyTruncated(Utf8(UpToNul({answer.data(), answer.size()})), returnBuffer, returnLength);
  return result;
}

bool Win32Platform::InternetAutodialHangup(std::uint32_t reserved) { return ::InternetAutodialHangup(reserved); }

// ------------------------------------------------------------ native windows

void Win32Platform::CreateFormWindow(Form& form) { host_.CreateFormWindow(form); }
void Win32Platform::DestroyFormWindow(Form& form) { host_.DestroyFormWindow(form); }
void Win32Platform::FormChanged(Form& form) { host_.FormChanged(form); }
void Win32Platform::ControlChanged(Control& control) { host_.ControlChanged(control); }
void Win32Platform::TimerChanged(Timer& timer) { host_.TimerChanged(timer); }
int Win32Platform::TrackPopupMenu(Menu& menu, Handle owner) { return host_.TrackPopupMenu(menu, owner); }

}  // namespace tarnby
