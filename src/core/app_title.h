// The application title: the caption of every message box that names no other.
#pragma once

namespace tarnby {

inline constexpr char kAppTitle[] = "Tarnby";

}  // namespace tarnby
