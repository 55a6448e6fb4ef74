// The single copy records its main window in a named mapping beside its
// mutex; a later copy hands its arguments over through the hand-over client
// it shares with tarnby.com. The running copy takes the command into its
// queue and, once it has decided it, sends the answer to the sender's
// window. Also the keep-awake request, which only some systems have.
#include "win32/hand_over.h"

#include <shellapi.h>

#include <cstring>
#include <memory>

#include "common/hand_over_client.h"
#include "core/command_line/command_line.h"
#include "win32/system_library.h"
#include "win32/utf16.h"
#include "win32/win32_platform_parts.h"

namespace tarnby {

namespace {
// How long the running copy waits for a sender to take its answer.
constexpr DWORD kAnswerTimeoutMs = 5000;
constexpr int kLoadingWaits = 100, kLoadingWaitMs = 50;  // a copy that is still loading gets five seconds
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

LRESULT FormCopyData(Form& form, WPARAM wParam, LPARAM lParam) {
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  const std::optional<std::wstring_view> text = hand_over::CopiedText(copy);
  if (!text || !form.onCopyData) return 0;
  // WM_COPYDATA's wParam is the sender's window: where the answer goes.
  return form.onCopyData(copy->dwData, Utf8(*text), static_cast<Handle>(wParam));
}

void Win32Platform::GetLocalTime(SystemTime& time) {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  time = {now.wYear, now.wMonth, now.wDayOfWeek, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

std::uint32_t Win32Platform::SetThreadExecutionState(std::uint32_t flags) {
  // Looked up at run time: a system without it simply sleeps as it likes.
  using Call = EXECUTION_STATE(WINAPI*)(EXECUTION_STATE);
  static const Call call = SystemFunction<Call>(L"kernel32.dll", "SetThreadExecutionState");
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
    if (HWND window = hand_over::PublishedWindow()) return ToHandle(window);
    ::Sleep(kLoadingWaitMs);
  }
  return 0;
}

bool Win32Platform::SendCommand(Handle hwnd, std::uintptr_t kind, const std::string& data, std::uint32_t* code,
                                std::string* text) {
  const auto answer = std::make_unique<hand_over::Answer>();
  if (hand_over::Ask(Hwnd(hwnd), kind, Wide(data), *answer) != hand_over::Sent::kAnswered) return false;
  if (code) *code = answer->code;
  if (text) *text = Utf8(answer->Text());
  return true;
}

bool Win32Platform::SendAnswer(Handle replyTo, std::uint32_t code, const std::string& text) {
  HWND window = Hwnd(replyTo);
  if (window == nullptr || !::IsWindow(window)) return false;
  DWORD_PTR taken = 0;
  return hand_over::SendCopyData(window, kAnswerCopyData + code, nullptr, Wide(text), kAnswerTimeoutMs, &taken) &&
         taken == static_cast<DWORD_PTR>(kAnswerTaken);
}

}  // namespace tarnby
