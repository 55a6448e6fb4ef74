// The single copy records its main window in a named mapping beside its
// mutex; a later copy reads it there and hands its arguments over with
// WM_COPYDATA, naming a message-only window of its own in wParam. The
// running copy takes the command into its queue and, once it has decided
// it, sends the answer to that window. Also the keep-awake request, which
// only some systems have.
#include "win32/hand_over.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "core/command_line/command_line.h"
#include "core/commands/commands.h"
#include "win32/system_library.h"
#include "win32/utf16.h"
#include "win32/win32_platform_parts.h"

namespace tarnby {

namespace {
constexpr wchar_t kInstanceWindowMapping[] = L"Local\\Tarnby.SingleInstance.Window";
// How long the running copy may take to take a command, or to show that it
// still lives while the command waits its turn; and the longest a taken
// command waits for its answer.
constexpr DWORD kHandOverTimeoutMs = 10000, kLifeSignMs = 1000;
constexpr ULONGLONG kAnswerPatienceMs = 60000;
// How long the running copy waits for a sender to take its answer.
constexpr DWORD kAnswerTimeoutMs = 5000;
constexpr int kLoadingWaits = 100, kLoadingWaitMs = 50;  // a copy that is still loading gets five seconds
constexpr wchar_t kReplyWindowClass[] = L"Tarnby.Reply";

// The answer that came back to a sender's window.
struct Inbox {
  bool answered = false;
  std::uint32_t code = 0;
  std::wstring text;
};

// A message-only window that collects the answer the running copy sends back.
LRESULT CALLBACK ReplyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    auto* inbox = reinterpret_cast<Inbox*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (copy == nullptr || inbox == nullptr || copy->dwData < kAnswerCopyData || copy->dwData > kAnswerCopyData + 9 ||
        (copy->lpData == nullptr && copy->cbData != 0) || copy->cbData > kMaxCopyDataBytes)
      return 0;
    inbox->code = static_cast<std::uint32_t>(copy->dwData - kAnswerCopyData);
    inbox->text.assign(static_cast<const wchar_t*>(copy->lpData), copy->cbData / sizeof(wchar_t));
    inbox->answered = true;
    return 1;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeReplyWindow(Inbox& inbox) {
  static const ATOM registered = [] {
    WNDCLASSW type{};
    type.lpfnWndProc = ReplyWindowProc;
    type.hInstance = ::GetModuleHandleW(nullptr);
    type.lpszClassName = kReplyWindowClass;
    return ::RegisterClassW(&type);
  }();
  if (registered == 0) return nullptr;
  HWND window = ::CreateWindowExW(0, kReplyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
  if (window) ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&inbox));
  return window;
}

bool SendText(HWND window, ULONG_PTR kind, HWND replyTo, const std::string& data, DWORD timeoutMs,
              DWORD_PTR* answer) {
  std::wstring text = Wide(data);
  COPYDATASTRUCT copy{};
  copy.dwData = kind;
  copy.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  copy.lpData = text.data();
  return ::SendMessageTimeoutW(window, WM_COPYDATA, reinterpret_cast<WPARAM>(replyTo), reinterpret_cast<LPARAM>(&copy),
                               SMTO_ABORTIFHUNG, timeoutMs, answer) != 0;
}

// Waits, letting the answer in, until it has come. False when the running
// copy ends, stops answering for kHandOverTimeoutMs, or lets the command wait
// longer than any queue of commands takes.
bool WaitForAnswer(HWND running, DWORD processId, const Inbox& inbox) {
  const OwnedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  HANDLE ended = process.get();
  const ULONGLONG deadline = ::GetTickCount64() + kAnswerPatienceMs;
  for (ULONGLONG lifeSign = ::GetTickCount64() + kLifeSignMs;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    const ULONGLONG now = ::GetTickCount64();
    if (inbox.answered || now >= deadline) return inbox.answered;
    if (now >= lifeSign) {
      DWORD_PTR ignored = 0;
      if (!::SendMessageTimeoutW(running, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHandOverTimeoutMs, &ignored))
        return inbox.answered;
      lifeSign = ::GetTickCount64() + kLifeSignMs;
      continue;
    }
    const DWORD wait = static_cast<DWORD>(std::min(lifeSign, deadline) - now);
    if (::MsgWaitForMultipleObjects(ended ? 1 : 0, &ended, FALSE, wait, QS_ALLINPUT) == WAIT_OBJECT_0 && ended) {
      // It ended: an answer it sent before has been let in already.
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
      return inbox.answered;
    }
  }
}

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

LRESULT FormCopyData(Form& form, WPARAM wParam, LPARAM lParam) {
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (copy == nullptr || !form.onCopyData || (copy->lpData == nullptr && copy->cbData != 0)) return 0;
  // More than any command line can be: the sender is not a copy of Tarnby,
  // and its megabytes are neither copied nor read.
  if (copy->cbData > kMaxCopyDataBytes) return 0;
  const std::wstring_view text(static_cast<const wchar_t*>(copy->lpData), copy->cbData / sizeof(wchar_t));
  // WM_COPYDATA's wParam is the sender's window: where the answer goes.
  return form.onCopyData(copy->dwData, Utf8(text), static_cast<Handle>(wParam));
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
    const std::uint64_t value = ReadPublishedWindow();
    if (value != 0 && ::IsWindow(reinterpret_cast<HWND>(static_cast<UINT_PTR>(value))))
      return static_cast<Handle>(value);
    ::Sleep(kLoadingWaitMs);
  }
  return 0;
}

bool Win32Platform::SendCommand(Handle hwnd, std::uintptr_t kind, const std::string& data, std::uint32_t* code,
                                std::string* text) {
  HWND window = Hwnd(hwnd);
  // The running copy may bring its window forward for us.
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != 0) ::AllowSetForegroundWindow(process);
  Inbox inbox;
  HWND replyTo = MakeReplyWindow(inbox);
  DWORD_PTR taken = 0;
  const bool answered = replyTo != nullptr && SendText(window, kind, replyTo, data, kHandOverTimeoutMs, &taken) &&
                        taken == static_cast<DWORD_PTR>(kAnswerTaken) && WaitForAnswer(window, process, inbox);
  if (replyTo) ::DestroyWindow(replyTo);
  if (!answered) return false;
  if (code) *code = inbox.code;
  if (text) *text = Utf8(inbox.text);
  return true;
}

bool Win32Platform::SendAnswer(Handle replyTo, std::uint32_t code, const std::string& text) {
  HWND window = Hwnd(replyTo);
  if (window == nullptr || !::IsWindow(window)) return false;
  DWORD_PTR taken = 0;
  return SendText(window, kAnswerCopyData + code, nullptr, text, kAnswerTimeoutMs, &taken) && taken == 1;
}

}  // namespace tarnby
