#include "core/actions/power.h"

namespace tarnby {

namespace {
// Every power action, once: the switch has no default, so one added to the
// enum stops the build here until it is listed, and then at the check below
// until it has its row.
constexpr bool IsPowerAction(PowerAction action) {
  switch (action) {
    case PowerAction::Sleep:
    case PowerAction::Hibernate:
    case PowerAction::Lock:
      return true;
  }
  return false;
}
}  // namespace

constexpr std::array<PowerName, 3> kPowerNames = {{
    {PowerAction::Sleep, "sleep", "sleep", "Sleep in", "put the computer to sleep", "This computer cannot sleep."},
    {PowerAction::Hibernate, "hibernate", "hibernate", "Hibernate in", "hibernate the computer",
     "This computer cannot hibernate."},
    {PowerAction::Lock, "lock", "lock", "Lock in", nullptr, nullptr},
}};

// In the order of the enum, so that an action is its row's index.
constexpr bool EveryPowerActionIsItsRow() {
  std::size_t action = 0;
  for (; IsPowerAction(static_cast<PowerAction>(action)); ++action)
    if (action >= kPowerNames.size() || kPowerNames[action].action != static_cast<PowerAction>(action)) return false;
  return action == kPowerNames.size();
}
static_assert(EveryPowerActionIsItsRow(), "every power action has its row, in the enum's order");

const PowerName& PowerNamed(PowerAction action) { return kPowerNames[static_cast<std::size_t>(action)]; }

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
