// The action catalogue: one row per action, with every name the program gives
// it. The other lists (the quick actions, the tray, the saved settings, the hot
// key chain, the tray's forced twins) index this table instead of repeating it.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "core/main_window/frmstart.h"

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
  std::optional<ActionCode> forcedTwin;  // the forced form, which shares the tray box
  Control Frmstart::*preSelection;       // its "Pre-Selects" button; a forced form's force box
  int hotKey;                            // the virtual key pressed with Shift and Ctrl; 0: none
  const char* hotKeyShown;               // how the hot key settings show it
};

// In the popup menu's order, which is also the order of the quick actions.
inline constexpr std::array<CatalogueRow, 11> kCatalogue = {{
    {ActionCode::dos, "dos", &Frmstart::mnudos, &Frmstart::picdos, "Double click to exit to Dos, right click for menu",
     false, std::nullopt, &Frmstart::cmddos, 0x58, "Shift + Ctrl + X"},
    {std::nullopt, nullptr, &Frmstart::mnuprogram, &Frmstart::picprogram,
     "Double click to Start selected Program(s), right click for menu", false, std::nullopt, &Frmstart::cmdprogram, 0,
     nullptr},
    {ActionCode::screen, "screen", &Frmstart::mnuscreen, &Frmstart::picscreen,
     "Double click to start screensaver, right click for menu", false, std::nullopt, &Frmstart::cmdscreen, 0x51,
     "Shift + Ctrl + Q"},
    {ActionCode::restartw, "restartw", &Frmstart::mnuwin, &Frmstart::picwin,
     "Double click to Restart Windows Only, right click for menu", false, std::nullopt, &Frmstart::cmdcd, 0x57,
     "Shift + Ctrl + W"},
    {ActionCode::sleep, "sleep", &Frmstart::mnusleep, &Frmstart::picsleep,
     "Double click to start Sleep Mode, right click for menu", true, std::nullopt, &Frmstart::cmdsleep, 0x5A,
     "Shift + Ctrl + Z"},
    {ActionCode::restart, "restart", &Frmstart::mnurestart, &Frmstart::picrestart,
     "Double click to Restart Computer, right click for menu", true, ActionCode::restartf, &Frmstart::cmdrestart, 0x71,
     "Shift + Ctrl + F2"},
    {ActionCode::restartf, "restartf", &Frmstart::mnurestartf, &Frmstart::picrestart,
     "Double click to Forcefully Restart Computer", true, std::nullopt, &Frmstart::chkrestart, 0x70,
     "Shift + Ctrl + F1"},
    {ActionCode::log, "log", &Frmstart::mnulog, &Frmstart::piclog, "Double click to Log Off, right click for menu", true,
     ActionCode::logf, &Frmstart::cmdlog, 0x4C, "Shift + Ctrl + L"},
    {ActionCode::logf, "logf", &Frmstart::mnulogf, &Frmstart::piclog, "Double click to Forcefully Log Off the Computer",
     true, std::nullopt, &Frmstart::chklog, 0x74, "Shift + Ctrl + F5"},
    {ActionCode::shut, "shut", &Frmstart::mnushut, &Frmstart::picshut, "Double click to Shut Down, right click for menu",
     true, ActionCode::shutf, &Frmstart::cmdshut, 0x79, "Shift + Ctrl + F10"},
    {ActionCode::shutf, "shutf", &Frmstart::mnushutf, &Frmstart::picshut,
     "Double click to Forcefully Shut Down the Computer", true, std::nullopt, &Frmstart::chkshut, 0x78,
     "Shift + Ctrl + F9"},
}};

// The row of a coded action.
constexpr const CatalogueRow& Catalogued(ActionCode code) {
  for (const CatalogueRow& row : kCatalogue)
    if (row.code == code) return row;
  return kCatalogue.front();  // every code has its row
}

// The registry names of a list of actions, in the list's own order.
template <std::size_t N>
constexpr std::array<const char*, N> NamesOf(const std::array<ActionCode, N>& codes) {
  std::array<const char*, N> names{};
  for (std::size_t i = 0; i < N; ++i) names[i] = Catalogued(codes[i]).name;
  return names;
}

// The ten names under which a quick action is saved and a hot key is gated,
// in the order the saved settings are read.
inline constexpr std::array<const char*, 10> kActionCodes =
    NamesOf<10>({ActionCode::restart, ActionCode::restartf, ActionCode::restartw, ActionCode::screen, ActionCode::sleep,
                 ActionCode::dos, ActionCode::log, ActionCode::logf, ActionCode::shut, ActionCode::shutf});

}  // namespace tarnby
