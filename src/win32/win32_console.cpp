// Where the command line's lines go: the outputs this copy was given (a
// script's pipe or file, or tarnby.com's pipes), or else the console of the
// process that started it. And the word to tarnby.com that this copy goes on
// running as Tarnby, so it stops waiting.
#include "win32/win32_platform.h"

#include <cwchar>

#include "console/console_core.h"
#include "win32/utf16.h"

namespace tarnby {

namespace {

std::string WithLineEnds(const std::string& text) {
  std::string lines;
  lines.reserve(text.size() + 8);
  console::PutLines(std::string_view(text), [&](char c) { lines.push_back(c); });
  return lines;
}

bool IsPipeOrFile(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
  const DWORD type = ::GetFileType(handle);
  return type == FILE_TYPE_PIPE || type == FILE_TYPE_DISK;
}

bool WriteLines(DWORD stream, const std::string& text) {
  const std::string lines = WithLineEnds(text);
  // A script that captures the output gives us a pipe or a file; a console
  // window is reached through the console of the process that started us.
  HANDLE out = ::GetStdHandle(stream);
  if (IsPipeOrFile(out)) {
    DWORD written = 0;
    return ::WriteFile(out, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr) != FALSE;
  }
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  bool written = false;
  {
    const OwnedFile console(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (console) {
      const std::wstring wide = Wide(lines);
      DWORD count = 0;
      written =
          ::WriteConsoleW(console.get(), wide.data(), static_cast<DWORD>(wide.size()), &count, nullptr) != FALSE;
    }
  }
  ::FreeConsole();
  return written;
}

// The event tarnby.com named in our environment, when it started us. The
// name leaves the environment at once: the programs Tarnby starts later
// were not started by tarnby.com.
OwnedHandle OpenCompanionEvent() {
  wchar_t name[128] = L"";
  const DWORD length = ::GetEnvironmentVariableW(console::kCompanionVariable, name, 128);
  if (length == 0) return {};
  ::SetEnvironmentVariableW(console::kCompanionVariable, nullptr);
  const std::size_t prefix = std::wcslen(console::kCompanionEventPrefix);
  if (length >= 128 || std::wcsncmp(name, console::kCompanionEventPrefix, prefix) != 0) return {};
  return OwnedHandle(::OpenEventW(EVENT_MODIFY_STATE, FALSE, name));
}

}  // namespace

bool Win32Platform::WriteParentConsole(const std::string& line) { return WriteLines(STD_OUTPUT_HANDLE, line); }

bool Win32Platform::WriteParentConsoleError(const std::string& text) { return WriteLines(STD_ERROR_HANDLE, text); }

bool Win32Platform::ConsoleCompanion() {
  if (!companionRead_) {
    companion_ = OpenCompanionEvent();
    companionRead_ = true;
  }
  return static_cast<bool>(companion_);
}

void Win32Platform::LetGoOfConsole() {
  // Whoever reads our outputs reads them to their end: we close them here,
  // before any program Tarnby starts could inherit them.
  HANDLE closed = nullptr;  // output and error may be one handle, closed once
  for (DWORD stream : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    HANDLE out = ::GetStdHandle(stream);
    ::SetStdHandle(stream, nullptr);
    if (out == closed || !IsPipeOrFile(out)) continue;
    const OwnedHandle taken(out);  // closed at once, before the companion hears from us
    closed = out;
  }
  if (ConsoleCompanion()) ::SetEvent(companion_.get());
  companion_.reset();
}

}  // namespace tarnby
