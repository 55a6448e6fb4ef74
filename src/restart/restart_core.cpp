#include "restart/restart_core.h"

namespace restart {

namespace {

Outcome RestartShell(System& system, const Timing& timing) {
  const ProcessId old = system.ShellProcess();
  if (old == 0) {
    // Nobody's desktop to lose: just give the user a shell.
    return system.StartProgram(DefaultShell(system.WindowsFolder())) ? Outcome::ShellStarted
                                                                      : Outcome::ShellStartFailed;
  }

  // Whatever the user runs as a shell comes back, not necessarily Explorer.
  std::wstring program = system.ProgramOf(old);
  if (program.empty()) program = DefaultShell(system.WindowsFolder());

  // A shell that is still there must not get a twin: a second Explorer
  // would only open a folder window.
  if (!system.EndProcess(old, timing.endWaitMs)) return Outcome::ShellWouldNotEnd;

  // Some systems bring their shell back on their own; give them a moment.
  for (std::uint32_t waited = 0; waited < timing.comeBackMs; waited += timing.pollMs) {
    system.Sleep(timing.pollMs);
    const ProcessId now = system.ShellProcess();
    if (now != 0 && now != old) return Outcome::ShellCameBack;
  }

  return system.StartProgram(program) ? Outcome::ShellRestarted : Outcome::ShellStartFailed;
}

Outcome RestartWindows9x(System& system) {
  if (system.ExitWindowsEx(kEwRestartWindows, 0)) return Outcome::WindowsRestartAsked;
  // Ending the session is what restarting Windows amounts to for the user.
  if (system.ExitWindowsEx(kEwxLogoff, 0)) return Outcome::LoggedOff;
  return Outcome::Refused;
}

}  // namespace

std::wstring DefaultShell(const std::wstring& windowsFolder) {
  std::wstring folder = windowsFolder;
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder + L"\\explorer.exe";
}

Outcome RestartWindows(System& system, const Timing& timing) {
  if (!system.TakeSingleInstance()) return Outcome::AlreadyRunning;
  return system.IsNtFamily() ? RestartShell(system, timing) : RestartWindows9x(system);
}

int ExitCodeFor(Outcome outcome) {
  switch (outcome) {
    case Outcome::ShellRestarted:
    case Outcome::ShellCameBack:
    case Outcome::ShellStarted:
    case Outcome::WindowsRestartAsked:
    case Outcome::LoggedOff:
      return 0;
    case Outcome::ShellWouldNotEnd:
    case Outcome::ShellStartFailed:
    case Outcome::Refused:
    case Outcome::AlreadyRunning:
      return 1;
  }
  return 1;
}

}  // namespace restart
