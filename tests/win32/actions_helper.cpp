// Stand-ins the system-action tests start. Each notes its process id in the
// file named by TARNBY_MARKER. Built twice:
//  - actions_marker.exe: a program to run; it notes itself and ends.
//  - actions_fake_shell.exe (TARNBY_FAKE_SHELL): a user's shell as restart.exe
//    sees it, owning a "Shell_TrayWnd" window, until it is closed or ended
//    (or a minute has passed, so a failed test leaves nothing behind).
#include <windows.h>

#include <string>

namespace {

void NoteMyself() {
  wchar_t marker[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"TARNBY_MARKER", marker, MAX_PATH) == 0) return;
  HANDLE file = ::CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string line = std::to_string(::GetCurrentProcessId()) + "\r\n";
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef TARNBY_FAKE_SHELL
  WNDCLASSW type{};
  type.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (msg == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  };
  type.hInstance = instance;
  type.lpszClassName = L"Shell_TrayWnd";
  ::RegisterClassW(&type);
  HWND tray = ::CreateWindowExW(0, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  if (tray == nullptr) return 2;
  ::SetTimer(tray, 1, 60000, [](HWND hwnd, UINT, UINT_PTR, DWORD) { ::DestroyWindow(hwnd); });
  NoteMyself();  // only once the window is there to be found
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
#else
  (void)instance;
  NoteMyself();
#endif
  return 0;
}
