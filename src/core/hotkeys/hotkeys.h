// The ten global hot keys (Shift+Ctrl+key), polled from the main window's
// Timer3 every 50 ms for the life of the program, and the upkeep of the two
// popup menu items that follow the system's state on the same tick.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>

#include "core/actions/actions.h"

namespace tarnby {

// One hot key: the key pressed with Shift and Ctrl, how the settings dialog
// shows it, and the registry name of its gating value under the check key.
struct HotKeyRow {
  int virtualKey;
  const char* shownAs;
  const char* gate;
  ActionCode action;
};

// A coded action's hot key, as the catalogue has it.
constexpr HotKeyRow HotKeyOf(ActionCode code) {
  const CatalogueRow& row = Catalogued(code);
  return {row.hotKey, row.hotKeyShown, row.name, code};
}

// In the order the poller tests them; the order decides which of several
// held combinations wins. When the screen saver's keys are held but its hot
// key is not enabled, the chain goes on with the rows after it instead of
// ending the tick.
constexpr std::array<HotKeyRow, kHotKeyOrder.size()> HotKeyChain() {
  std::array<HotKeyRow, kHotKeyOrder.size()> chain{};
  for (std::size_t i = 0; i < chain.size(); ++i) chain[i] = HotKeyOf(kHotKeyOrder[i]);
  return chain;
}
inline constexpr std::array<HotKeyRow, kHotKeyOrder.size()> kHotKeyChain = HotKeyChain();

class HotKeys {
 public:
  HotKeys(Platform& platform, Frmstart& frmstart, Actions& actions);

  // One tick of Timer3: the hot key chain, and while the popup menu is down
  // the upkeep of its two items that follow the system.
  void Timer3_Timer();

  // "Clear Doc&uments Folder" is enabled only while the recent documents
  // folder holds an ordinary file (not hidden, not system, not a folder), and
  // "Disconnect from &Internet" only while a dial-up connection is up. Asking
  // the shell for the folder, listing it and reading the dial-up state is
  // nearly all of what a tick would cost, and nobody sees the two items
  // unless the menu is down: so they are brought in step as it drops down
  // and on every tick while it stays down.
  void UpdateMenuItems();
  void UpdateDocumentsItem();
  void UpdateNetItem();
  // Walk the chain and perform at most one action.
  void PollHotKeys();

 private:
  bool Held(const HotKeyRow& row);

  Platform& platform_;
  Frmstart& frmstart_;
  Actions& actions_;
  // Rows whose action ran and whose keys have not been seen released since:
  // one action per press, however long the keys stay down.
  std::bitset<kHotKeyChain.size()> latched_;
  // The row whose action is running now. Its file dialog runs a message loop
  // in which this timer keeps ticking; the row must not start again under it.
  std::size_t performing_ = kHotKeyChain.size();
};

}  // namespace tarnby
