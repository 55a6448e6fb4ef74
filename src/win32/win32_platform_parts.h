// What the real platform's files share: the core's handles as Win32 ones and back.
#pragma once

#include "win32/win32_platform.h"  // first: it includes the Win32 headers in their order

#include <string>

#include "common/owned.h"

namespace tarnby {

template <class T>
T As(Handle handle) {
  return reinterpret_cast<T>(handle);
}

template <class T>
Handle ToHandle(T value) {
  return reinterpret_cast<Handle>(value);
}

inline HWND Hwnd(Handle handle) { return As<HWND>(handle); }

// The message a registered wait posts the window when its object is
// signalled: registered, so no other program's message can be taken for it
// (the wait's object is asked again all the same).
UINT ObjectSignalledMessage();

// The running program's full path, however long; empty when the system cannot say.
std::wstring ModuleFileName();

// An empty text passed as no text at all.
inline const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace tarnby
