// Triggers: a command's countdown that starts when a job is done instead of
// at a time: when every process of a name has ended, when nobody has used
// the keyboard or mouse for a while, or when the processors and the network
// have been quiet for a while. The countdown then runs exactly as one from
// the command line does. What each kind waits for is its watch's business
// (watch.h, one file per kind); this arms one, fires it and says it.
//
// Nothing here polls fast. A process is waited on through its handle (the
// system posts the main window a message when it ends); only one that may not
// be opened is looked for every two seconds. The idle wait sleeps until the
// moment the idle time would reach its length; the quiet wait samples every
// five seconds.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/command_line/command_line.h"
#include "core/platform.h"
#include "core/triggers/watch.h"

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
  // that name runs), as the message says it.
  std::optional<std::string> Refusal(const Command& command);
  // Arms the command's trigger in place of any other. Processes that have
  // all ended since Refusal looked have done what was waited for: it fires.
  //
  // A waiting trigger runs what the main window shows when it fires, as a
  // countdown runs what the window shows at zero: the command's action is
  // pre-selected when it is armed, and a Pre-Selects button or an untimed
  // command meanwhile changes what the trigger runs. The tray's tip and the
  // status line name what the window shows.
  void Arm(const Command& command);
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
  // Waiting: armed. Watching: a trigger fired whose countdown stops when the
  // user comes back.
  enum class State { Off, Waiting, Watching };

  // Makes command_'s watch and arms it.
  void StartWatching();
  void Fire();
  std::string Sentence() const;
  void ShowWaitingTip();
  void WatchForReturn();

  Platform& platform_;
  Frmstart& f_;
  Countdown& countdown_;
  Tray& tray_;  // its tip says what a waiting trigger waits for
  IdleClock idle_{platform_};
  WatchParts parts_{platform_, f_, idle_};
  State state_ = State::Off;
  Command command_;
  std::unique_ptr<Watch> watch_;  // while Waiting
  std::uint32_t inputAtFire_ = 0;
};

}  // namespace tarnby
