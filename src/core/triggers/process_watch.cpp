// /when-exits: every process of a name (or the one of an id) that ran when
// the command came, waited on until the last has ended.
#include <algorithm>

#include "core/main_window/frmstart.h"
#include "core/triggers/triggers.h"

namespace tarnby {

namespace {
constexpr std::uint32_t kPresenceMs = 2000;
constexpr char kConsoleCompanion[] = "tarnby.com";

// A file name as Windows compares it; ".exe" may be left out.
bool SameProgram(const std::string& running, const std::string& asked) {
  const std::string name = Lower(running), wanted = Lower(asked);
  return name == wanted || name == wanted + ".exe";
}
}  // namespace

std::vector<ProcessEntry> Triggers::Matching(const Command& command) {
  const When& when = command.when;
  const std::uint32_t self = platform_.GetCurrentProcessId();
  std::vector<ProcessEntry> found = platform_.ProcessSnapshot();
  // Tarnby waiting for its own end would wait for ever, and the copy that
  // asked ends as soon as it has its answer, as does tarnby.com, the console
  // companion that started it: counted, they would fire the trigger at once.
  std::uint32_t companion = 0;
  for (const ProcessEntry& asking : found)
    if (command.askedBy != 0 && asking.th32ProcessID == command.askedBy)
      for (const ProcessEntry& parent : found)
        if (parent.th32ProcessID == asking.th32ParentProcessID && Lower(parent.szExeFile) == kConsoleCompanion)
          companion = parent.th32ProcessID;
  std::erase_if(found, [&](const ProcessEntry& process) {
    const std::uint32_t id = process.th32ProcessID;
    if (id == self || (id == command.askedBy && id != 0) || (id == companion && id != 0)) return true;
    return when.pid ? id != *when.pid : !SameProgram(process.szExeFile, when.program);
  });
  return found;
}

void Triggers::ArmExits(const std::vector<ProcessEntry>& found) {
  bool absentWatch = false;
  for (const ProcessEntry& process : found) {
    const std::uintptr_t cookie = nextCookie_++;
    PlatformProcess handle(platform_, platform_.OpenProcess(w::kSynchronize, false, process.th32ProcessID));
    PlatformWait wait(platform_, handle ? platform_.RegisterWaitForSingleObject(handle.get(), f_.hwnd, cookie) : 0);
    // A process of another user or of the system may refuse to be waited on:
    // its presence in the process list then tells.
    if (!wait) {
      handle.reset();
      absentWatch = true;
    }
    watched_.push_back({process.th32ProcessID, process.szExeFile, cookie, std::move(handle), std::move(wait)});
  }
  if (absentWatch) Wait(kPresenceMs);
}

void Triggers::frmstart_ObjectSignalled(std::uintptr_t cookie) {
  if (state_ != State::Waiting) return;  // a signal that was on its way when the trigger went
  for (std::size_t i = 0; i < watched_.size(); ++i)
    if (watched_[i].wait && watched_[i].cookie == cookie) {
      // Only the process's handle says it has ended: any program may post
      // the window a message.
      if (platform_.WaitForSingleObject(watched_[i].process.get(), 0) == w::kWaitObject0) Ended(i);
      return;
    }
}

void Triggers::LookForAbsent() {
  const std::vector<ProcessEntry> running = platform_.ProcessSnapshot();
  for (std::size_t i = watched_.size(); i-- > 0;) {
    const Watched& watched = watched_[i];
    if (watched.wait) continue;
    // The same id with the same name: an id the system gave to a new process
    // after ours ended is not ours.
    const bool present = std::any_of(running.begin(), running.end(), [&](const ProcessEntry& process) {
      return process.th32ProcessID == watched.pid && Lower(process.szExeFile) == Lower(watched.name);
    });
    if (!present) {
      Ended(i);
      if (state_ != State::Waiting) return;
    }
  }
}

void Triggers::Ended(std::size_t index) {
  watched_.erase(watched_.begin() + static_cast<std::ptrdiff_t>(index));
  if (watched_.empty()) {
    Fire();
    return;
  }
  if (std::all_of(watched_.begin(), watched_.end(), [](const Watched& other) { return static_cast<bool>(other.wait); }))
    f_.tmrWhen.SetEnabled(false);  // none is left to look for
}

}  // namespace tarnby
