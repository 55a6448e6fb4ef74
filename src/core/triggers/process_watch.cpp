// /when-exits: every process of a name (or the one of an id) that ran when
// the command came, waited on until the last has ended.
#include <algorithm>
#include <vector>

#include "core/command_line/trigger_kinds.h"
#include "core/main_window/frmstart.h"
#include "core/system/platform_owned.h"
#include "core/triggers/watch.h"

namespace tarnby {

namespace {
constexpr std::uint32_t kPresenceMs = 2000;
constexpr char kConsoleCompanion[] = "tarnby.com";

// A file name as Windows compares it; ".exe" may be left out.
bool SameProgram(const std::string& running, const std::string& asked) {
  const std::string name = Lower(running), wanted = Lower(asked);
  return name == wanted || name == wanted + ".exe";
}

class ProcessWatch : public Watch {
 public:
  using Watch::Watch;

  std::optional<std::string> Refusal() override {
    if (!Matching().empty()) return std::nullopt;
    const When& when = command_.when;
    if (when.pid) return "No process has the id " + std::to_string(*when.pid) + ", so there is nothing to wait for.";
    return "No program named \"" + when.program + "\" is running, so there is nothing to wait for.";
  }

  bool Arm() override {
    // Processes that have all ended since the refusal looked have done what
    // was waited for.
    const std::vector<ProcessEntry> found = Matching();
    if (found.empty()) return true;
    Platform& platform = parts_.platform;
    bool absentWatch = false;
    for (const ProcessEntry& process : found) {
      const std::uintptr_t cookie = parts_.NextCookie();
      PlatformProcess handle(platform, platform.OpenProcess(w::kSynchronize, false, process.th32ProcessID));
      PlatformWait wait(platform, handle ? platform.RegisterWaitForSingleObject(handle.get(), parts_.f.hwnd, cookie) : 0);
      // A process of another user or of the system may refuse to be waited
      // on: its presence in the process list then tells.
      if (!wait) {
        handle.reset();
        absentWatch = true;
      }
      watched_.push_back({process.th32ProcessID, process.szExeFile, cookie, std::move(handle), std::move(wait)});
    }
    if (absentWatch) parts_.LookIn(kPresenceMs);
    return false;
  }

  // Those looked for by their presence.
  bool Look() override {
    const std::vector<ProcessEntry> running = parts_.platform.ProcessSnapshot();
    for (std::size_t i = watched_.size(); i-- > 0;) {
      const Watched& watched = watched_[i];
      if (watched.wait) continue;
      // The same id with the same name: an id the system gave to a new
      // process after ours ended is not ours.
      const bool present = std::any_of(running.begin(), running.end(), [&](const ProcessEntry& process) {
        return process.th32ProcessID == watched.pid && Lower(process.szExeFile) == Lower(watched.name);
      });
      if (!present && Ended(i)) return true;
    }
    return false;
  }

  bool Signalled(std::uintptr_t cookie) override {
    for (std::size_t i = 0; i < watched_.size(); ++i)
      if (watched_[i].wait && watched_[i].cookie == cookie)
        // Only the process's handle says it has ended: any program may post
        // the window a message.
        return parts_.platform.WaitForSingleObject(watched_[i].process.get(), 0) == w::kWaitObject0 && Ended(i);
    return false;
  }

  std::string Said() const override {
    const When& when = command_.when;
    std::string program = watched_.empty() ? when.program : watched_.front().name;
    if (when.pid) program += " (process " + std::to_string(*when.pid) + ")";
    return SpokenLength(command_.inSeconds.value_or(kTriggerCountdownSeconds)) + " after " + program + " exits";
  }

 private:
  // A process waited on: through its handle, or by its presence when it may
  // not be opened (wait is empty then).
  struct Watched {
    std::uint32_t pid = 0;
    std::string name;
    std::uintptr_t cookie = 0;
    PlatformProcess process;
    PlatformWait wait;  // after the process: it goes first
  };

  std::vector<ProcessEntry> Matching() {
    Platform& platform = parts_.platform;
    const When& when = command_.when;
    const std::uint32_t self = platform.GetCurrentProcessId(), askedBy = command_.askedBy;
    std::vector<ProcessEntry> found = platform.ProcessSnapshot();
    // Tarnby waiting for its own end would wait for ever, and the copy that
    // asked ends as soon as it has its answer, as does tarnby.com, the
    // console companion that started it: counted, they would fire the
    // trigger at once.
    std::uint32_t companion = 0;
    for (const ProcessEntry& asking : found)
      if (askedBy != 0 && asking.th32ProcessID == askedBy)
        for (const ProcessEntry& parent : found)
          if (parent.th32ProcessID == asking.th32ParentProcessID && Lower(parent.szExeFile) == kConsoleCompanion)
            companion = parent.th32ProcessID;
    std::erase_if(found, [&](const ProcessEntry& process) {
      const std::uint32_t id = process.th32ProcessID;
      if (id == self || (id == askedBy && id != 0) || (id == companion && id != 0)) return true;
      return when.pid ? id != *when.pid : !SameProgram(process.szExeFile, when.program);
    });
    return found;
  }

  // True when it was the last.
  bool Ended(std::size_t index) {
    watched_.erase(watched_.begin() + static_cast<std::ptrdiff_t>(index));
    if (watched_.empty()) return true;
    if (std::all_of(watched_.begin(), watched_.end(), [](const Watched& other) { return static_cast<bool>(other.wait); }))
      parts_.StopLooking();  // none is left to look for
    return false;
  }

  std::vector<Watched> watched_;
};

}  // namespace

std::unique_ptr<Watch> WatchExits(WatchParts& parts, const Command& command) {
  return std::make_unique<ProcessWatch>(parts, command);
}

}  // namespace tarnby
