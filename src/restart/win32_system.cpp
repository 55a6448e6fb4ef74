#include "restart/win32_system.h"

namespace restart {

namespace {
constexpr wchar_t kMutexName[] = L"TarnbyRestartWindows";
}  // namespace

bool Win32System::TakeSingleInstance() {
  HANDLE mutex = ::CreateMutexW(nullptr, TRUE, kMutexName);
  const bool first = mutex != nullptr && ::GetLastError() != ERROR_ALREADY_EXISTS;
  mutex_.reset(mutex);
  return first;
}

bool Win32System::IsNtFamily() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExW(&version)) return true;
#pragma GCC diagnostic pop
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

ProcessId Win32System::ShellProcess() {
  HWND shell = ::GetShellWindow();
  if (shell == nullptr) shell = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  DWORD process = 0;
  if (shell != nullptr) ::GetWindowThreadProcessId(shell, &process);
  return process;
}

std::wstring Win32System::ProgramOf(ProcessId process) {
  const tarnby::OwnedHandle handle(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
  if (!handle) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  std::wstring program;
  if (::QueryFullProcessImageNameW(handle.get(), 0, path, &size)) program.assign(path, size);
  return program;
}

bool Win32System::EndProcess(ProcessId process, std::uint32_t waitMs) {
  const tarnby::OwnedHandle handle(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process));
  if (!handle) {
    // Gone already, or not ours to end: tell the two apart.
    return ::GetLastError() == ERROR_INVALID_PARAMETER;
  }
  // Exit code 0: an orderly end, which the logon process does not answer
  // with a shell of its own.
  ::TerminateProcess(handle.get(), 0);
  return ::WaitForSingleObject(handle.get(), waitMs) == WAIT_OBJECT_0;
}

void Win32System::Sleep(std::uint32_t ms) { ::Sleep(ms); }

std::wstring Win32System::WindowsFolder() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

bool Win32System::StartProgram(const std::wstring& path) {
  std::wstring command = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const std::wstring folder = WindowsFolder();
  if (!::CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
    return false;
  // Started is all this program needs to know of it.
  const tarnby::OwnedHandle thread(process.hThread), started(process.hProcess);
  return true;
}

bool Win32System::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
  return ::ExitWindowsEx(flags, reserved);
}

}  // namespace restart
