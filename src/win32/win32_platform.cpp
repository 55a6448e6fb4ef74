// The real platform: the process, windows and input, and the forms' windows handed to the native host.
#include "win32/win32_platform_parts.h"

#include "win32/utf16.h"

namespace tarnby {

Win32Platform::Win32Platform(NativeHost& host) : host_(host) {}


// ------------------------------------------------------------------- process

bool Win32Platform::AnotherInstanceRunning() {
  OwnedHandle mutex(::CreateMutexW(nullptr, FALSE, L"Local\\Tarnby.SingleInstance"));
  const DWORD error = ::GetLastError();
  // A copy started with other rights may see the mutex without being let in.
  if (!mutex) return error == ERROR_ACCESS_DENIED;
  const bool existed = error == ERROR_ALREADY_EXISTS;
  if (existed || instanceMutex_) return true;
  instanceMutex_ = std::move(mutex);
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
  const OwnedHandle thread(process.hThread), started(process.hProcess);
  return process.dwProcessId;
}

bool Win32Platform::EnableShutdownPrivilege() {
  HANDLE opened = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) return false;
  const OwnedHandle token(opened);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool enabled = ::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  if (enabled) {
    // Succeeds even when the token lacks the privilege; the last error tells.
    enabled = ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr) &&
              ::GetLastError() == ERROR_SUCCESS;
  }
  return enabled;
}

// ------------------------------------------------------- windows and input

bool Win32Platform::SetWindowPos(Handle hwnd, Handle insertAfter, int x, int y, int cx, int cy,
                                 std::uint32_t flags) {
  return ::SetWindowPos(Hwnd(hwnd), Hwnd(insertAfter), x, y, cx, cy, flags);
}

bool Win32Platform::SetForegroundWindow(Handle hwnd) { return ::SetForegroundWindow(Hwnd(hwnd)); }

bool Win32Platform::ShowWindow(Handle hwnd, int showCommand) { return ::ShowWindow(Hwnd(hwnd), showCommand); }

void Win32Platform::BringWindowForward(Handle hwnd) {
  if (::IsIconic(Hwnd(hwnd))) ::ShowWindow(Hwnd(hwnd), SW_RESTORE);
  ::SetForegroundWindow(Hwnd(hwnd));
}

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
  // Raised from the tray or a hot key, the box would open behind the program
  // the user works in: only then does it take the foreground. It never floats
  // above every other program.
  DWORD foregroundProcess = 0;
  if (HWND foreground = ::GetForegroundWindow()) ::GetWindowThreadProcessId(foreground, &foregroundProcess);
  const UINT bringForward = foregroundProcess == ::GetCurrentProcessId() ? 0 : MB_SETFOREGROUND;
  return ::MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), style | bringForward);
}

void Win32Platform::Beep() { ::MessageBeep(0xFFFFFFFF); }

void Win32Platform::DoEvents() { host_.DoEvents(); }

// ------------------------------------------------------------ native windows

void Win32Platform::CreateFormWindow(Form& form) { host_.CreateFormWindow(form); }
void Win32Platform::DestroyFormWindow(Form& form) { host_.DestroyFormWindow(form); }
void Win32Platform::FormChanged(Form& form) { host_.FormChanged(form); }
void Win32Platform::ControlChanged(Control& control) { host_.ControlChanged(control); }
void Win32Platform::TimerChanged(Timer& timer) { host_.TimerChanged(timer); }
int Win32Platform::TrackPopupMenu(Menu& menu, Handle owner) { return host_.TrackPopupMenu(menu, owner); }

}  // namespace tarnby
