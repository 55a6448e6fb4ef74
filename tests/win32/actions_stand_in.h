// The stand-in programs of the system-action tests (actions_helper.cpp), as
// both the Win32 tests and the end-to-end tests start and watch them. Only
// <windows.h>: the end-to-end tests see nothing of Tarnby's own sources.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace tarnby::test {

inline std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\'));
}

// Starts a program and lets it run on its own.
inline bool StartDetached(const std::wstring& path) {
  std::wstring command = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

// The process ids the stand-ins noted in the file named by TARNBY_MARKER.
inline std::vector<DWORD> NotedIds(const std::wstring& marker) {
  std::vector<DWORD> ids;
  HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ids;
  char buffer[1024] = {};
  DWORD got = 0;
  ::ReadFile(file, buffer, sizeof buffer - 1, &got, nullptr);
  ::CloseHandle(file);
  for (const char* at = buffer; *at != '\0';) {
    char* end = nullptr;
    const unsigned long id = std::strtoul(at, &end, 10);
    if (end == at) break;
    ids.push_back(id);
    for (at = end; *at == '\r' || *at == '\n';) ++at;
  }
  return ids;
}

// Ends whatever owns a "Shell_TrayWnd" window. Only ever in a test's own
// Wine prefix: it makes room for the stand-in shell, the only one left for
// restart.exe to find.
inline bool EndTaskbarOwners() {
  // Bounded: a shell that keeps coming back must fail the test, not hang it.
  for (int ended = 0;; ++ended) {
    HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (tray == nullptr) break;
    if (ended == 8) return false;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(tray, &pid);
    HANDLE owner = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (owner == nullptr) return false;
    ::TerminateProcess(owner, 0);
    const bool gone = ::WaitForSingleObject(owner, 5000) == WAIT_OBJECT_0;
    ::CloseHandle(owner);
    if (!gone) return false;
  }
  return true;
}

}  // namespace tarnby::test
