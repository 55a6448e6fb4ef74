// Sleep, hibernate and lock. powrprof.dll's calls and LockWorkStation are
// looked up when first asked, so that a system without them starts Tarnby all
// the same and only refuses these actions.
#include "win32/system_library.h"
#include "win32/win32_platform_parts.h"

namespace tarnby {

namespace {

using Allowed = BOOLEAN(WINAPI*)();

}  // namespace

bool Win32Platform::IsPwrSuspendAllowed() {
  static const Allowed call = SystemFunction<Allowed>(L"powrprof.dll", "IsPwrSuspendAllowed");
  return call != nullptr && call() != FALSE;
}

bool Win32Platform::IsPwrHibernateAllowed() {
  static const Allowed call = SystemFunction<Allowed>(L"powrprof.dll", "IsPwrHibernateAllowed");
  return call != nullptr && call() != FALSE;
}

bool Win32Platform::SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) {
  using Call = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
  static const Call call = SystemFunction<Call>(L"powrprof.dll", "SetSuspendState");
  return call != nullptr && call(hibernate, force, disableWakeEvent) != FALSE;
}

bool Win32Platform::LockWorkStation() {
  using Call = BOOL(WINAPI*)();
  static const Call call = SystemFunction<Call>(L"user32.dll", "LockWorkStation");
  return call != nullptr && call() != FALSE;
}

}  // namespace tarnby
