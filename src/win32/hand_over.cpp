// The single copy records its main window in a named mapping beside its
// mutex; a later copy reads it there and hands its arguments over with
// WM_COPYDATA, into which the running copy may send text back. Also the
// keep-awake request, which only some systems have.
#include "win32/hand_over.h"

#include <shellapi.h>

#include <cstring>

#include "core/command_line/command_line.h"
#include "core/command_line/commands.h"
#include "win32/system_library.h"
#include "win32/utf16.h"
#include "win32/win32_platform_parts.h"

namespace tarnby {

namespace {
constexpr wchar_t kInstanceWindowMapping[] = L"Local\\Tarnby.SingleInstance.Window";
constexpr DWORD kHandOverTimeoutMs = 10000;
constexpr int kLoadingWaits = 100, kLoadingWaitMs = 50;  // a copy that is still loading gets five seconds
// The kind of the WM_COPYDATA that carries text back to the sender ("TRNR").
constexpr ULONG_PTR kReplyCopyData = 0x54524E52;
constexpr wchar_t kReplyWindowClass[] = L"Tarnby.Reply";

// The WM_COPYDATA being handled now: the window its sender named for a reply.
HWND g_replyTo = nullptr;

// A message-only window that collects the text the receiver sends back while
// the sender waits in SendMessageTimeout (which lets such sent messages in).
LRESULT CALLBACK ReplyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    auto* inbox = reinterpret_cast<std::wstring*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (copy == nullptr || inbox == nullptr || copy->dwData != kReplyCopyData || copy->lpData == nullptr) return 0;
    inbox->assign(static_cast<const wchar_t*>(copy->lpData), copy->cbData / sizeof(wchar_t));
    return 1;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeReplyWindow(std::wstring& inbox) {
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

bool SendText(HWND window, ULONG_PTR kind, HWND replyTo, const std::string& data, DWORD_PTR* answer) {
  std::wstring text = Wide(data);
  COPYDATASTRUCT copy{};
  copy.dwData = kind;
  copy.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  copy.lpData = text.data();
  return ::SendMessageTimeoutW(window, WM_COPYDATA, reinterpret_cast<WPARAM>(replyTo), reinterpret_cast<LPARAM>(&copy),
                               SMTO_ABORTIFHUNG, kHandOverTimeoutMs, answer) != 0;
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
  // WM_COPYDATA's wParam is the sender's window: where ReplyText answers.
  HWND const outer = g_replyTo;
  g_replyTo = reinterpret_cast<HWND>(wParam);
  struct Restore {
    HWND previous;
    ~Restore() { g_replyTo = previous; }
  } restore{outer};
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

bool Win32Platform::SendCopyData(Handle hwnd, std::uintptr_t kind, const std::string& data, std::intptr_t* result,
                                 std::string* reply) {
  HWND window = reinterpret_cast<HWND>(hwnd);
  // The running copy may bring its window forward for us.
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != 0) ::AllowSetForegroundWindow(process);
  std::wstring inbox;
  HWND replyTo = reply ? MakeReplyWindow(inbox) : nullptr;
  DWORD_PTR answer = 0;
  const bool answered = SendText(window, kind, replyTo, data, &answer);
  if (replyTo) ::DestroyWindow(replyTo);
  if (reply) *reply = Utf8(inbox);
  if (!answered) return false;
  if (result) *result = static_cast<std::intptr_t>(answer);
  return true;
}

void Win32Platform::ReplyMessage(std::intptr_t result) { ::ReplyMessage(static_cast<LRESULT>(result)); }

bool Win32Platform::ReplyText(const std::string& text) {
  if (g_replyTo == nullptr || !::IsWindow(g_replyTo)) return false;
  DWORD_PTR answer = 0;
  return SendText(g_replyTo, kReplyCopyData, nullptr, text, &answer) && answer == 1;
}

}  // namespace tarnby
