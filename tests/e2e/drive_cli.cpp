// tarnby_drive: pokes a running tarnby.exe from the command line (under the
// same Wine prefix), for screenshots and for trying things by hand.
//
//   tarnby_drive find FORM [CONTROL]      prints the window, whether it shows, and where
//   tarnby_drive tray BOX right|double    the shell's callback to a tray picture box
//   tarnby_drive menu KEY                 picks the open popup menu's item with that mnemonic
//                                         ("esc" closes the menu, "where" prints its place,
//                                         "up", "down" and "enter" press those keys; several may follow)
//   tarnby_drive cursor X Y               moves the mouse pointer
//   tarnby_drive click FORM CONTROL       clicks a button, check box or option button
//   tarnby_drive type FORM CONTROL TEXT   types into a text box
//   tarnby_drive wait FORM                waits until the form shows
//   tarnby_drive dpi FORM FROM TO [X Y]   tells the form it was dragged from a monitor at FROM dpi
//                                         to one at TO dpi (WM_DPICHANGED, its size scaled in proportion,
//                                         its top left corner at X Y or where it is)
#include <cstdio>
#include <string>

#include "drive.h"

using namespace tarnby::drive;

namespace {

HWND FindNamed(const std::wstring& form, const std::wstring& control) {
  HWND found = nullptr;
  WaitFor([&] {
    for (HWND top : TopLevelWindows(0)) {
      if (NameOf(top) != form) continue;
      if (control.empty()) return (found = top) != nullptr;
      for (HWND child : ChildWindows(top))
        if (NameOf(child) == control) return (found = child) != nullptr;
    }
    return false;
  });
  return found;
}

int Usage() {
  std::fputws(L"usage: tarnby_drive find|tray|menu|cursor|click|type|wait|dpi ... (see drive_cli.cpp)\n", stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];
  const auto arg = [&](int i) { return i < argc ? std::wstring(argv[i]) : std::wstring(); };

  if (command == L"menu") {
    HWND menu = nullptr;
    WaitFor([&] {
      for (HWND top : TopLevelWindows(0))
        if (ClassOf(top) == L"#32768" && ::IsWindowVisible(top)) return (menu = top) != nullptr;
      return false;
    });
    if (!menu || arg(2).empty()) return 1;
    for (int i = 2; i < argc; ++i) {
      const std::wstring key = arg(i);
      if (key == L"esc") {
        CloseMenu(menu);
      } else if (key == L"where") {
        const RECT r = ScreenRect(menu);
        std::wprintf(L"%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
      } else if (key == L"up" || key == L"down" || key == L"enter") {
        const WPARAM vk = key == L"up" ? VK_UP : key == L"down" ? VK_DOWN : VK_RETURN;
        ::PostMessageW(menu, WM_KEYDOWN, vk, 0);
      } else {
        ChooseMenuItem(menu, key[0]);
      }
    }
    return 0;
  }
  if (command == L"cursor") return ::SetCursorPos(std::stoi(arg(2)), std::stoi(arg(3))) ? 0 : 1;

  HWND hwnd = command == L"tray" ? FindNamed(L"frmstart", arg(2)) : FindNamed(arg(2), command == L"wait" || command == L"dpi" ? L"" : arg(3));
  if (!hwnd) {
    std::fwprintf(stderr, L"not found\n");
    return 1;
  }
  if (command == L"find") {
    const RECT r = ScreenRect(hwnd);
    std::wprintf(L"%ls visible=%d enabled=%d rect=%ld %ld %ld %ld text=\"%ls\"\n", NameOf(hwnd).c_str(),
                 ::IsWindowVisible(hwnd) ? 1 : 0, ::IsWindowEnabled(hwnd) ? 1 : 0, r.left, r.top, r.right, r.bottom, TextOf(hwnd).c_str());
  } else if (command == L"tray") {
    TrayMessage(hwnd, arg(3) == L"double" ? WM_LBUTTONDBLCLK : WM_RBUTTONUP);
  } else if (command == L"click") {
    Click(hwnd);
  } else if (command == L"type") {
    Type(hwnd, arg(4));
  } else if (command == L"dpi") {
    const int from = std::stoi(arg(3)), to = std::stoi(arg(4));
    if (from <= 0 || to <= 0) return Usage();
    const RECT was = ScreenRect(hwnd);
    RECT r = was;
    if (!arg(6).empty()) r = {std::stoi(arg(5)), std::stoi(arg(6)), 0, 0};
    r.right = r.left + ::MulDiv(was.right - was.left, to, from);
    r.bottom = r.top + ::MulDiv(was.bottom - was.top, to, from);
    // The system hands the message a rectangle in the window's own process:
    // put it there.
    const HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, ProcessOf(hwnd));
    void* remote = process ? ::VirtualAllocEx(process, nullptr, sizeof r, MEM_COMMIT, PAGE_READWRITE) : nullptr;
    if (!remote || !::WriteProcessMemory(process, remote, &r, sizeof r, nullptr)) return 1;
    ::SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(remote));
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
  } else if (command == L"wait") {
    return WaitFor([&] { return ::IsWindowVisible(hwnd) != FALSE; }) ? 0 : 1;
  } else {
    return Usage();
  }
  return 0;
}
