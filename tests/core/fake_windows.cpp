#include "core/fake_windows.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

namespace tarnby {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Hex(std::uintptr_t value) {
  std::ostringstream out;
  out << "0x" << std::hex << value;
  return out.str();
}

// Copies text and its NUL into a char buffer the way the A calls do: the length
// written, or the size needed when it does not fit.
std::uint32_t CopyOut(const std::string& text, char* buffer, std::uint32_t size) {
  if (text.size() + 1 > size) return static_cast<std::uint32_t>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<std::uint32_t>(text.size());
}

bool WildcardMatch(const char* pattern, const char* name) {
  if (*pattern == '\0') return *name == '\0';
  if (*pattern == '*') return WildcardMatch(pattern + 1, name) || (*name && WildcardMatch(pattern, name + 1));
  if (*name == '\0') return false;
  if (*pattern == '?' || std::tolower(static_cast<unsigned char>(*pattern)) ==
                             std::tolower(static_cast<unsigned char>(*name)))
    return WildcardMatch(pattern + 1, name + 1);
  return false;
}

std::string Parent(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Trimmed(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

FakeWindows::FakeWindows() {
  SetVersion(Version::Win98);
  AddFolder("C:\\");
  AddFolder(windowsDir);
  AddFolder(systemDir);
  AddFolder(*tempPath);
  AddFolder(programFolder);
  AddFolder(*recentFolder);
}

FakeWindows::~FakeWindows() = default;

// ------------------------------------------------------------------ registry

std::string FakeWindows::KeyPath(Handle hive, const std::string& key) {
  std::string path = Hex(hive);
  if (!key.empty()) path += "\\" + Lower(key);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

void FakeWindows::SetRegValue(Handle hive, const std::string& key, const std::string& name, std::uint32_t type,
                              std::vector<std::uint8_t> data) {
  const std::string path = KeyPath(hive, key);
  Key& k = keys_[path];
  k.path = path;
  auto found = k.values.find(Lower(name));
  const std::string spelling = found == k.values.end() ? name : found->second.first;
  k.values[Lower(name)] = {spelling, RegValue{type, std::move(data)}};
}

void FakeWindows::SetRegString(Handle hive, const std::string& key, const std::string& name, const std::string& text,
                               bool withNul) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  if (withNul) data.push_back(0);
  SetRegValue(hive, key, name, w::kRegSz, std::move(data));
}

void FakeWindows::SetRegDword(Handle hive, const std::string& key, const std::string& name, std::uint32_t value) {
  std::vector<std::uint8_t> data(4);
  std::memcpy(data.data(), &value, 4);
  SetRegValue(hive, key, name, w::kRegDword, std::move(data));
}

std::optional<FakeWindows::RegValue> FakeWindows::GetRegValue(Handle hive, const std::string& key,
                                                               const std::string& name) const {
  auto k = keys_.find(KeyPath(hive, key));
  if (k == keys_.end()) return std::nullopt;
  auto v = k->second.values.find(Lower(name));
  if (v == k->second.values.end()) return std::nullopt;
  return v->second.second;
}

std::optional<std::string> FakeWindows::GetRegString(Handle hive, const std::string& key,
                                                     const std::string& name) const {
  auto value = GetRegValue(hive, key, name);
  if (!value || value->type != w::kRegSz) return std::nullopt;
  std::string text(value->data.begin(), value->data.end());
  return text.substr(0, text.find('\0'));
}

bool FakeWindows::KeyExists(Handle hive, const std::string& key) const {
  return keys_.count(KeyPath(hive, key)) > 0;
}

std::string FakeWindows::StoredName(Handle hive, const std::string& key, const std::string& name) const {
  auto k = keys_.find(KeyPath(hive, key));
  if (k == keys_.end()) return {};
  auto v = k->second.values.find(Lower(name));
  return v == k->second.values.end() ? std::string() : v->second.first;
}

FakeWindows::Key* FakeWindows::OpenedKey(Handle key) {
  std::string path;
  if (key == w::kHkeyCurrentUser || key == w::kHkeyLocalMachine) {
    path = KeyPath(key, "");
  } else {
    auto open = openKeys_.find(key);
    if (open == openKeys_.end()) return nullptr;
    path = open->second.first;
  }
  Key& k = keys_[path];
  k.path = path;
  return &k;
}

long FakeWindows::OpenKeyFor(Handle parent, const std::string& subKey, bool create, bool write, Handle* result) {
  std::string base;
  if (parent == w::kHkeyCurrentUser || parent == w::kHkeyLocalMachine) {
    base = KeyPath(parent, "");
  } else {
    auto open = openKeys_.find(parent);
    if (open == openKeys_.end()) return 6;  // ERROR_INVALID_HANDLE
    base = open->second.first;
  }
  std::string path = subKey.empty() ? base : base + "\\" + Lower(subKey);
  while (path.back() == '\\') path.pop_back();
  const bool machine = path.rfind(Hex(w::kHkeyLocalMachine), 0) == 0;
  if (write && !(machine ? localMachineWritable : currentUserWritable)) return w::kErrorAccessDenied;
  if (!keys_.count(path)) {
    if (!create) return w::kErrorFileNotFound;
    // Create the key and every missing parent.
    for (std::size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', slash + 1))
      keys_[path.substr(0, slash)].path = path.substr(0, slash);
    keys_[path].path = path;
  }
  const Handle handle = nextHandle_++;
  openKeys_[handle] = {path, write};
  *result = handle;
  return w::kErrorSuccess;
}

long FakeWindows::RegOpenKey(Handle key, const std::string& subKey, Handle* result) {
  Log("RegOpenKey(" + Hex(key) + ", " + subKey + ")");
  // RegOpenKey asks for full access and falls back to reading, as Windows does.
  if (OpenKeyFor(key, subKey, false, true, result) == w::kErrorSuccess) return w::kErrorSuccess;
  return OpenKeyFor(key, subKey, false, false, result);
}

long FakeWindows::RegOpenKeyEx(Handle key, const std::string& subKey, std::uint32_t, std::uint32_t access,
                               Handle* result) {
  Log("RegOpenKeyEx(" + Hex(key) + ", " + subKey + ", " + Hex(access) + ")");
  const bool write = (access & 0x0006u) != 0;  // KEY_SET_VALUE | KEY_CREATE_SUB_KEY
  return OpenKeyFor(key, subKey, false, write, result);
}

long FakeWindows::RegCreateKey(Handle key, const std::string& subKey, Handle* result) {
  Log("RegCreateKey(" + Hex(key) + ", " + subKey + ")");
  return OpenKeyFor(key, subKey, true, true, result);
}

long FakeWindows::RegQueryValueEx(Handle key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                                  std::uint32_t* size) {
  Log("RegQueryValueEx(" + valueName + ")");
  Key* k = OpenedKey(key);
  if (k == nullptr) return 6;
  auto v = k->values.find(Lower(valueName));
  if (v == k->values.end()) return w::kErrorFileNotFound;
  const RegValue& value = v->second.second;
  if (type) *type = value.type;
  const auto needed = static_cast<std::uint32_t>(value.data.size());
  if (data == nullptr) {
    if (size) *size = needed;
    return w::kErrorSuccess;
  }
  if (size == nullptr) return 87;  // ERROR_INVALID_PARAMETER
  if (*size < needed) {
    *size = needed;
    return w::kErrorMoreData;
  }
  std::copy(value.data.begin(), value.data.end(), data);
  *size = needed;
  return w::kErrorSuccess;
}

long FakeWindows::RegSetValueEx(Handle key, const std::string& valueName, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t size) {
  std::string shown(reinterpret_cast<const char*>(data), size);
  if (!shown.empty() && shown.back() == '\0') shown.pop_back();
  Log("RegSetValueEx(" + valueName + ", " + std::to_string(type) + ", " + shown + ")");
  auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return 6;
  if (!open->second.second) return w::kErrorAccessDenied;
  Key& k = keys_[open->second.first];
  auto found = k.values.find(Lower(valueName));
  const std::string spelling = found == k.values.end() ? valueName : found->second.first;
  k.values[Lower(valueName)] = {spelling, RegValue{type, std::vector<std::uint8_t>(data, data + size)}};
  return w::kErrorSuccess;
}

long FakeWindows::RegDeleteValue(Handle key, const std::string& valueName) {
  Log("RegDeleteValue(" + valueName + ")");
  auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return 6;
  if (!open->second.second) return w::kErrorAccessDenied;
  return keys_[open->second.first].values.erase(Lower(valueName)) ? w::kErrorSuccess : w::kErrorFileNotFound;
}

long FakeWindows::RegCloseKey(Handle key) {
  Log("RegCloseKey");
  return openKeys_.erase(key) ? w::kErrorSuccess : 6;
}

// ------------------------------------------------------------ system facts

void FakeWindows::SetVersion(Version v) {
  version = OsVersionInfo{};
  switch (v) {
    case Version::Win95: version = {148, 4, 0, 950, w::kPlatformWin32Windows, ""}; break;
    case Version::Win98: version = {148, 4, 10, 1998, w::kPlatformWin32Windows, ""}; break;
    case Version::WinMe: version = {148, 4, 90, 3000, w::kPlatformWin32Windows, ""}; break;
    case Version::WinNT4: version = {148, 4, 0, 1381, w::kPlatformWin32Nt, "Service Pack 6"}; break;
    case Version::WinXP: version = {148, 5, 1, 2600, w::kPlatformWin32Nt, "Service Pack 3"}; break;
    case Version::Win10: version = {148, 10, 0, 19045, w::kPlatformWin32Nt, ""}; break;
  }
}

bool FakeWindows::GetVersionEx(OsVersionInfo& info) {
  Log("GetVersionEx(" + std::to_string(info.dwOSVersionInfoSize) + ")");
  if (info.dwOSVersionInfoSize != 148) return false;
  info = version;
  return true;
}

bool FakeWindows::GetUserName(char* buffer, std::uint32_t* size) {
  Log("GetUserName(" + std::to_string(*size) + ")");
  if (!userName || userName->size() + 1 > *size) return false;
  std::memcpy(buffer, userName->c_str(), userName->size() + 1);
  *size = static_cast<std::uint32_t>(userName->size() + 1);
  return true;
}

std::uint32_t FakeWindows::GetWindowsDirectory(char* buffer, std::uint32_t size) {
  Log("GetWindowsDirectory(" + std::to_string(size) + ")");
  return windowsDir.empty() ? 0 : CopyOut(windowsDir, buffer, size);
}

std::uint32_t FakeWindows::GetSystemDirectory(char* buffer, std::uint32_t size) {
  Log("GetSystemDirectory(" + std::to_string(size) + ")");
  return systemDir.empty() ? 0 : CopyOut(systemDir, buffer, size);
}

std::uint32_t FakeWindows::GetTempPath(std::uint32_t size, char* buffer) {
  Log("GetTempPath(" + std::to_string(size) + ")");
  return tempPath ? CopyOut(*tempPath, buffer, size) : 0;
}

bool FakeWindows::AnotherInstanceRunning() {
  Log("AnotherInstanceRunning");
  if (anotherInstance || mutexTaken_) return true;
  mutexTaken_ = true;
  return false;
}

std::uint32_t FakeWindows::SetThreadExecutionState(std::uint32_t flags) {
  Log("SetThreadExecutionState(" + Hex(flags) + ")");
  const std::uint32_t before = executionState;
  executionState = flags;
  return before;
}

void FakeWindows::PublishInstanceWindow(Handle hwnd) {
  Log("PublishInstanceWindow(" + Hex(hwnd) + ")");
  publishedWindow = hwnd;
}

Handle FakeWindows::InstanceWindow() { return runningCopy ? 0xC0DE : 0; }

bool FakeWindows::SendCopyData(Handle hwnd, std::uintptr_t kind, const std::string& data, std::intptr_t* result,
                               std::string* reply) {
  std::string shown = data;
  for (char& c : shown)
    if (c == '\0') c = ' ';
  Log("SendCopyData(" + Hex(hwnd) + ", " + Hex(kind) + ", " + shown + ")");
  if (!runningCopy || hwnd != 0xC0DE) return false;
  const std::intptr_t answer = runningCopy(kind, data);
  if (result) *result = answer;
  if (reply) *reply = runningCopyReply;
  return true;
}

void FakeWindows::ReplyMessage(std::intptr_t result) { Log("ReplyMessage(" + std::to_string(result) + ")"); }

bool FakeWindows::ReplyText(const std::string& text) {
  Log("ReplyText(" + text + ")");
  return senderTakesText;
}

bool FakeWindows::WriteParentConsole(const std::string& line) {
  console.push_back(line);
  return true;
}

bool FakeWindows::WriteParentConsoleError(const std::string& text) {
  consoleErrors.push_back(text);
  return true;
}

void FakeWindows::LetGoOfConsole() { Log("LetGoOfConsole"); }

void FakeWindows::NewProcess() {
  mutexTaken_ = false;
  processEnded = false;
  trayIcons.clear();
  windowProcs.clear();
  timers_.clear();
  forms_.clear();
}

void FakeWindows::ExitProcess(std::uint32_t code) {
  Log("ExitProcess(" + std::to_string(code) + ")");
  processEnded = true;
  exitCode = code;
}

std::uint32_t FakeWindows::Shell(const std::string& commandLine, int windowState) {
  Log("Shell(" + commandLine + ", " + std::to_string(windowState) + ")");
  return unstartable.count(Lower(commandLine)) ? 0 : 1234;
}

bool FakeWindows::EnableShutdownPrivilege() {
  Log("EnableShutdownPrivilege");
  ++shutdownPrivilegeRequests;
  return true;
}

bool FakeWindows::IsPwrSuspendAllowed() {
  Log("IsPwrSuspendAllowed");
  return canSleep;
}

bool FakeWindows::IsPwrHibernateAllowed() {
  Log("IsPwrHibernateAllowed");
  return canHibernate;
}

bool FakeWindows::SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) {
  Log("SetSuspendState(" + std::to_string(hibernate) + ", " + std::to_string(force) + ", " +
      std::to_string(disableWakeEvent) + ")");
  return !suspendRefused;
}

long FakeWindows::CallNtPowerInformation(std::uint32_t level, bool* platformAoAc) {
  Log("CallNtPowerInformation(" + std::to_string(level) + ")");
  if (platformAoAc) *platformAoAc = aoAc;
  return level == w::kScreenOff ? screenOffStatus : 0;
}

bool FakeWindows::QueryUnbiasedInterruptTime(std::uint64_t& unbiasedTime) {
  unbiasedTime = (now - asleep) * 10000;
  return true;
}

// ----------------------------------------------------------------- windows

bool FakeWindows::SetWindowPos(Handle hwnd, Handle insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) {
  Log("SetWindowPos(" + Hex(hwnd) + ", " + std::to_string(static_cast<std::intptr_t>(insertAfter)) + ", " +
      std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(cx) + ", " + std::to_string(cy) + ", " +
      std::to_string(flags) + ")");
  return true;
}

void FakeWindows::BringWindowForward(Handle hwnd) { Log("BringWindowForward(" + Hex(hwnd) + ")"); }

bool FakeWindows::SetForegroundWindow(Handle hwnd) {
  Log("SetForegroundWindow(" + Hex(hwnd) + ")");
  return true;
}

bool FakeWindows::ShowWindow(Handle hwnd, int showCommand) {
  Log("ShowWindow(" + Hex(hwnd) + ", " + std::to_string(showCommand) + ")");
  return true;
}

bool FakeWindows::ReleaseCapture() {
  Log("ReleaseCapture");
  return true;
}

std::intptr_t FakeWindows::SendMessage(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  Log("SendMessage(" + Hex(hwnd) + ", " + Hex(msg) + ", " + Hex(wParam) + ", " + std::to_string(lParam) + ")");
  return 0;
}

bool FakeWindows::PostMessage(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  Log("PostMessage(" + Hex(hwnd) + ", " + Hex(msg) + ", " + std::to_string(wParam) + ", " + std::to_string(lParam) +
      ")");
  return hwnd != 0;
}

Handle FakeWindows::FindWindow(const char* className, const char* windowName) {
  Log(std::string("FindWindow(") + (className ? className : "null") + ", " + (windowName ? windowName : "null") +
      ")");
  return className && std::string(className) == "Shell_TrayWnd" ? 0x7A5C : 0;
}

std::intptr_t FakeWindows::SetWindowLongPtr(Handle hwnd, int index, std::intptr_t value) {
  Log("SetWindowLongPtr(" + Hex(hwnd) + ", " + std::to_string(index) + ")");
  if (index != w::kGwlWndProc) return 0;
  auto [it, added] = windowProcs.try_emplace(hwnd, 0xDEF0);
  const std::intptr_t previous = it->second;
  it->second = value;
  return previous;
}

std::intptr_t FakeWindows::CallWindowProc(std::intptr_t previous, Handle hwnd, std::uint32_t msg, std::uintptr_t,
                                          std::intptr_t) {
  Log("CallWindowProc(" + Hex(static_cast<std::uintptr_t>(previous)) + ", " + Hex(hwnd) + ", " + Hex(msg) + ")");
  return 77;
}

bool FakeWindows::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
  Log("ExitWindowsEx(" + std::to_string(flags) + ", " + (reserved == 0xFFFFFFFFu ? "0xFFFFFFFF" : std::to_string(reserved)) + ")");
  return true;
}

bool FakeWindows::LockWorkStation() {
  Log("LockWorkStation");
  return true;
}

std::int16_t FakeWindows::GetAsyncKeyState(int virtualKey) {
  keyStateReads.push_back(virtualKey);
  return keysDown.count(virtualKey) ? static_cast<std::int16_t>(0x8000) : 0;
}

void FakeWindows::keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                              std::uintptr_t extraInfo) {
  Log("keybd_event(" + Hex(virtualKey) + ", " + std::to_string(scanCode) + ", " + std::to_string(flags) + ", " +
      std::to_string(extraInfo) + ")");
  if (flags & w::kKeyEventKeyUp)
    keysDown.erase(virtualKey);
  else
    keysDown.insert(virtualKey);
}

int FakeWindows::MessageBox(const std::string& text, const std::string& title, std::uint32_t style) {
  Log("MessageBox(" + text + ", " + title + ", " + std::to_string(style) + ")");
  messageBoxes.push_back({text, title, style});
  if (whileMessageBox) whileMessageBox(text);
  if (!messageBoxAnswers.empty()) {
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
  }
  return (style & 0xF) == w::kMbYesNo ? w::kIdNo : w::kIdOk;
}

void FakeWindows::Beep() { Log("Beep"); }

void FakeWindows::DoEvents() {
  Log("DoEvents");
  if (onDoEvents) onDoEvents();
  DeliverPosted();
}

// ----------------------------------------------------------------- drawing

Handle FakeWindows::ExtractAssociatedIcon(Handle, const std::string& path, std::uint16_t index) {
  Log("ExtractAssociatedIcon(" + path + ", " + std::to_string(index) + ")");
  if (iconless.count(Lower(path))) return 0;
  ++liveIcons;
  return nextHandle_++;
}

Handle FakeWindows::GetDC(Handle hwnd) { return hwnd ? hwnd + 0x100000 : 0; }

int FakeWindows::ReleaseDC(Handle, Handle) { return 1; }

bool FakeWindows::DrawIcon(Handle dc, int x, int y, Handle) {
  Log("DrawIcon(" + Hex(dc) + ", " + std::to_string(x) + ", " + std::to_string(y) + ")");
  ++drawnIcons;
  return true;
}

bool FakeWindows::DestroyIcon(Handle) {
  Log("DestroyIcon");
  --liveIcons;
  return true;
}

void FakeWindows::ClearPicture(Control& picture) { Log("ClearPicture(" + picture.name + ")"); }

TextSize FakeWindows::MeasureText(const Control& label) {
  const int perChar = 90 * label.font.points / 8;
  return {static_cast<int>(label.Caption().size()) * perChar, 240 * label.font.points / 8};
}

PixelScale FakeWindows::ScaleOf(Handle window) {
  const auto it = windowScales.find(window);
  return it != windowScales.end() ? it->second : PixelScale{screen.twipsPerPixelX, screen.twipsPerPixelY};
}

// ------------------------------------------------------------------- shell

bool FakeWindows::Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
  Log("Shell_NotifyIcon(" + std::to_string(message) + ", " + Hex(data.hWnd) + ")");
  const auto id = std::make_pair(data.hWnd, data.uID);
  if (message == w::kNimAdd) {
    if (!shellReady || trayIcons.count(id) || data.hWnd == 0) return false;
    trayIcons[id] = data;
    return true;
  }
  if (message == w::kNimDelete) return trayIcons.erase(id) > 0;
  if (message == w::kNimModify && trayIcons.count(id)) {
    // Only what the flags name changes.
    NotifyIconData& icon = trayIcons[id];
    if (data.uFlags & w::kNifMessage) icon.uCallbackMessage = data.uCallbackMessage;
    if (data.uFlags & w::kNifIcon) icon.hIcon = data.hIcon;
    if (data.uFlags & w::kNifTip) icon.szTip = data.szTip;
    if ((data.uFlags & w::kNifInfo) && !data.szInfo.empty())
      balloons.push_back({data.hWnd, data.szInfoTitle, data.szInfo, data.uFlags});
    return true;
  }
  return false;
}

std::intptr_t FakeWindows::ShellExecute(Handle owner, const std::string& operation, const std::string& file,
                                        const std::string& parameters, const std::string& directory, int show) {
  Log("ShellExecute(" + Hex(owner) + ", " + operation + ", " + file + ", " + parameters + ", " + directory + ", " +
      std::to_string(show) + ")");
  return unstartable.count(Lower(file)) ? 2 : 42;
}

void FakeWindows::SHAddToRecentDocs(std::uint32_t flags, const void* pv) {
  Log("SHAddToRecentDocs(" + std::to_string(flags) + ", " + (pv ? "data" : "null") + ")");
}

long FakeWindows::SHGetSpecialFolderLocation(Handle, int folder, Handle* idList) {
  if (folder == w::kCsidlRecent && recentFolder) {
    *idList = 0xC5D1;
  } else if (folder == w::kCsidlProfile && profileFolder) {
    *idList = 0xC5D2;
  } else {
    return static_cast<long>(0x80004005);  // E_FAIL
  }
  ++liveIdLists;
  return 0;
}

bool FakeWindows::SHGetPathFromIDList(Handle idList, char* path) {
  const std::optional<std::string>& folder =
      idList == 0xC5D1 ? recentFolder : idList == 0xC5D2 ? profileFolder : std::optional<std::string>();
  if (!folder || folder->size() >= 260) return false;
  std::memcpy(path, folder->c_str(), folder->size() + 1);
  return true;
}

void FakeWindows::CoTaskMemFree(Handle memory) {
  if (memory != 0) --liveIdLists;
}

long FakeWindows::SHGetKnownFolderPath(KnownFolder folder, std::uint32_t, Handle, std::string* path) {
  const auto found = knownFolders.find(folder);
  if (path) *path = found == knownFolders.end() ? std::string() : found->second;
  return found == knownFolders.end() ? static_cast<long>(0x80070002) : 0;  // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
}

// ------------------------------------------------------------------- files

void FakeWindows::AddFolder(const std::string& path) {
  const std::string p = Trimmed(path);
  files_[Lower(p)] = {p, w::kFileAttributeDirectory, false, {}};
}

void FakeWindows::AddFile(const std::string& path, std::uint32_t attributes, bool inUse) {
  files_[Lower(path)] = {path, attributes, inUse, {}};
}

void FakeWindows::SetFileContent(const std::string& path, const std::string& content) {
  auto it = files_.find(Lower(path));
  if (it == files_.end()) it = files_.emplace(Lower(path), File{path, w::kFileAttributeArchive, false, {}}).first;
  it->second.content = content;
}

std::string FakeWindows::ReadFileStart(const std::string& path, std::uint32_t count) {
  Log("ReadFileStart(" + path + ", " + std::to_string(count) + ")");
  const auto it = files_.find(Lower(path));
  if (it == files_.end() || (it->second.attributes & w::kFileAttributeDirectory)) return {};
  return it->second.content.substr(0, count);
}

void FakeWindows::AddLink(const std::string& path, const std::string& target) {
  files_[Lower(path)] = {path, w::kFileAttributeArchive, false, {}};  // shown as a plain file, as Wine shows one
  links_[Lower(path)] = target;
}

std::string FakeWindows::GetEnvironmentVariable(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto found = environment.find(upper);
  return found == environment.end() ? std::string() : found->second;
}

// Resolves a path as the system does: prefixes, the current folder for
// relative forms, ".", "..", doubled separators and links; then the folder
// or file as it is stored, or nothing.
std::string FakeWindows::FinalPath(const std::string& path) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '/', '\\');
  if (p.rfind("\\\\?\\UNC\\", 0) == 0) p = "\\" + p.substr(7);
  else if (p.rfind("\\\\?\\", 0) == 0 || p.rfind("\\\\.\\", 0) == 0) p = p.substr(4);
  const bool unc = p.rfind("\\\\", 0) == 0;
  if (!unc) {
    if (p.size() >= 2 && p[1] == ':') {
      if (p.size() == 2 || p[2] != '\\')
        p = (Lower(p.substr(0, 2)) == Lower(currentDir.substr(0, 2)) ? currentDir : p.substr(0, 2)) + "\\" + p.substr(2);
    } else if (!p.empty() && p[0] == '\\') {
      p = currentDir.substr(0, 2) + p;
    } else {
      p = currentDir + "\\" + p;
    }
  }
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(p.substr(unc ? 2 : 0));
  while (std::getline(in, part, '\\')) parts.push_back(part);
  const std::size_t rootParts = unc ? 2 : 1;
  if (parts.size() < rootParts) return {};
  std::string resolved = unc ? "\\\\" + parts[0] + "\\" + parts[1] : parts[0];
  std::vector<std::string> below;
  auto joined = [&] {
    std::string out = resolved;
    for (const std::string& name : below) out += "\\" + name;
    return below.empty() && !unc ? out + "\\" : out;
  };
  for (std::size_t i = rootParts; i < parts.size(); ++i) {
    if (parts[i].empty() || parts[i] == ".") continue;
    if (parts[i] == "..") {
      if (!below.empty()) below.pop_back();
      continue;
    }
    below.push_back(parts[i]);
    const auto link = links_.find(Lower(joined()));
    if (link != links_.end()) {
      std::string rest;
      for (std::size_t j = i + 1; j < parts.size(); ++j) rest += "\\" + parts[j];
      return FinalPath(link->second + rest);
    }
  }
  const auto found = files_.find(Lower(Trimmed(joined())));
  return found == files_.end() ? std::string() : found->second.path;
}

bool FakeWindows::FileExists(const std::string& path) const { return files_.count(Lower(Trimmed(path))) > 0; }

Handle FakeWindows::FindFirstFile(const std::string& pattern, FindData& data) {
  Log("FindFirstFile(" + pattern + ")");
  const std::string folder = Lower(Parent(pattern));
  const std::string mask = pattern.substr(pattern.find_last_of('\\') + 1);
  Search search;
  for (const auto& [key, file] : files_) {
    if (Parent(key) != folder || key == folder) continue;
    const std::string name = file.path.substr(file.path.find_last_of('\\') + 1);
    // "*.*" matches every name, with or without a dot, as on Windows.
    if (mask == "*.*" || WildcardMatch(mask.c_str(), name.c_str())) search.entries.push_back({file.attributes, name});
  }
  if (search.entries.empty()) return w::kInvalidHandle;
  data = search.entries[0];
  search.next = 1;
  const Handle handle = nextHandle_++;
  searches_[handle] = std::move(search);
  return handle;
}

bool FakeWindows::FindNextFile(Handle handle, FindData& data) {
  auto it = searches_.find(handle);
  if (it == searches_.end() || it->second.next >= it->second.entries.size()) return false;
  data = it->second.entries[it->second.next++];
  return true;
}

bool FakeWindows::FindClose(Handle handle) { return searches_.erase(handle) > 0; }

std::uint32_t FakeWindows::GetFileAttributes(const std::string& path) {
  auto it = files_.find(Lower(Trimmed(path)));
  return it == files_.end() ? w::kInvalidFileAttributes : it->second.attributes;
}

bool FakeWindows::SetFileAttributes(const std::string& path, std::uint32_t attributes) {
  Log("SetFileAttributes(" + path + ", " + std::to_string(attributes) + ")");
  auto it = files_.find(Lower(path));
  if (it == files_.end()) return false;
  it->second.attributes = attributes;
  return true;
}

bool FakeWindows::DeleteFile(const std::string& path) {
  Log("DeleteFile(" + path + ")");
  // As under Wine, a link the system shows as a plain file is followed.
  const auto link = links_.find(Lower(path));
  auto it = files_.find(Lower(link == links_.end() ? path : FinalPath(path)));
  if (it == files_.end() || it->second.inUse || (it->second.attributes & w::kFileAttributeDirectory) ||
      (it->second.attributes & w::kFileAttributeReadOnly))
    return false;
  files_.erase(it);
  return true;
}

// ---------------------------------------------------- dialogs, sound, devices

bool FakeWindows::GetOpenFileName(OpenFileName& request) {
  Log("GetOpenFileName(" + request.lpstrTitle + ", " + request.lpstrInitialDir + ")");
  fileDialogs.push_back(request);
  if (whileFileDialog) whileFileDialog();
  if (fileDialogAnswers.empty()) return false;
  const std::optional<std::string> answer = fileDialogAnswers.front();
  fileDialogAnswers.pop_front();
  if (!answer || answer->size() + 1 > request.nMaxFile) return false;
  // The dialog writes the path and its NUL over the start of the buffer.
  std::string buffer = request.lpstrFile;
  if (buffer.size() < answer->size() + 1) buffer.resize(answer->size() + 1, ' ');
  std::copy(answer->begin(), answer->end(), buffer.begin());
  buffer[answer->size()] = '\0';
  request.lpstrFile = buffer;
  // Without OFN_NOCHANGEDIR the dialog leaves the current folder where the file is.
  if (!(request.Flags & 0x8)) currentDir = Parent(*answer);
  return true;
}

bool FakeWindows::PlaySound(const std::string& sound, Handle module, std::uint32_t flags) {
  Log("PlaySound(" + sound + ", " + std::to_string(module) + ", " + std::to_string(flags) + ")");
  playing = (flags & w::kSndLoop) ? sound : std::string();
  return true;
}

std::uint32_t FakeWindows::waveOutGetNumDevs() { return waveDevices; }

std::uint32_t FakeWindows::mciSendString(const std::string& command, char* returnBuffer, std::uint32_t returnLength,
                                         Handle) {
  Log("mciSendString(" + command + ", " + std::to_string(returnLength) + ")");
  if (returnBuffer && returnLength) returnBuffer[0] = '\0';
  return 0;
}

bool FakeWindows::InternetAutodialHangup(std::uint32_t reserved) {
  Log("InternetAutodialHangup(" + std::to_string(reserved) + ")");
  return true;
}

// -------------------------------------------------------------- native side

void FakeWindows::CreateFormWindow(Form& form) {
  Log("CreateFormWindow(" + form.name + ")");
  form.hwnd = nextHandle_++;
  for (Control* control : form.controls) {
    control->hwnd = nextHandle_++;
    // The same picture always loads as the same handle, so icon identity shows.
    control->pictureHandle = control->Picture() ? 0x50000 + static_cast<Handle>(control->Picture()) : 0;
  }
  forms_.push_back(&form);
  for (Timer* timer : form.timers)
    if (timer->Enabled()) Schedule(timer, now + timer->Interval() + timerLateness);
}

void FakeWindows::DestroyFormWindow(Form& form) {
  Log("DestroyFormWindow(" + form.name + ")");
  forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
  for (Timer* timer : form.timers) timers_.erase(timer);
}

void FakeWindows::FormChanged(Form&) {}

void FakeWindows::ControlChanged(Control& control) {
  control.pictureHandle = control.Picture() ? 0x50000 + static_cast<Handle>(control.Picture()) : 0;
}

void FakeWindows::TimerChanged(Timer& timer) {
  if (timer.Enabled() && timer.Interval() > 0 &&
      std::find(forms_.begin(), forms_.end(), &timer.form) != forms_.end())
    Schedule(&timer, now + timer.Interval() + timerLateness);
  else
    timers_.erase(&timer);
}

int FakeWindows::TrackPopupMenu(Menu& menu, Handle owner) {
  Log("TrackPopupMenu(" + menu.name + ", " + Hex(owner) + ")");
  if (whileMenuOpen) whileMenuOpen();
  if (menuChoices.empty()) return -1;
  const std::string choice = menuChoices.front();
  menuChoices.pop_front();
  for (std::size_t i = 0; i < menu.items.size(); ++i)
    if (menu.items[i]->name == choice) return static_cast<int>(i);
  return -1;
}

Form* FakeWindows::FindForm(const std::string& name) const {
  for (Form* form : forms_)
    if (form->name == name) return form;
  return nullptr;
}

Control* FakeWindows::ControlOf(Handle hwnd) const {
  for (Form* form : forms_)
    for (Control* control : form->controls)
      if (control->hwnd == hwnd) return control;
  return nullptr;
}

// -------------------------------------------------------------------- time

// Timers due at the same moment fire in the order they were set, as the
// real message queue would deliver them, not in the order of their addresses.
void FakeWindows::Schedule(Timer* timer, std::uint64_t when) {
  timers_[timer] = when;
  scheduled_[timer] = ++scheduleCount_;
}

void FakeWindows::DeliverTimers(std::uint64_t until) {
  for (;;) {
    Timer* next = nullptr;
    std::uint64_t due = 0;
    for (const auto& [timer, when] : timers_)
      if (when <= until && (next == nullptr || when < due || (when == due && scheduled_[timer] < scheduled_[next]))) {
        next = timer;
        due = when;
      }
    if (next == nullptr) break;
    if (due > now) RunActivity(due - now);
    now = std::max(now, due);
    Schedule(next, now + next->Interval() + timerLateness);
    next->Tick();
  }
}

void FakeWindows::Advance(std::uint64_t milliseconds) {
  const std::uint64_t until = now + milliseconds;
  DeliverPosted();
  DeliverTimers(until);
  if (until > now) RunActivity(until - now);
  // A timer handler may have let time pass itself (a nested Advance while a
  // dialog is open); the clock never runs backwards.
  now = std::max(now, until);
}

void FakeWindows::Stall(std::uint64_t milliseconds) {
  now += milliseconds;
  // Once free, every timer that fell due fires once, soon.
  for (auto& [timer, when] : timers_) when = std::max(when, now);
}

void FakeWindows::SleepMachine(std::uint64_t milliseconds, bool told) {
  const auto broadcast = [this, told](std::uintptr_t event) {
    for (Form* form : std::vector<Form*>(forms_))  // a handler may unload forms
      if (told && std::count(forms_.begin(), forms_.end(), form) && form->onPowerBroadcast)
        form->onPowerBroadcast(event);
  };
  broadcast(w::kPbtApmSuspend);
  asleep += milliseconds;
  Stall(milliseconds);
  broadcast(w::kPbtApmResumeAutomatic);
}

// ------------------------------------------------ processes and activity

std::vector<ProcessEntry> FakeWindows::ProcessSnapshot() {
  Log("ProcessSnapshot");
  std::vector<ProcessEntry> entries;
  for (const Process& process : processes) entries.push_back({process.pid, process.name});
  return entries;
}

Handle FakeWindows::OpenProcess(std::uint32_t access, bool, std::uint32_t processId) {
  Log("OpenProcess(" + Hex(access) + ", " + std::to_string(processId) + ")");
  for (const Process& process : processes)
    if (process.pid == processId && process.openable) {
      const Handle handle = nextHandle_++;
      processHandles_[handle] = processId;
      return handle;
    }
  return 0;
}

bool FakeWindows::CloseHandle(Handle object) { return processHandles_.erase(object) == 1; }

Handle FakeWindows::RegisterWaitForSingleObject(Handle object, Handle hwnd, std::uintptr_t cookie) {
  const auto process = processHandles_.find(object);
  if (process == processHandles_.end()) return 0;
  const Handle wait = nextHandle_++;
  waits_[wait] = {object, hwnd, cookie};
  // A process that has ended already signals at once.
  if (ended_.count(process->second)) posted_.push_back({hwnd, cookie});
  return wait;
}

bool FakeWindows::UnregisterWait(Handle wait) { return waits_.erase(wait) == 1; }

void FakeWindows::EndProcess(std::uint32_t pid) {
  processes.erase(std::remove_if(processes.begin(), processes.end(), [&](const Process& p) { return p.pid == pid; }),
                  processes.end());
  ended_.insert(pid);
  for (const auto& [wait, registered] : waits_)
    if (processHandles_.count(registered.process) && processHandles_[registered.process] == pid)
      posted_.push_back({registered.hwnd, registered.cookie});
  DeliverPosted();
}

void FakeWindows::DeliverPosted() {
  while (!posted_.empty()) {
    const auto [hwnd, cookie] = posted_.front();
    posted_.erase(posted_.begin());
    for (Form* form : forms_)
      if (form->hwnd == hwnd && form->onObjectSignalled) form->onObjectSignalled(cookie);
  }
}

bool FakeWindows::GetLastInputInfo(std::uint32_t& dwTime) {
  Log("GetLastInputInfo");
  dwTime = lastInput;
  return true;
}

bool FakeWindows::GetSystemTimes(std::uint64_t& idle, std::uint64_t& kernel, std::uint64_t& user) {
  idle = idleTime;
  kernel = kernelTime;
  user = userTime;
  return systemTimesKnown;
}

bool FakeWindows::GetNetworkOctets(std::uint64_t& received, std::uint64_t& sent) {
  received = receivedOctets;
  sent = sentOctets;
  return octetsKnown;
}

// Two processors: each millisecond of the clock is 2 ms = 20,000 units of
// 100 ns of processor time, the busy share of it in user time.
void FakeWindows::RunActivity(std::uint64_t milliseconds) {
  const std::uint64_t total = milliseconds * 20000;
  const std::uint64_t busy = total * static_cast<std::uint64_t>(busyPercent_) / 100;
  userTime += busy;
  kernelTime += total - busy;
  idleTime += total - busy;
  receivedOctets += trafficPerSecond_ * milliseconds / 1000;
  sentOctets += trafficPerSecond_ * milliseconds / 1000;
}

// --------------------------------------------------------------------- log

void FakeWindows::Log(std::string call) { log.push_back(std::move(call)); }

bool FakeWindows::Logged(const std::string& call) const { return Count(call) > 0; }

int FakeWindows::Count(const std::string& call) const {
  return static_cast<int>(
      std::count_if(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(call, 0) == 0; }));
}

std::vector<std::string> FakeWindows::Calls(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : log)
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  return found;
}

}  // namespace tarnby
