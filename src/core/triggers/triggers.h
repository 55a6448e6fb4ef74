// Triggers: a command's countdown that starts when a job is done instead of
// at a time: when every process of a name has ended, when nobody has used
// the keyboard or mouse for a while, or when the processors and the network
// have been quiet for a while. The countdown then runs exactly as one from
// the command line does.
//
// Nothing here polls fast. A process is waited on through its handle (the
// system posts the main window a message when it ends); only one that may not
// be opened is looked for every two seconds. The idle wait sleeps until the
// moment the idle time would reach its length; the quiet wait samples every
// five seconds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/command_line/command_line.h"
#include "core/platform.h"
#include "core/system/awake_clock.h"
#include "core/system/platform_owned.h"

namespace tarnby {

class Countdown;
class Frmstart;
class Tray;

class Triggers {
 public:
  Triggers(Platform& platform, Frmstart& f, Countdown& countdown, Tray& tray);
  ~Triggers();
  Triggers(const Triggers&) = delete;
  Triggers& operator=(const Triggers&) = delete;

  // What stops the command's trigger from being armed now (no process of
  // that name runs), as the message says it; empty when it can be armed.
  std::string Refusal(const Command& command);
  // Arms the command's trigger in place of any other; the message, as
  // Refusal gives it, when there is nothing to wait for.
  std::string Arm(const Command& command);
  void Disarm();
  // Armed and not fired yet.
  bool Waiting() const { return state_ == State::Waiting; }
  // "shut down 60 s after notepad.exe exits", "shut down after 10 minutes
  // idle (idle now 3:12)", "shut down when quiet for 5 minutes (quiet now 1:05)".
  std::string StatusLine();

  // Starts the countdown of a fired trigger: the command with its /in.
  std::function<void(const Command&)> onFire;

  void tmrWhen_Timer();
  void frmstart_ObjectSignalled(std::uintptr_t cookie);
  // The machine is about to sleep, or has woken.
  void frmstart_PowerBroadcast(std::uintptr_t event);

 private:
  // Waiting: armed. Watching: an idle trigger fired, and its countdown stops
  // when the user comes back.
  enum class State { Off, Waiting, Watching };

  // A process waited on: through its handle, or by its presence when it may
  // not be opened (wait is empty then).
  struct Watched {
    std::uint32_t pid = 0;
    std::string name;
    std::uintptr_t cookie = 0;
    PlatformProcess process;
    PlatformWait wait;  // after the process: it goes first
  };
  // What the machine did up to a moment.
  struct Sample {
    std::uint64_t at = 0;  // TickCount
    bool timesKnown = false;
    std::uint64_t idle = 0, total = 0;  // processor time, 100 ns
    bool octetsKnown = false;
    std::uint64_t received = 0, sent = 0;
  };

  void Fire();
  void Wait(std::uint32_t milliseconds);
  std::string Sentence() const;
  void ShowWaitingTip();

  // Process (process_watch.cpp).
  std::vector<ProcessEntry> Matching(const When& when);
  void ArmExits(const std::vector<ProcessEntry>& found);
  void LookForAbsent();
  void Ended(std::size_t index);
  // Idle (idle_watch.cpp).
  std::uint32_t IdleMilliseconds(std::uint32_t* lastInput = nullptr);
  void Woke(std::uint32_t now);
  void LookAtIdle();
  void WatchForReturn();
  // Quiet (quiet_watch.cpp).
  Sample TakeSample();
  bool Quiet(const Sample& before, const Sample& after) const;
  bool ProcessorsQuiet(const Sample& before, const Sample& after) const;
  void LookAtActivity();
  void ScheduleSample();

  Platform& platform_;
  Frmstart& f_;
  Countdown& countdown_;
  Tray& tray_;  // its tip says what a waiting trigger waits for
  State state_ = State::Off;
  Command command_;
  std::vector<Watched> watched_;
  std::uintptr_t nextCookie_ = 1;
  std::uint32_t inputAtFire_ = 0;
  // Time asleep is no idle time: the GetTickCount of the last wake, after
  // which the idle time counts from the wake; the meter sees a wake whose
  // broadcast has not come yet.
  bool woken_ = false;
  std::uint32_t wokeAt_ = 0;
  SleepMeter sleepMeter_{platform_};
  Sample last_;
  std::uint64_t quietSince_ = 0;
};

// A length as the status line says it: "45 s", "10 minutes", "2 hours", "1:30:15".
std::string SpokenLength(std::int64_t seconds);
// Elapsed time on a clock: "3:12", "1:03:12".
std::string ClockText(std::int64_t seconds);

}  // namespace tarnby
