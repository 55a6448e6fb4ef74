#include "drive.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>

namespace tarnby::drive {

namespace {

constexpr UINT kTrayCallback = WM_MOUSEMOVE;  // the message Tarnby registers for its icon
constexpr UINT kTalkTimeoutMs = 5000;

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM into) {
  reinterpret_cast<std::vector<HWND>*>(into)->push_back(hwnd);
  return TRUE;
}

HWND FindIn(const std::vector<HWND>& windows, const std::wstring& name) {
  for (HWND hwnd : windows)
    if (NameOf(hwnd) == name) return hwnd;
  return nullptr;
}

}  // namespace

std::wstring WindowsPath(const std::wstring& path) {
  // A Unix path from the build system: Wine shows the root as drive Z:.
  std::wstring result = path;
  if (!result.empty() && result.front() == L'/') result = L"Z:" + result;
  std::replace(result.begin(), result.end(), L'/', L'\\');
  return result;
}

std::wstring NameOf(HWND hwnd) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(::GetPropW(hwnd, L"TarnbyName")));
  if (atom == 0) return {};
  wchar_t name[256] = {};
  const UINT length = ::GlobalGetAtomNameW(atom, name, 256);
  return std::wstring(name, length);
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  const int length = ::GetClassNameW(hwnd, name, 256);
  return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

std::wstring TextOf(HWND hwnd) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             kTalkTimeoutMs, &copied))
    return {};
  return std::wstring(text, std::min<std::size_t>(copied, 1023));
}

DWORD ProcessOf(HWND hwnd) {
  DWORD id = 0;
  ::GetWindowThreadProcessId(hwnd, &id);
  return id;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
  std::vector<HWND> all;
  ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&all));
  if (processId == 0) return all;
  std::vector<HWND> mine;
  for (HWND hwnd : all)
    if (ProcessOf(hwnd) == processId) mine.push_back(hwnd);
  return mine;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  ::EnumChildWindows(parent, &CollectWindow, reinterpret_cast<LPARAM>(&children));
  return children;
}

// ------------------------------------------------------------------ the process

Tarnby::Tarnby(const std::wstring& exePath, const std::wstring& arguments, HANDLE output, HANDLE errors) {
  const std::wstring path = WindowsPath(exePath);
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  Launch(path, commandLine, path.substr(0, path.find_last_of(L'\\')), output, errors);
}

Tarnby::Tarnby(const std::wstring& exePath, const AsRunEntry& entry) {
  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  Launch(WindowsPath(exePath), entry.commandLine, system, nullptr, nullptr);
}

void Tarnby::Launch(const std::wstring& path, std::wstring commandLine, const std::wstring& folder, HANDLE output,
                    HANDLE errors) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (output != nullptr) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = errors != nullptr ? errors : output;
  }
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                       folder.c_str(), &startup, &info)) {
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    ::CloseHandle(info.hThread);
  }
}

namespace {
// What is in the pipe now, without waiting for more; false once every writer has closed it.
bool Drain(HANDLE pipe, std::string& into) {
  for (;;) {
    DWORD available = 0;
    if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return false;
    if (available == 0) return true;
    std::string chunk(available, '\0');
    DWORD got = 0;
    if (!::ReadFile(pipe, chunk.data(), available, &got, nullptr)) return false;
    into.append(chunk, 0, got);
  }
}
}  // namespace

Finished RunToEnd(const std::wstring& exePath, const std::wstring& arguments, Duration timeout) {
  Finished finished;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read[2] = {}, write[2] = {};
  for (int i = 0; i < 2; ++i) {
    if (!::CreatePipe(&read[i], &write[i], &inherit, 0)) return finished;
    ::SetHandleInformation(read[i], HANDLE_FLAG_INHERIT, 0);
  }
  {
    Tarnby program(exePath, arguments, write[0], write[1]);
    ::CloseHandle(write[0]);
    ::CloseHandle(write[1]);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    // Read while it runs, so a full pipe cannot stop it.
    while (!program.WaitForExit(50ms) && std::chrono::steady_clock::now() < deadline) {
      Drain(read[0], finished.output);
      Drain(read[1], finished.errors);
    }
    finished.code = program.ExitCode().value_or(~0u);
  }
  const bool outputOpen = Drain(read[0], finished.output), errorsOpen = Drain(read[1], finished.errors);
  finished.closed = !outputOpen && !errorsOpen;
  ::CloseHandle(read[0]);
  ::CloseHandle(read[1]);
  return finished;
}

namespace {
LRESULT CALLBACK TakeAnswer(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (msg != WM_COPYDATA || copy->dwData < 0x54524E30 || copy->dwData > 0x54524E39)
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(copy->dwData - 0x54524E30));
  return 1;
}
}  // namespace

std::vector<DWORD> HandOver(HWND frmstart, const std::vector<std::wstring>& commands, Duration timeout) {
  static const ATOM type = [] {
    WNDCLASSW c{};
    c.lpfnWndProc = TakeAnswer;
    c.lpszClassName = L"TarnbyDriveAnswers";
    return ::RegisterClassW(&c);
  }();
  HWND inbox = ::CreateWindowExW(0, MAKEINTATOM(type), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  std::vector<DWORD> codes;
  for (std::wstring command : commands) {
    std::replace(command.begin(), command.end(), L' ', L'\0');
    command += L'\0';
    COPYDATASTRUCT copy{0x54524E42, static_cast<DWORD>(command.size() * sizeof(wchar_t)), command.data()};
    ::SetWindowLongPtrW(inbox, GWLP_USERDATA, -1);
    DWORD_PTR taken = 0;
    if (!::SendMessageTimeoutW(frmstart, WM_COPYDATA, reinterpret_cast<WPARAM>(inbox), reinterpret_cast<LPARAM>(&copy),
                               0, 10000, &taken) || taken != 1) {
      codes.push_back(~0u);
      continue;
    }
    // The answer is sent to our window: let it in as it comes.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    MSG message;
    while (::GetWindowLongPtrW(inbox, GWLP_USERDATA) == -1 && std::chrono::steady_clock::now() < deadline) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    }
    codes.push_back(static_cast<DWORD>(::GetWindowLongPtrW(inbox, GWLP_USERDATA)));
  }
  ::DestroyWindow(inbox);
  return codes;
}

Tarnby::~Tarnby() {
  Kill();
  if (process_) ::CloseHandle(process_);
}

bool Tarnby::Running() const { return process_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Tarnby::WaitForExit(Duration timeout) const {
  return process_ && ::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> Tarnby::ExitCode() const {
  DWORD code = 0;
  if (!process_ || !::GetExitCodeProcess(process_, &code) || code == STILL_ACTIVE) return std::nullopt;
  return code;
}

bool WaitForSessionEndToFinish(Duration timeout) {
  const auto winebootRuns = [] {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found; more = ::Process32NextW(snapshot, &entry))
      found = ::_wcsicmp(entry.szExeFile, L"wineboot.exe") == 0;
    ::CloseHandle(snapshot);
    return found;
  };
  return WaitFor([&] { return !winebootRuns(); }, timeout);
}

void Tarnby::Kill() {
  if (Running()) {
    ::TerminateProcess(process_, 99);
    ::WaitForSingleObject(process_, 5000);
  }
}

HWND Tarnby::Form(const std::wstring& name, Duration timeout) const {
  HWND found = nullptr;
  WaitFor([&] { return Running() && (found = FindIn(TopLevelWindows(id_), name)) != nullptr; }, timeout);
  return found;
}

HWND Tarnby::Control(const std::wstring& form, const std::wstring& control, Duration timeout) const {
  HWND found = nullptr;
  WaitFor(
      [&] {
        HWND parent = FindIn(TopLevelWindows(id_), form);
        return parent && (found = FindIn(ChildWindows(parent), control)) != nullptr;
      },
      timeout);
  return found;
}

HWND Tarnby::PopupMenu(Duration timeout) const {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND hwnd : TopLevelWindows(id_)) {
          if (ClassOf(hwnd) == L"#32768" && ::IsWindowVisible(hwnd)) {
            found = hwnd;
            return true;
          }
        }
        return false;
      },
      timeout);
  return found;
}

HWND Tarnby::MessageBoxTitled(const std::wstring& title, Duration timeout) const {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND hwnd : TopLevelWindows(id_)) {
          if (ClassOf(hwnd) == L"#32770" && ::IsWindowVisible(hwnd) && TextOf(hwnd) == title) {
            found = hwnd;
            return true;
          }
        }
        return false;
      },
      timeout);
  return found;
}

HWND Tarnby::ShowTimer() const {
  HWND frmstart = Form(L"frmstart");
  HWND picscreen = Control(L"frmstart", L"picscreen");
  if (!frmstart || !picscreen) return nullptr;
  TrayRightClick(picscreen);
  HWND menu = PopupMenu();
  if (!menu) return nullptr;
  ChooseMenuItem(menu, L's');
  return WaitFor([&] { return ::IsWindowVisible(frmstart) != FALSE; }) ? frmstart : nullptr;
}

std::optional<std::wstring> Tarnby::AnswerMessageBox(const std::wstring& title, int button, Duration timeout) const {
  const HWND box = MessageBoxTitled(title, timeout);
  if (box == nullptr) return std::nullopt;
  std::wstring text = MessageBoxText(box);
  if (!PressDialogButton(box, button)) return std::nullopt;
  return text;
}

// ------------------------------------------------------------------ input

void TrayMessage(HWND box, UINT mouseMessage) {
  // The shell posts the icon's callback with the icon id in wParam and the
  // mouse message in lParam.
  ::PostMessageW(box, kTrayCallback, 1, static_cast<LPARAM>(mouseMessage));
}

void ChooseMenuItem(HWND menu, wchar_t key) {
  // A menu in its modal loop takes the characters of its thread's queue.
  ::PostMessageW(menu, WM_CHAR, key, 0);
}

void CloseMenu(HWND menu) { ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0); }

void Click(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

void ClickLabel(HWND label) {
  ::PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  ::PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void Type(HWND edit, const std::wstring& text) {
  for (wchar_t ch : text) ::PostMessageW(edit, WM_CHAR, ch, 1);
}

std::wstring MessageBoxText(HWND box) {
  // The message is the static text that is not the icon.
  for (HWND child : ChildWindows(box)) {
    if (ClassOf(child) != L"Static") continue;
    const std::wstring text = TextOf(child);
    if (!text.empty()) return text;
  }
  return {};
}

bool PressDialogButton(HWND dialog, int buttonId) {
  HWND button = ::GetDlgItem(dialog, buttonId);
  if (!button) return false;
  return ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button)) !=
         FALSE;
}

void ForgetTarnbySettings() { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnby"); }

void SetTarnbyWindowsVersion(const std::wstring& version) {
  SetRegString(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\tarnby.exe", L"Version", version);
}

bool SetRegString(HKEY hive, const std::wstring& key, const std::wstring& value, const std::wstring& text) {
  return ::RegSetKeyValueW(hive, key.c_str(), value.c_str(), REG_SZ, text.c_str(),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void SendKey(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ::SendInput(1, &input, sizeof input);
}

std::optional<std::wstring> ReadRegString(HKEY hive, const std::wstring& key, const std::wstring& value) {
  wchar_t data[2048] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  if (::RegGetValueW(hive, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(data);
}

RECT ScreenRect(HWND hwnd) {
  RECT rect{};
  ::GetWindowRect(hwnd, &rect);
  return rect;
}

std::vector<std::wstring> TrayTips() {
  std::vector<std::wstring> tips;
  for (HWND tooltip : TopLevelWindows(0)) {
    if (ClassOf(tooltip) != L"tooltips_class32") continue;
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                   ProcessOf(tooltip));
    if (process == nullptr) continue;
    constexpr SIZE_T kTextOffset = 1024, kTextBytes = 1024;
    auto* remote = static_cast<char*>(::VirtualAllocEx(process, nullptr, kTextOffset + kTextBytes, MEM_COMMIT,
                                                       PAGE_READWRITE));
    const auto count = ::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; remote != nullptr && i < count; ++i) {
      TOOLINFOW info{};
      info.cbSize = sizeof info;
      info.lpszText = reinterpret_cast<wchar_t*>(remote + kTextOffset);
      wchar_t text[kTextBytes / sizeof(wchar_t)] = {};
      if (!::WriteProcessMemory(process, remote, &info, sizeof info, nullptr) ||
          !::WriteProcessMemory(process, remote + kTextOffset, text, sizeof text, nullptr))
        break;
      DWORD_PTR answered = 0;
      if (!::SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote),
                                 SMTO_ABORTIFHUNG, 2000, &answered) ||
          !::ReadProcessMemory(process, remote, &info, sizeof info, nullptr) ||
          !::ReadProcessMemory(process, remote + kTextOffset, text, sizeof text - sizeof(wchar_t), nullptr))
        continue;
      if (ClassOf(info.hwnd) == L"__winex11_tray_icon") tips.emplace_back(text);
    }
    if (remote != nullptr) ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
  }
  return tips;
}

TypingWindow::TypingWindow() {
  hwnd_ = ::CreateWindowExW(0, L"EDIT", L"Typing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 120, nullptr, nullptr,
                            ::GetModuleHandleW(nullptr), nullptr);
  TakeFocus();
}

TypingWindow::~TypingWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool TypingWindow::TakeFocus() const {
  if (!hwnd_) return false;
  ::SetForegroundWindow(hwnd_);
  ::SetFocus(hwnd_);
  return WaitFor([&] { return ::GetForegroundWindow() == hwnd_; }, 5s);
}

}  // namespace tarnby::drive
