#include "core/system/os_info.h"

namespace tarnby {

COpSysInfo::COpSysInfo(Platform& platform) {
  OsVersionInfo info;
  info.dwOSVersionInfoSize = 148;
  if (!platform.GetVersionEx(info)) return;
  if (info.dwPlatformId == w::kPlatformWin32Windows) {
    isWin95_ = info.dwMinorVersion < 10;
    isWin98_ = !isWin95_;
  }
}

}  // namespace tarnby
