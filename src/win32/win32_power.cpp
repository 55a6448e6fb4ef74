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

long Win32Platform::CallNtPowerInformation(std::uint32_t level, bool* aoAc) {
  using Call = LONG(WINAPI*)(POWER_INFORMATION_LEVEL, PVOID, ULONG, PVOID, ULONG);
  static const Call call = SystemFunction<Call>(L"powrprof.dll", "CallNtPowerInformation");
  constexpr LONG kNotImplemented = static_cast<LONG>(0xC0000002);  // STATUS_NOT_IMPLEMENTED
  if (call == nullptr) return kNotImplemented;
  const auto asked = static_cast<POWER_INFORMATION_LEVEL>(level);
  if (aoAc == nullptr) return call(asked, nullptr, 0, nullptr, 0);
  POWER_PLATFORM_INFORMATION platform{};
  const LONG status = call(asked, nullptr, 0, &platform, sizeof platform);
  *aoAc = status == 0 && platform.AoAc != FALSE;
  return status;
}

bool Win32Platform::LockWorkStation() {
  using Call = BOOL(WINAPI*)();
  static const Call call = SystemFunction<Call>(L"user32.dll", "LockWorkStation");
  return call != nullptr && call() != FALSE;
}

}  // namespace tarnby
