// The sending side of the hand-over, shared by tarnby.exe and tarnby.com:
// find the copy that runs, hand it a command, and wait for its answer in a
// message-only window of our own. Small and free of the C++ library's heavy
// parts (no exceptions, no allocation): tarnby.com is a few kilobytes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/hand_over_protocol.h"

namespace tarnby::hand_over {

// The main window the running copy published, or null: none runs, or the
// one that runs is still loading.
HWND PublishedWindow();

// The text a WM_COPYDATA carries; none when it is malformed, or larger than
// any command line can be (the sender is not a copy of Tarnby, and its
// megabytes are neither copied nor read).
std::optional<std::wstring_view> CopiedText(const COPYDATASTRUCT* copy);

// Sends one WM_COPYDATA of the kind, naming replyTo in wParam; false when
// the window did not take the message within the time. *result is what its
// window procedure returned.
bool SendCopyData(HWND to, ULONG_PTR kind, HWND replyTo, std::wstring_view text, DWORD timeoutMs,
                  DWORD_PTR* result);

// The answer of the running copy: its exit code and its text.
struct Answer {
  std::uint32_t code = 0;
  std::size_t length = 0;
  wchar_t text[kMaxCopyDataBytes / sizeof(wchar_t)];
  std::wstring_view Text() const { return {text, length}; }
};

enum class Sent {
  kAnswered,  // the answer is in
  kNotTaken,  // the running copy read the command and said it is none of its
  kNoAnswer,  // it did not take the command, or ended or hung before it answered
};

// Hands the running copy's window a command (kCommandCopyData: the
// arguments, each followed by a NUL) and waits, letting the answer in, until
// it has come.
Sent Ask(HWND running, ULONG_PTR kind, std::wstring_view command, Answer& answer);

}  // namespace tarnby::hand_over
