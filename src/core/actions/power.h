// Sleep, hibernate and lock: what the command line adds to the actions. None
// of them ends the session, so Tarnby keeps running after each. They are not
// the "Suspend" pre-selection (ActionCode::sleep), which starts the screen
// saver, and they have no button, tray icon or hot key of their own.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/platform.h"

namespace tarnby {

enum class PowerAction { Sleep, Hibernate, Lock };

struct PowerName {
  PowerAction action;
  const char* switchName;  // "sleep" for /sleep
  const char* status;      // the status line: "sleep in 0:01:00"
  const char* timeLeft;    // the time-left window: "Sleep in 0 : 59"
  const char* notice;      // "Tarnby will <notice> in 60 seconds."; null: no notice
  const char* cannot;      // the message when the machine cannot; null: it always can
};

extern const std::array<PowerName, 3> kPowerNames;

const PowerName& PowerNamed(PowerAction action);

// The machine sleeps as Modern Standby (S0 low-power idle): it has no S3 and
// goes to sleep when its display goes off.
bool ModernStandby(Platform& platform);

// What keeps this machine from doing it now, as the message says it; nothing
// when it can.
std::optional<std::string> PowerRefusal(Platform& platform, PowerAction action);

// Carries it out; `window` is Tarnby's own, which may turn the display off.
// Sleep and hibernate return when the machine wakes again (a Modern Standby
// machine's at once). What Windows refused, as the message says it; nothing
// when it went.
std::optional<std::string> PerformPower(Platform& platform, PowerAction action, Handle window);

}  // namespace tarnby
