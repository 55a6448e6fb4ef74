// The exit codes a script reads from tarnby.exe and tarnby.com, which must
// agree: the console companion passes tarnby.exe's on, and says the same of
// what it finds itself.
#pragma once

#include <cstdint>

namespace tarnby {

inline constexpr std::uint32_t kExitDone = 0;
// The arguments are not a command, or (kExitRefused) a good command this
// machine cannot carry out now: it cannot sleep, for one, or a trigger has
// nothing to wait for.
inline constexpr std::uint32_t kExitBadArguments = 1, kExitRefused = 1;
// The command reached no running Tarnby, or it did not answer: nothing was done.
inline constexpr std::uint32_t kExitNotDelivered = 2;
// /status: no countdown runs and no trigger waits.
inline constexpr std::uint32_t kExitNoCountdown = 3;

}  // namespace tarnby
