// How a later start of Tarnby (tarnby.exe or tarnby.com) hands its command
// to the copy that runs, and how the answer comes back: what the core, the
// Win32 layer and tarnby.com must agree on. No Windows header here: the
// core decides what the messages carry.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnby {

// The single copy records its main window in a named mapping beside its
// mutex, where later starts read it.
inline constexpr wchar_t kInstanceWindowMapping[] = L"Local\\Tarnby.SingleInstance.Window";

// The WM_COPYDATA kind that carries Tarnby's arguments ("TRNB"), each
// followed by a NUL, with the sender's window in wParam.
inline constexpr std::uintptr_t kCommandCopyData = 0x54524E42;
// What the running copy returns for it: 0 not Tarnby's, or taken. A taken
// command waits its turn; when it has been decided, the running copy sends
// the answer to the sender's window (wParam) as a WM_COPYDATA of the kind
// "TRN" and the exit code's digit ("TRN0" ... "TRN3") holding the text: the
// /status line, or why the command was refused. The sender's window returns
// kAnswerTaken for it.
inline constexpr std::intptr_t kAnswerTaken = 1;
inline constexpr std::uintptr_t kAnswerCopyData = 0x54524E30;
inline constexpr std::uint32_t kHighestAnswerCode = 9;
// The most a hand-over can carry: a command line holds at most 32,767
// UTF-16 characters, its program's name and the blanks between arguments
// among them, and each blank becomes one NUL. Anything larger is no command
// line and is refused unread.
inline constexpr std::size_t kMaxCopyDataBytes = 32767 * 2;

// What a sender says when its command reached no running copy or was not answered.
inline constexpr char kNotAnswered[] = "The running Tarnby did not answer.";

}  // namespace tarnby
