// The action catalogue: one row per action, with every name, control and
// picture the program gives it. The other lists (the quick actions, the tray
// boxes and their pictures, the "Pre-Selects" buttons with their rings, tips
// and pictures, the saved settings' names and orders, the hot key chain and
// its dialog, the tray's forced twins) are read off this table by ActionCode
// instead of repeating it. A form's layout stays in the form.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "core/main_window/frmstart.h"
#include "core/resource_ids.h"

namespace tarnby {

// The ten actions with a code; the code is also the registry name of the
// saved quick action and of the hot key's gating value.
enum class ActionCode { shut, shutf, restart, restartf, log, logf, restartw, sleep, screen, dos };

struct CatalogueRow {
  std::optional<ActionCode> code;  // none: "Run Program(s)...", which has no code
  const char* name;                // the registry name; null without a code
  MenuItem Frmstart::*item;        // its quick-action item in the popup menu
  Control Frmstart::*trayBox;      // the picture box that owns its tray icon
  const char* tip;                 // the tray icon's tip while it is the quick action
  bool removesOwnBox;              // its own box's icon is taken down before the add
  std::optional<ActionCode> forcedTwin;  // the forced form, which shares the tray box and the button
  Control Frmstart::*preSelection;       // its "Pre-Selects" button; a forced form's force box
  const char* preSelectionTip;           // the tip of that button or force box
  Control Frmstart::*ring;  // the ring shown round its button while it is pre-selected; null for a forced form
  int picture;              // the picture of its button and its tray box; 0 for a forced form, which has neither
  int hotKey;               // the virtual key pressed with Shift and Ctrl; 0: none
  const char* hotKeyShown;  // how the hot key settings show it
};

inline constexpr char kForceTip[] = "Uses force to close applications that are running to exit Windows faster";

// In the order of the tray boxes and of the "Pre-Selects" buttons, each
// forced form after its twin; the quick actions follow it too.
inline constexpr std::array<CatalogueRow, 11> kCatalogue = {{
    {.code = ActionCode::dos, .name = "dos", .item = &Frmstart::mnudos, .trayBox = &Frmstart::picdos,
     .tip = "Double click to exit to Dos, right click for menu", .removesOwnBox = false, .forcedTwin = std::nullopt,
     .preSelection = &Frmstart::cmddos, .preSelectionTip = "Exit to Dos", .ring = &Frmstart::shados,
     .picture = IDI_DOS, .hotKey = 0x58, .hotKeyShown = "Shift + Ctrl + X"},
    {.code = std::nullopt, .name = nullptr, .item = &Frmstart::mnuprogram, .trayBox = &Frmstart::picprogram,
     .tip = "Double click to Start selected Program(s), right click for menu", .removesOwnBox = false,
     .forcedTwin = std::nullopt, .preSelection = &Frmstart::cmdprogram,
     .preSelectionTip = "Run the program(s) you selected", .ring = &Frmstart::shaprogram, .picture = IDI_PROGRAM,
     .hotKey = 0, .hotKeyShown = nullptr},
    {.code = ActionCode::screen, .name = "screen", .item = &Frmstart::mnuscreen, .trayBox = &Frmstart::picscreen,
     .tip = "Double click to start screensaver, right click for menu", .removesOwnBox = false,
     .forcedTwin = std::nullopt, .preSelection = &Frmstart::cmdscreen, .preSelectionTip = "Start Screensaver",
     .ring = &Frmstart::shascreen, .picture = IDI_SCREEN, .hotKey = 0x51, .hotKeyShown = "Shift + Ctrl + Q"},
    {.code = ActionCode::sleep, .name = "sleep", .item = &Frmstart::mnusleep, .trayBox = &Frmstart::picsleep,
     .tip = "Double click to start Sleep Mode, right click for menu", .removesOwnBox = true,
     .forcedTwin = std::nullopt, .preSelection = &Frmstart::cmdsleep,
     .preSelectionTip = "Start Suspend mode (Win98 only)", .ring = &Frmstart::shasleep, .picture = IDI_SLEEP,
     .hotKey = 0x5A, .hotKeyShown = "Shift + Ctrl + Z"},
    {.code = ActionCode::restartw, .name = "restartw", .item = &Frmstart::mnuwin, .trayBox = &Frmstart::picwin,
     .tip = "Double click to Restart Windows Only, right click for menu", .removesOwnBox = false,
     .forcedTwin = std::nullopt, .preSelection = &Frmstart::cmdcd, .preSelectionTip = "Restart Windows Only",
     .ring = &Frmstart::shacd, .picture = IDI_WIN, .hotKey = 0x57, .hotKeyShown = "Shift + Ctrl + W"},
    {.code = ActionCode::restart, .name = "restart", .item = &Frmstart::mnurestart, .trayBox = &Frmstart::picrestart,
     .tip = "Double click to Restart Computer, right click for menu", .removesOwnBox = true,
     .forcedTwin = ActionCode::restartf, .preSelection = &Frmstart::cmdrestart, .preSelectionTip = "Restart Computer",
     .ring = &Frmstart::sharestart, .picture = IDI_RESTART, .hotKey = 0x71, .hotKeyShown = "Shift + Ctrl + F2"},
    {.code = ActionCode::restartf, .name = "restartf", .item = &Frmstart::mnurestartf,
     .trayBox = &Frmstart::picrestart, .tip = "Double click to Forcefully Restart Computer", .removesOwnBox = true,
     .forcedTwin = std::nullopt, .preSelection = &Frmstart::chkrestart, .preSelectionTip = kForceTip, .ring = nullptr,
     .picture = 0, .hotKey = 0x70, .hotKeyShown = "Shift + Ctrl + F1"},
    {.code = ActionCode::log, .name = "log", .item = &Frmstart::mnulog, .trayBox = &Frmstart::piclog,
     .tip = "Double click to Log Off, right click for menu", .removesOwnBox = true, .forcedTwin = ActionCode::logf,
     .preSelection = &Frmstart::cmdlog, .preSelectionTip = "Log Current User Off", .ring = &Frmstart::shalog,
     .picture = IDI_LOG, .hotKey = 0x4C, .hotKeyShown = "Shift + Ctrl + L"},
    {.code = ActionCode::logf, .name = "logf", .item = &Frmstart::mnulogf, .trayBox = &Frmstart::piclog,
     .tip = "Double click to Forcefully Log Off the Computer", .removesOwnBox = true, .forcedTwin = std::nullopt,
     .preSelection = &Frmstart::chklog, .preSelectionTip = kForceTip, .ring = nullptr, .picture = 0, .hotKey = 0x74,
     .hotKeyShown = "Shift + Ctrl + F5"},
    {.code = ActionCode::shut, .name = "shut", .item = &Frmstart::mnushut, .trayBox = &Frmstart::picshut,
     .tip = "Double click to Shut Down, right click for menu", .removesOwnBox = true, .forcedTwin = ActionCode::shutf,
     .preSelection = &Frmstart::cmdshut, .preSelectionTip = "Shut Down Computer", .ring = &Frmstart::shashut,
     .picture = IDI_SHUT, .hotKey = 0x79, .hotKeyShown = "Shift + Ctrl + F10"},
    {.code = ActionCode::shutf, .name = "shutf", .item = &Frmstart::mnushutf, .trayBox = &Frmstart::picshut,
     .tip = "Double click to Forcefully Shut Down the Computer", .removesOwnBox = true, .forcedTwin = std::nullopt,
     .preSelection = &Frmstart::chkshut, .preSelectionTip = kForceTip, .ring = nullptr, .picture = 0,
     .hotKey = 0x78, .hotKeyShown = "Shift + Ctrl + F9"},
}};

// The one row without a code: "Run Program(s)...".
inline constexpr const CatalogueRow& kRunProgramsRow = kCatalogue[1];

// The row of a coded action.
constexpr const CatalogueRow& Catalogued(ActionCode code) {
  for (const CatalogueRow& row : kCatalogue)
    if (row.code == code) return row;
  return kCatalogue.front();  // every code has its row
}

// The registry name of a coded action.
constexpr const char* CodeName(ActionCode code) { return Catalogued(code).name; }

// A forced form: another row's twin, with no button, ring or tray box of its own.
constexpr bool IsForcedForm(const CatalogueRow& row) {
  for (const CatalogueRow& other : kCatalogue)
    if (row.code && other.forcedTwin == row.code) return true;
  return false;
}

// The rows with a "Pre-Selects" button, a ring and a tray box of their own.
constexpr std::size_t CountOwnBoxes() {
  std::size_t count = 0;
  for (const CatalogueRow& row : kCatalogue) count += IsForcedForm(row) ? 0 : 1;
  return count;
}
inline constexpr std::size_t kOwnBoxes = CountOwnBoxes();

constexpr bool EveryOwnBoxHasItsRingAndPicture() {
  for (const CatalogueRow& row : kCatalogue)
    if (IsForcedForm(row) != (row.ring == nullptr) || IsForcedForm(row) != (row.picture == 0)) return false;
  return true;
}
static_assert(EveryOwnBoxHasItsRingAndPicture(), "a ring and a picture for each own box, none for a forced form");

constexpr std::array<const CatalogueRow*, kOwnBoxes> OwnBoxRows() {
  std::array<const CatalogueRow*, kOwnBoxes> rows{};
  std::size_t i = 0;
  for (const CatalogueRow& row : kCatalogue)
    if (!IsForcedForm(row)) rows[i++] = &row;
  return rows;
}
// The rows of the eight buttons and tray boxes, in the catalogue's order.
inline constexpr std::array<const CatalogueRow*, kOwnBoxes> kOwnBoxRows = OwnBoxRows();

// The owners of a tray icon, in the catalogue's order.
inline std::array<Control*, kOwnBoxes> TrayBoxes(Frmstart& f) {
  std::array<Control*, kOwnBoxes> boxes{};
  for (std::size_t i = 0; i < kOwnBoxes; ++i) boxes[i] = &(f.*kOwnBoxRows[i]->trayBox);
  return boxes;
}

// The registry names of a list of actions, in the list's own order.
template <std::size_t N>
constexpr std::array<const char*, N> NamesOf(const std::array<ActionCode, N>& codes) {
  std::array<const char*, N> names{};
  for (std::size_t i = 0; i < N; ++i) names[i] = Catalogued(codes[i]).name;
  return names;
}

// The ten actions under whose names a quick action is saved and a hot key is
// gated, in the order the saved settings are read.
inline constexpr std::array<ActionCode, 10> kSettingsReadOrder = {
    ActionCode::restart, ActionCode::restartf, ActionCode::restartw, ActionCode::screen, ActionCode::sleep,
    ActionCode::dos,     ActionCode::log,      ActionCode::logf,     ActionCode::shut,   ActionCode::shutf};
inline constexpr std::array<const char*, 10> kActionCodes = NamesOf(kSettingsReadOrder);

}  // namespace tarnby
