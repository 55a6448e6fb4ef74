// The floor Tarnby's idle cost is measured against: the least a tray program
// with a 20 Hz hot key poll can do. A hidden window, a tray icon, and a 50 ms
// timer that reads three keys with GetAsyncKeyState. bench/idle_cost runs it
// beside tarnby.exe under Wine.
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 50;
constexpr UINT kTrayCallback = WM_APP + 1;

volatile SHORT lastPoll = 0;  // kept, so the reads cannot be dropped

LRESULT CALLBACK ReferenceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      lastPoll = static_cast<SHORT>(::GetAsyncKeyState(VK_SHIFT) & ::GetAsyncKeyState(VK_CONTROL) &
                                    ::GetAsyncKeyState(VK_F2));
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ReferenceProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"TarnbyIdleReference";
  if (!::RegisterClassW(&windowClass)) return 1;
  HWND window = ::CreateWindowW(windowClass.lpszClassName, L"Idle reference", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 200, 100, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;

  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon.uCallbackMessage = kTrayCallback;
  icon.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(icon.szTip, L"Idle reference", ARRAYSIZE(icon.szTip));
  ::Shell_NotifyIconW(NIM_ADD, &icon);
  ::SetTimer(window, kPollTimer, kPollMs, nullptr);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  ::Shell_NotifyIconW(NIM_DELETE, &icon);
  return 0;
}
