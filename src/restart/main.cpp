// restart.exe: no window, no arguments. Started by Tarnby's "Restart Windows
// Only"; restarts Windows for the logged-on user and ends.
#include "restart/restart_core.h"
#include "restart/win32_system.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  restart::Win32System system;
  return restart::ExitCodeFor(restart::RestartWindows(system));
}
