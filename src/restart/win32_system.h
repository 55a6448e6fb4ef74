// The real system under restart.exe's decisions.
#pragma once

#include "common/owned.h"
#include "restart/restart_core.h"

namespace restart {

// Holds the single-instance mutex until it ends: one owner, never a copy
// that would let it go twice.
class Win32System : public System {
 public:
  Win32System() = default;
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  bool TakeSingleInstance() override;
  bool IsNtFamily() override;
  ProcessId ShellProcess() override;
  std::wstring ProgramOf(ProcessId process) override;
  bool EndProcess(ProcessId process, std::uint32_t waitMs) override;
  void Sleep(std::uint32_t ms) override;
  std::wstring WindowsFolder() override;
  bool StartProgram(const std::wstring& path) override;
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;

 private:
  tarnby::OwnedHandle mutex_;
};

}  // namespace restart
