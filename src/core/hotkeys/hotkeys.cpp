#include "core/hotkeys/hotkeys.h"

#include <string>

#include "core/system/folders.h"
#include "core/system/platform_owned.h"
#include "core/system/scoped.h"
#include "core/system/settings_store.h"

namespace tarnby {

namespace {

constexpr std::uint32_t kNotOrdinary = w::kFileAttributeHidden | w::kFileAttributeSystem | w::kFileAttributeDirectory;

std::string WithoutBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// True when the folder holds at least one ordinary file: read-only and archive
// files count; hidden and system files and subfolders do not.
bool HoldsOrdinaryFile(Platform& platform, const std::string& folder) {
  FindData entry;
  const PlatformSearch search(platform, platform.FindFirstFile(folder + "\\*.*", entry));
  if (!search) return false;
  bool found = false;
  do {
    found = (entry.dwFileAttributes & kNotOrdinary) == 0;
  } while (!found && platform.FindNextFile(search.get(), entry));
  return found;
}

}  // namespace

HotKeys::HotKeys(Platform& platform, Frmstart& frmstart, Actions& actions)
    : platform_(platform), frmstart_(frmstart), actions_(actions) {
  frmstart_.Timer3.onTimer = [this] { Timer3_Timer(); };
}

void HotKeys::Timer3_Timer() {
  if (frmstart_.mnupopmenu.open) UpdateMenuItems();
  PollHotKeys();
}

void HotKeys::UpdateMenuItems() {
  UpdateDocumentsItem();
  UpdateNetItem();
}

void HotKeys::UpdateDocumentsItem() {
  Platform& platform = platform_;
  const std::string folder = WithoutBlanks(GetSpecialFolder(platform, frmstart_.hwnd, w::kCsidlRecent));
  frmstart_.mnudoc.enabled = !folder.empty() && HoldsOrdinaryFile(platform, folder);
}

void HotKeys::UpdateNetItem() { frmstart_.mnunet.enabled = actions_.ActiveConnection(); }

bool HotKeys::Held(const HotKeyRow& row) {
  Platform& platform = platform_;
  // Restart reads its function key between the two modifiers; every other row
  // reads Shift, Ctrl, then its key.
  const bool keyBetween = row.action == ActionCode::restart;
  const std::int16_t shift = platform.GetAsyncKeyState(w::kVkShift);
  const std::int16_t second = platform.GetAsyncKeyState(keyBetween ? row.virtualKey : w::kVkControl);
  const std::int16_t third = platform.GetAsyncKeyState(keyBetween ? w::kVkControl : row.virtualKey);
  return (shift & second & third) != 0;
}

void HotKeys::PollHotKeys() {
  // Every combination needs Shift and Ctrl down. While either is up, which is
  // nearly always, one look at the two settles the tick: no row is held, and
  // every latch lets go. Otherwise the chain reads its keys afresh.
  Platform& platform = platform_;
  if ((platform.GetAsyncKeyState(w::kVkShift) & platform.GetAsyncKeyState(w::kVkControl)) == 0) {
    latched_.reset();
    return;
  }
  std::bitset<kHotKeyChain.size()> tested;
  for (std::size_t i = 0; i < kHotKeyChain.size(); ++i) {
    const HotKeyRow& row = kHotKeyChain[i];
    tested.set(i);
    if (!Held(row)) {
      latched_.reset(i);
      continue;
    }
    // Read at the moment of detection, so a change in the dialog counts at once.
    if (IsTrue(ReadRegString(platform_, w::kHkeyCurrentUser, kCheckKey, row.gate))) {
      if (!latched_[i]) {
        latched_.set(i);
        if (performing_ != i) {
          const ScopedValue<std::size_t> performing(performing_, i);
          actions_.Perform(row.action, Caller::HotKey);
        }
      }
      break;
    }
    if (row.action != ActionCode::screen) break;
  }
  // A latch lets go only when its keys are seen up, also for rows the chain
  // did not reach on this tick.
  for (std::size_t i = 0; i < kHotKeyChain.size(); ++i)
    if (latched_[i] && !tested[i] && !Held(kHotKeyChain[i])) latched_.reset(i);
}

}  // namespace tarnby
