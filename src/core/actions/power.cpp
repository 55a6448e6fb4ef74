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

std::optional<std::string> PowerRefusal(Platform& platform, PowerAction action) {
  // Asked when the command comes, so that a machine without the state (many
  // Modern Standby laptops cannot sleep the old way, hibernation may be off)
  // says so at once instead of doing nothing at zero.
  bool can = true;
  if (action == PowerAction::Sleep) can = platform.IsPwrSuspendAllowed();
  if (action == PowerAction::Hibernate) can = platform.IsPwrHibernateAllowed();
  if (can) return std::nullopt;
  return std::string(PowerNamed(action).cannot);
}

void PerformPower(Platform& platform, PowerAction action) {
  switch (action) {
    case PowerAction::Sleep:
    case PowerAction::Hibernate:
      // The system suspends only a process holding SE_SHUTDOWN_NAME.
      platform.EnableShutdownPrivilege();
      platform.SetSuspendState(action == PowerAction::Hibernate, false, false);
      break;
    case PowerAction::Lock:
      platform.LockWorkStation();
      break;
  }
}

}  // namespace tarnby
