// The eight pre-selections by name, with their forced forms, as the catalogue
// has them: the command-line switch that makes each one, what the status line
// calls it, and the notice shown before it ends the session.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/actions/catalogue.h"

namespace tarnby {

struct PreSelectName {
  const char* switchName;       // "shutdown" for /shutdown
  Control Frmstart::*button;    // its "Pre-Selects" button
  Control Frmstart::*forceBox;  // null for the actions without a forced form
  const char* status;           // the status line: "shut down in 1:29:58"
  const char* forcedStatus;
  const char* notice;  // "Tarnby will <notice> in 60 seconds."; null: the session goes on
  const char* forcedNotice;
};

extern const std::array<PreSelectName, kOwnBoxes> kPreSelectNames;

// The pre-selection a button makes, or null for any other control.
const PreSelectName* PreSelectNamed(const Control& button, const Frmstart& f);

// What the status line calls a pre-selection ("shut down", "forced restart").
const char* StatusOf(const PreSelectName& name, bool forced);

// What the notice says a pre-selection does ("shut down the computer"); null
// when it leaves the session running.
const char* NoticeOf(const PreSelectName& name, bool forced);

// "Tarnby will shut down the computer in 60 seconds."; empty without `what`.
std::string NoticeText(const char* what, std::int64_t secondsLeft);

}  // namespace tarnby
