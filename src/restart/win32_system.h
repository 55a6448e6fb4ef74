// The real system under restart.exe's decisions.
#pragma once

#include <windows.h>

#include "restart/restart_core.h"

namespace restart {

class Win32System : public System {
 public:
  ~Win32System() override;
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
  HANDLE mutex_ = nullptr;
};

}  // namespace restart
