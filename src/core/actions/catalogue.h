// The action catalogue: one row per action, with every name, control, picture
// and text the program gives it, and every order in which the program walks
// the actions. The other lists (the quick actions, the tray boxes and their
// pictures, the "Pre-Selects" buttons with their rings, tips and pictures, the
// saved settings, the hot key chain and its dialog, the command line's names,
// the status line and the notice) are read off this file instead of
// repeating it. A form's layout stays in the form.
//
// A new action is a new ActionCode, its row, and its place in each order: the
// compiler names every place that is missing (the switches over ActionCode
// have no default, and the checks at the end of this file fail the build).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

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
  const char* switchName;   // the command line's name for it ("shutdown" for /shutdown); null for a forced form
  const char* status;       // what the status line calls it: "shut down in 1:29:58"
  // What the balloon says it does ("Tarnby will <notice> in 60 seconds.");
  // null for an action after which the session goes on.
  const char* notice;
  // At zero of a countdown the session (or Windows) ends with it, and Tarnby
  // with it, at once.
  bool endsSession;
};

inline constexpr char kForceTip[] = "Uses force to close applications that are running to exit Windows faster";

// In the order of the tray boxes and of the "Pre-Selects" buttons, each
// forced form after its twin; the quick actions follow it too.
inline constexpr std::array<CatalogueRow, 11> kCatalogue = {{
    {.code = ActionCode::dos, .name = "dos", .item = &Frmstart::mnudos, .trayBox = &Frmstart::picdos,
     .tip = "Double click to exit to Dos, right click for menu", .removesOwnBox = false, .forcedTwin = std::nullopt,
     .preSelection = &Frmstart::cmddos, .preSelectionTip = "Exit to Dos", .ring = &Frmstart::shados,
     .picture = IDI_DOS, .hotKey = 0x58, .hotKeyShown = "Shift + Ctrl + X",
     .switchName = "dos", .status = "exit to DOS", .notice = "exit to DOS", .endsSession = true},
    {.code = std::nullopt, .name = nullptr, .item = &Frmstart::mnuprogram, .trayBox = &Frmstart::picprogram,
     .tip = "Double click to Start selected Program(s), right click for menu", .removesOwnBox = false,
     .forcedTwin = std::nullopt, .preSelection = &Frmstart::cmdprogram,
     .preSelectionTip = "Run the program(s) you selected", .ring = &Frmstart::shaprogram, .picture = IDI_PROGRAM,
     .hotKey = 0, .hotKeyShown = nullptr,
     .switchName = "programs", .status = "run the programs", .notice = nullptr, .endsSession = false},
    {.code = ActionCode::screen, .name = "screen", .item = &Frmstart::mnuscreen, .trayBox = &Frmstart::picscreen,
     .tip = "Double click to start screensaver, right click for menu", .removesOwnBox = false,
     .forcedTwin = std::nullopt, .preSelection = &Frmstart::cmdscreen, .preSelectionTip = "Start Screensaver",
     .ring = &Frmstart::shascreen, .picture = IDI_SCREEN, .hotKey = 0x51, .hotKeyShown = "Shift + Ctrl + Q",
     .switchName = "screensaver", .status = "start the screen saver", .notice = nullptr, .endsSession = false},
    {.code = ActionCode::sleep, .name = "sleep", .item = &Frmstart::mnusleep, .trayBox = &Frmstart::picsleep,
     .tip = "Double click to start Sleep Mode, right click for menu", .removesOwnBox = true,
     .forcedTwin = std::nullopt, .preSelection = &Frmstart::cmdsleep,
     .preSelectionTip = "Start Suspend mode (Win98 only)", .ring = &Frmstart::shasleep, .picture = IDI_SLEEP,
     .hotKey = 0x5A, .hotKeyShown = "Shift + Ctrl + Z",
     .switchName = "suspend", .status = "suspend", .notice = nullptr, .endsSession = false},
    {.code = ActionCode::restartw, .name = "restartw", .item = &Frmstart::mnuwin, .trayBox = &Frmstart::picwin,
     .tip = "Double click to Restart Windows Only, right click for menu", .removesOwnBox = false,
     .forcedTwin = std::nullopt, .preSelection = &Frmstart::cmdcd, .preSelectionTip = "Restart Windows Only",
     .ring = &Frmstart::shacd, .picture = IDI_WIN, .hotKey = 0x57, .hotKeyShown = "Shift + Ctrl + W",
     .switchName = "restartwindows", .status = "restart Windows only", .notice = "restart Windows", .endsSession = true},
    {.code = ActionCode::restart, .name = "restart", .item = &Frmstart::mnurestart, .trayBox = &Frmstart::picrestart,
     .tip = "Double click to Restart Computer, right click for menu", .removesOwnBox = true,
     .forcedTwin = ActionCode::restartf, .preSelection = &Frmstart::cmdrestart, .preSelectionTip = "Restart Computer",
     .ring = &Frmstart::sharestart, .picture = IDI_RESTART, .hotKey = 0x71, .hotKeyShown = "Shift + Ctrl + F2",
     .switchName = "restart", .status = "restart", .notice = "restart the computer", .endsSession = true},
    {.code = ActionCode::restartf, .name = "restartf", .item = &Frmstart::mnurestartf,
     .trayBox = &Frmstart::picrestart, .tip = "Double click to Forcefully Restart Computer", .removesOwnBox = true,
     .forcedTwin = std::nullopt, .preSelection = &Frmstart::chkrestart, .preSelectionTip = kForceTip, .ring = nullptr,
     .picture = 0, .hotKey = 0x70, .hotKeyShown = "Shift + Ctrl + F1",
     .switchName = nullptr, .status = "forced restart", .notice = "force the computer to restart", .endsSession = true},
    {.code = ActionCode::log, .name = "log", .item = &Frmstart::mnulog, .trayBox = &Frmstart::piclog,
     .tip = "Double click to Log Off, right click for menu", .removesOwnBox = true, .forcedTwin = ActionCode::logf,
     .preSelection = &Frmstart::cmdlog, .preSelectionTip = "Log Current User Off", .ring = &Frmstart::shalog,
     .picture = IDI_LOG, .hotKey = 0x4C, .hotKeyShown = "Shift + Ctrl + L",
     .switchName = "logoff", .status = "log off", .notice = "log you off", .endsSession = true},
    {.code = ActionCode::logf, .name = "logf", .item = &Frmstart::mnulogf, .trayBox = &Frmstart::piclog,
     .tip = "Double click to Forcefully Log Off the Computer", .removesOwnBox = true, .forcedTwin = std::nullopt,
     .preSelection = &Frmstart::chklog, .preSelectionTip = kForceTip, .ring = nullptr, .picture = 0, .hotKey = 0x74,
     .hotKeyShown = "Shift + Ctrl + F5",
     .switchName = nullptr, .status = "forced log off", .notice = "force you to log off", .endsSession = true},
    {.code = ActionCode::shut, .name = "shut", .item = &Frmstart::mnushut, .trayBox = &Frmstart::picshut,
     .tip = "Double click to Shut Down, right click for menu", .removesOwnBox = true, .forcedTwin = ActionCode::shutf,
     .preSelection = &Frmstart::cmdshut, .preSelectionTip = "Shut Down Computer", .ring = &Frmstart::shashut,
     .picture = IDI_SHUT, .hotKey = 0x79, .hotKeyShown = "Shift + Ctrl + F10",
     .switchName = "shutdown", .status = "shut down", .notice = "shut down the computer", .endsSession = true},
    {.code = ActionCode::shutf, .name = "shutf", .item = &Frmstart::mnushutf, .trayBox = &Frmstart::picshut,
     .tip = "Double click to Forcefully Shut Down the Computer", .removesOwnBox = true, .forcedTwin = std::nullopt,
     .preSelection = &Frmstart::chkshut, .preSelectionTip = kForceTip, .ring = nullptr, .picture = 0,
     .hotKey = 0x78, .hotKeyShown = "Shift + Ctrl + F9",
     .switchName = nullptr, .status = "forced shut down", .notice = "force the computer to shut down", .endsSession = true},
}};

// The one row without a code: "Run Program(s)...".
inline constexpr const CatalogueRow& kRunProgramsRow = kCatalogue[1];

// Every code, once: the switch has no default, so a code added to the enum
// stops the build here until it is listed, and then at the checks below until
// it has its row and its place in each order.
constexpr bool IsActionCode(ActionCode code) {
  switch (code) {
    case ActionCode::shut:
    case ActionCode::shutf:
    case ActionCode::restart:
    case ActionCode::restartf:
    case ActionCode::log:
    case ActionCode::logf:
    case ActionCode::restartw:
    case ActionCode::sleep:
    case ActionCode::screen:
    case ActionCode::dos:
      return true;
  }
  return false;
}

constexpr std::size_t CountActionCodes() {
  std::size_t count = 0;
  while (IsActionCode(static_cast<ActionCode>(count))) ++count;
  return count;
}
inline constexpr std::size_t kActionCodeCount = CountActionCodes();

constexpr std::size_t IndexOf(ActionCode code) { return static_cast<std::size_t>(code); }

// Where each code's row stands; kCatalogue.size() where it has none (which
// the checks below refuse).
constexpr std::array<std::size_t, kActionCodeCount> RowIndexes() {
  std::array<std::size_t, kActionCodeCount> indexes{};
  for (std::size_t& index : indexes) index = kCatalogue.size();
  for (std::size_t i = 0; i < kCatalogue.size(); ++i)
    if (kCatalogue[i].code) indexes[IndexOf(*kCatalogue[i].code)] = i;
  return indexes;
}
inline constexpr std::array<std::size_t, kActionCodeCount> kRowIndexes = RowIndexes();

// The row of a coded action.
constexpr const CatalogueRow& Catalogued(ActionCode code) { return kCatalogue[kRowIndexes[IndexOf(code)]]; }

// The row of an action named as an order names it: a code, or none for
// "Run Program(s)...".
constexpr const CatalogueRow& Catalogued(const std::optional<ActionCode>& code) {
  return code ? Catalogued(*code) : kRunProgramsRow;
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

// The orders in which the program walks the actions. Each is checked below to
// hold every action it orders exactly once.

// The ten actions under whose names a quick action is saved and a hot key is
// gated, in the order the saved settings are read.
inline constexpr std::array<ActionCode, 10> kSettingsReadOrder = {
    ActionCode::restart, ActionCode::restartf, ActionCode::restartw, ActionCode::screen, ActionCode::sleep,
    ActionCode::dos,     ActionCode::log,      ActionCode::logf,     ActionCode::shut,   ActionCode::shutf};
inline constexpr std::array<const char*, 10> kActionCodes = NamesOf(kSettingsReadOrder);

// The order they are written in, which is also the hot key dialog's rows from
// the top.
inline constexpr std::array<ActionCode, 10> kSettingsWriteOrder = {
    ActionCode::restart, ActionCode::restartw, ActionCode::restartf, ActionCode::screen, ActionCode::sleep,
    ActionCode::dos,     ActionCode::log,      ActionCode::logf,     ActionCode::shut,   ActionCode::shutf};

// The hot keys in the order the poller tests them: the order decides which of
// several held combinations wins.
inline constexpr std::array<ActionCode, 10> kHotKeyOrder = {
    ActionCode::restart, ActionCode::restartf, ActionCode::restartw, ActionCode::shut, ActionCode::shutf,
    ActionCode::screen,  ActionCode::sleep,    ActionCode::dos,      ActionCode::log,  ActionCode::logf};

// At zero of a countdown the first pre-selection that holds wins: a ticked
// force box before its own ring, and the actions in this order.
inline constexpr std::array<std::optional<ActionCode>, kCatalogue.size()> kZeroOrder = {
    ActionCode::restartf, ActionCode::restart, std::nullopt,         ActionCode::restartw,
    ActionCode::screen,   ActionCode::shutf,   ActionCode::shut,     ActionCode::dos,
    ActionCode::logf,     ActionCode::log,     ActionCode::sleep};

// The eight pre-selections as the command line, its usage and the status
// line's answers number them.
inline constexpr std::array<std::optional<ActionCode>, kOwnBoxes> kPreSelectOrder = {
    ActionCode::shut,   ActionCode::restart, ActionCode::log, ActionCode::restartw,
    ActionCode::sleep,  ActionCode::screen,  ActionCode::dos, std::nullopt};

// True when `order` names, exactly once each, the rows `counted` holds, and
// nothing else.
template <typename Code, std::size_t N>
constexpr bool OrdersEach(const std::array<Code, N>& order, bool (*counted)(const CatalogueRow&)) {
  for (const CatalogueRow& row : kCatalogue) {
    std::size_t times = 0;
    for (const Code& code : order)
      if (&Catalogued(code) == &row) ++times;
    if (times != (counted(row) ? 1U : 0U)) return false;
  }
  return true;
}
constexpr bool EveryRow(const CatalogueRow&) { return true; }
constexpr bool EveryCodedRow(const CatalogueRow& row) { return row.code.has_value(); }
constexpr bool EveryHotKey(const CatalogueRow& row) { return row.hotKey != 0; }
constexpr bool EveryOwnBox(const CatalogueRow& row) { return !IsForcedForm(row); }

constexpr bool EveryCodeHasOneRow() {
  for (std::size_t code = 0; code < kActionCodeCount; ++code) {
    std::size_t rows = 0;
    for (const CatalogueRow& row : kCatalogue)
      if (row.code && IndexOf(*row.code) == code) ++rows;
    if (rows != 1) return false;
  }
  return kCatalogue.size() == kActionCodeCount + 1;  // and "Run Program(s)...", which has no code
}
static_assert(EveryCodeHasOneRow(), "every ActionCode has exactly one row");

constexpr bool EveryRowIsNamedAndSaid() {
  for (const CatalogueRow& row : kCatalogue) {
    if (IsForcedForm(row) == (row.switchName != nullptr) || row.status == nullptr) return false;
    if (row.endsSession != (row.notice != nullptr)) return false;  // the balloon warns of every end, of nothing else
  }
  return true;
}
static_assert(EveryRowIsNamedAndSaid(), "a command-line name for each own box, a status for all, a notice for each end");

constexpr bool HotKeysAreDistinctAndTipsFit() {
  for (const CatalogueRow& row : kCatalogue) {
    // The tray's tip field holds 64 characters on every system, the last a NUL.
    if (std::char_traits<char>::length(row.tip) >= 64) return false;
    for (const CatalogueRow& other : kCatalogue)
      if (&other != &row && row.hotKey != 0 && other.hotKey == row.hotKey) return false;
  }
  return true;
}
static_assert(HotKeysAreDistinctAndTipsFit(), "one action per hot key, and every tip fits the tray's field");

static_assert(OrdersEach(kSettingsReadOrder, EveryCodedRow), "the settings are read for every code, once");
static_assert(OrdersEach(kSettingsWriteOrder, EveryCodedRow), "the settings are written for every code, once");
static_assert(OrdersEach(kHotKeyOrder, EveryHotKey), "the poller tests every hot key, once");
static_assert(OrdersEach(kZeroOrder, EveryRow), "zero tests every action, once");
static_assert(OrdersEach(kPreSelectOrder, EveryOwnBox), "the command line names every pre-selection, once");

}  // namespace tarnby
