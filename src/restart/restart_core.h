// restart.exe: restarts Windows for the logged-on user without restarting
// the computer. On the NT family that means ending the user's shell and
// starting it again; Windows 9x does it itself when asked.
//
// The decisions live here, on top of a small interface to the system, so
// they can be proved without ending anybody's shell.
#pragma once

#include <cstdint>
#include <string>

namespace restart {

using ProcessId = std::uint32_t;

class System {
 public:
  virtual ~System() = default;
  // False when another copy is already at work.
  virtual bool TakeSingleInstance() = 0;
  virtual bool IsNtFamily() = 0;
  // The process that owns the user's shell (the shell window, or else the
  // taskbar); 0 when no shell runs.
  virtual ProcessId ShellProcess() = 0;
  // The program file of a running process; empty when the system cannot say.
  virtual std::wstring ProgramOf(ProcessId process) = 0;
  // Ends the process and waits up to waitMs for it to be gone. True when it
  // is gone.
  virtual bool EndProcess(ProcessId process, std::uint32_t waitMs) = 0;
  virtual void Sleep(std::uint32_t ms) = 0;
  virtual std::wstring WindowsFolder() = 0;
  virtual bool StartProgram(const std::wstring& path) = 0;
  virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
};

// Windows 9x's request to restart Windows only (the 16-bit ExitWindows
// code, which its ExitWindowsEx passes on).
inline constexpr std::uint32_t kEwRestartWindows = 0x42;
inline constexpr std::uint32_t kEwxLogoff = 0;

struct Timing {
  std::uint32_t endWaitMs = 10000;  // for the old shell to go
  std::uint32_t comeBackMs = 2000;  // for the system to bring a shell back itself
  std::uint32_t pollMs = 100;
};

enum class Outcome {
  ShellRestarted,         // ended and started again by us
  ShellCameBack,          // ended; the system started a new one itself
  ShellStarted,           // none was running; one is now
  ShellWouldNotEnd,       // still running: nothing else was done
  ShellStartFailed,       // ended, but the new one could not be started
  WindowsRestartAsked,    // 9x: Windows restarts itself
  LoggedOff,              // 9x refused the restart request; the session ends instead
  Refused,                // 9x refused both requests
  AlreadyRunning,         // another copy is at work
};

Outcome RestartWindows(System& system, const Timing& timing = {});

// 0 when Windows is being restarted or the shell runs again, 1 otherwise.
int ExitCodeFor(Outcome outcome);

// The shell to start when the old one's program file is unknown.
std::wstring DefaultShell(const std::wstring& windowsFolder);

}  // namespace restart
