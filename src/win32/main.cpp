// tarnby.exe: the real windows and the real Windows under the core.
#include "win32/win32_api.h"  // first: see there why

#include <commctrl.h>
#include <objbase.h>

#include "core/app.h"
#include "win32/hand_over.h"
#include "win32/failure_note.h"
#include "win32/native_host_impl.h"
#include "win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // No error may end the program from here: a handler that fails is
  // abandoned inside the window procedures and the program keeps running.
  try {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    int code = 0;
    {
      tarnby::NativeHostImpl host(instance);
      tarnby::Win32Platform platform(host);
      tarnby::App app(platform);
      if (app.Start(tarnby::ProgramArguments())) {
        // When an installer ends Tarnby to replace its files, Windows starts
        // it again afterwards, plainly, with nothing armed: not after a crash,
        // a hang or a restart of Windows, where the run entry decides.
        ::RegisterApplicationRestart(L"", RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);
        code = host.RunMessageLoop();
      }
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return code;
  } catch (...) {
    tarnby::NoteFailure(L"start-up failed");
    return 1;
  }
}
