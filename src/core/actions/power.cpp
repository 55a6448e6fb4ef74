#include "core/actions/power.h"

namespace tarnby {

const std::array<PowerName, 3> kPowerNames = {{
    {PowerAction::Sleep, "sleep", "sleep", "Sleep in", "put the computer to sleep", "This computer cannot sleep."},
    {PowerAction::Hibernate, "hibernate", "hibernate", "Hibernate in", "hibernate the computer",
     "This computer cannot hibernate."},
    {PowerAction::Lock, "lock", "lock", "Lock in", nullptr, nullptr},
}};

const PowerName& PowerNamed(PowerAction action) {
  for (const PowerName& name : kPowerNames)
    if (name.action == action) return name;
  return kPowerNames.front();  // every action has its row
}

bool ModernStandby(Platform& platform) {
  bool aoAc = false;
  return platform.CallNtPowerInformation(w::kPlatformInformation, &aoAc) == 0 && aoAc;
}

std::optional<std::string> PowerRefusal(Platform& platform, PowerAction action) {
  // Asked when the command comes, so that a machine without the state
  // (hibernation may be off) says so at once instead of doing nothing at
  // zero. A Modern Standby machine reports no S1-S3, yet sleeps.
  bool can = true;
  if (action == PowerAction::Sleep) can = platform.IsPwrSuspendAllowed() || ModernStandby(platform);
  if (action == PowerAction::Hibernate) can = platform.IsPwrHibernateAllowed();
  if (can) return std::nullopt;
  return std::string(PowerNamed(action).cannot);
}

std::optional<std::string> PerformPower(Platform& platform, PowerAction action, Handle window) {
  if (action == PowerAction::Lock) {
    platform.LockWorkStation();
    return std::nullopt;
  }
  if (action == PowerAction::Sleep && ModernStandby(platform)) {
    // Such a machine sleeps as Start > Sleep makes it: by turning the display
    // off. SetSuspendState there fails, or hibernates instead.
    if (platform.CallNtPowerInformation(w::kScreenOff, nullptr) != 0)
      platform.SendMessage(window, w::kWmSysCommand, w::kScMonitorPower, w::kMonitorOff);
    return std::nullopt;
  }
  // The system suspends only a process holding SE_SHUTDOWN_NAME.
  platform.EnableShutdownPrivilege();
  if (platform.SetSuspendState(action == PowerAction::Hibernate, false, false)) return std::nullopt;
  // A policy, or a hibernation file kept only for fast start-up, says no.
  return std::string("Windows did not let Tarnby ") + PowerNamed(action).notice + ".";
}

}  // namespace tarnby
