// What an armed trigger waits for, one kind to a file (its row in
// kTriggerKinds names it): the watch arms itself, looks again when its timer
// comes or the system tells it something, and says what it waits for. It
// answers whether what it waits for has happened; Triggers then fires, once
// the watch has returned, and lets it go.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/command_line/command_line.h"
#include "core/platform.h"
#include "core/system/awake_clock.h"

namespace tarnby {

class Frmstart;

// The time since the last keyboard or mouse input. Time asleep is no idle
// time: after a wake the idle time counts from the wake, until the next input.
class IdleClock {
 public:
  explicit IdleClock(Platform& platform) : platform_(platform) {}
  // lastInput: the tick count of the last input, as read.
  std::uint32_t Milliseconds(std::uint32_t* lastInput = nullptr);
  // The machine has woken from sleep.
  void Resumed();

 private:
  void Woke(std::uint32_t now);

  Platform& platform_;
  // The GetTickCount of the last wake; the meter sees a wake whose broadcast
  // has not come yet.
  bool woken_ = false;
  std::uint32_t wokeAt_ = 0;
  SleepMeter sleepMeter_{platform_};
};

// What every watch may use: the platform, the main window (its timer looks
// again, the system posts it a process's end) and the idle clock.
class WatchParts {
 public:
  WatchParts(Platform& platform, Frmstart& f, IdleClock& idle) : platform(platform), f(f), idle(idle) {}
  // The timer comes once, after this long.
  void LookIn(std::uint32_t milliseconds);
  void StopLooking();
  // A wait's own cookie, never given twice: a signal still on its way from
  // an earlier wait cannot pass for a new one's.
  std::uintptr_t NextCookie() { return nextCookie_++; }

  Platform& platform;
  Frmstart& f;
  IdleClock& idle;

 private:
  std::uintptr_t nextCookie_ = 1;
};

class Watch {
 public:
  Watch(WatchParts& parts, const Command& command) : parts_(parts), command_(command) {}
  virtual ~Watch() = default;
  Watch(const Watch&) = delete;
  Watch& operator=(const Watch&) = delete;

  // What keeps it from being armed now, as the message says it.
  virtual std::optional<std::string> Refusal() { return std::nullopt; }
  // Starts waiting: true when what it waits for has happened already.
  virtual bool Arm() = 0;
  // The timer came: true when what it waits for has happened.
  virtual bool Look() = 0;
  // The system posted the main window the end of a wait of this cookie.
  virtual bool Signalled(std::uintptr_t /*cookie*/) { return false; }
  // The machine has woken.
  virtual bool Woke() { return false; }
  // What it waits for, after the action that runs then: "60 s after
  // notepad.exe exits", "after 10 minutes idle".
  virtual std::string Said() const = 0;
  // What the status line adds about the moment: "idle now 3:12"; nothing.
  virtual std::string Now() { return {}; }

 protected:
  WatchParts& parts_;
  const Command command_;
};

// A length as the status line says it: "45 s", "10 minutes", "2 hours", "1:30:15".
std::string SpokenLength(std::int64_t seconds);
// Elapsed time on a clock: "3:12", "1:03:12".
std::string ClockText(std::int64_t seconds);

}  // namespace tarnby
