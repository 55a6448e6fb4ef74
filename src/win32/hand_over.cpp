// The single copy records its main window in a named mapping beside its
// mutex; a later copy reads it there and hands its arguments over with
// WM_COPYDATA. Also the keep-awake request, which only some systems have.
#include "win32/hand_over.h"

#include <shellapi.h>

#include <cstring>

#include "core/command_line/command_line.h"
#include "core/command_line/commands.h"
#include "win32/utf16.h"
#include "win32/win32_platform_parts.h"

namespace tarnby {

namespace {
constexpr wchar_t kInstanceWindowMapping[] = L"Local\\Tarnby.SingleInstance.Window";
constexpr DWORD kHandOverTimeoutMs = 10000;
constexpr int kLoadingWaits = 100, kLoadingWaitMs = 50;  // a copy that is still loading gets five seconds

std::uint64_t ReadPublishedWindow() {
  std::uint64_t value = 0;
  const OwnedHandle mapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, kInstanceWindowMapping));
  if (!mapping) return 0;
  if (const OwnedView view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof value)); view)
    std::memcpy(&value, view.get(), sizeof value);
  return value;
}
}  // namespace

std::vector<std::string> ProgramArguments() {
  std::vector<std::string> arguments;
  int count = 0;
  const wchar_t* line = ::GetCommandLineW();
  LPWSTR* words = ::CommandLineToArgvW(line, &count);
  const OwnedLocalMemory owned(words);
  if (words == nullptr) return arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8(words[i]));
  return ArgumentsAfterProgram(Utf8(line), arguments, Utf8(ModuleFileName()));
}

LRESULT FormCopyData(Form& form, LPARAM lParam) {
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (copy == nullptr || !form.onCopyData || (copy->lpData == nullptr && copy->cbData != 0)) return 0;
  // More than any command line can be: the sender is not a copy of Tarnby,
  // and its megabytes are neither copied nor read.
  if (copy->cbData > kMaxCopyDataBytes) return 0;
  const std::wstring_view text(static_cast<const wchar_t*>(copy->lpData), copy->cbData / sizeof(wchar_t));
  return form.onCopyData(copy->dwData, Utf8(text));
}

void Win32Platform::GetLocalTime(SystemTime& time) {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  time = {now.wYear, now.wMonth, now.wDayOfWeek, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

std::uint32_t Win32Platform::SetThreadExecutionState(std::uint32_t flags) {
  // Looked up at run time: a system without it simply sleeps as it likes.
  using Call = EXECUTION_STATE(WINAPI*)(EXECUTION_STATE);
  static const Call call = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetThreadExecutionState")));
  return call ? call(flags) : 0;
}

void Win32Platform::PublishInstanceWindow(Handle hwnd) {
  if (!instanceMutex_) return;  // only the copy that holds the mutex speaks for Tarnby
  if (!instanceWindow_)
    instanceWindow_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                               sizeof(std::uint64_t), kInstanceWindowMapping));
  if (!instanceWindow_) return;
  if (const OwnedView view(::MapViewOfFile(instanceWindow_.get(), FILE_MAP_WRITE, 0, 0, sizeof(std::uint64_t)));
      view) {
    const std::uint64_t value = hwnd;
    std::memcpy(view.get(), &value, sizeof value);
  }
}

Handle Win32Platform::InstanceWindow() {
  for (int attempt = 0; attempt < kLoadingWaits; ++attempt) {
    const std::uint64_t value = ReadPublishedWindow();
    if (value != 0 && ::IsWindow(reinterpret_cast<HWND>(static_cast<UINT_PTR>(value))))
      return static_cast<Handle>(value);
    ::Sleep(kLoadingWaitMs);
  }
  return 0;
}

bool Win32Platform::SendCopyData(Handle hwnd, std::uintptr_t kind, const std::string& data, std::intptr_t* result) {
  std::wstring text = Wide(data);
  COPYDATASTRUCT copy{};
  copy.dwData = kind;
  copy.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  copy.lpData = text.data();
  HWND window = reinterpret_cast<HWND>(hwnd);
  // The running copy may bring its window forward for us.
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != 0) ::AllowSetForegroundWindow(process);
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG,
                             kHandOverTimeoutMs, &answer))
    return false;
  if (result) *result = static_cast<std::intptr_t>(answer);
  return true;
}

void Win32Platform::ReplyMessage(std::intptr_t result) { ::ReplyMessage(static_cast<LRESULT>(result)); }

}  // namespace tarnby
