#include "common/hand_over_client.h"

#include <cstring>

#include "common/owned.h"

namespace tarnby::hand_over {

namespace {
// How long the running copy may take to take a command, or to show that it
// still lives while the command waits its turn; and the longest a taken
// command waits for its answer.
constexpr DWORD kHandOverTimeoutMs = 10000, kLifeSignMs = 1000;
constexpr ULONGLONG kAnswerPatienceMs = 60000;
constexpr wchar_t kReplyWindowClass[] = L"Tarnby.Reply";

// The answer that came back to a sender's window.
struct Inbox {
  bool answered = false;
  Answer& answer;
};

// A message-only window that collects the answer the running copy sends back.
LRESULT CALLBACK ReplyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_COPYDATA) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  auto* inbox = reinterpret_cast<Inbox*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  const std::optional<std::wstring_view> text = CopiedText(copy);
  if (!text || inbox == nullptr || copy->dwData < kAnswerCopyData || copy->dwData > kAnswerCopyData + kHighestAnswerCode)
    return 0;
  Answer& answer = inbox->answer;
  answer.code = static_cast<std::uint32_t>(copy->dwData - kAnswerCopyData);
  answer.length = text->size();
  if (answer.length > 0) std::memcpy(answer.text, text->data(), answer.length * sizeof(wchar_t));
  inbox->answered = true;
  return kAnswerTaken;
}

OwnedWindow MakeReplyWindow(Inbox& inbox) {
  WNDCLASSW type{};
  type.lpfnWndProc = ReplyWindowProc;
  type.hInstance = ::GetModuleHandleW(nullptr);
  type.lpszClassName = kReplyWindowClass;
  // A second question in the same process finds the class there already.
  if (::RegisterClassW(&type) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return {};
  OwnedWindow window(::CreateWindowExW(0, kReplyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr));
  if (window) ::SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&inbox));
  return window;
}

void LetMessagesIn() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

// Waits, letting the answer in, until it has come. False when the running
// copy ends, stops answering for kHandOverTimeoutMs, or lets the command wait
// longer than any queue of commands takes.
bool WaitForAnswer(HWND running, DWORD processId, const Inbox& inbox) {
  const OwnedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  HANDLE ended = process.get();
  const ULONGLONG deadline = ::GetTickCount64() + kAnswerPatienceMs;
  for (ULONGLONG lifeSign = ::GetTickCount64() + kLifeSignMs;;) {
    LetMessagesIn();
    const ULONGLONG now = ::GetTickCount64();
    if (inbox.answered || now >= deadline) return inbox.answered;
    if (now >= lifeSign) {
      DWORD_PTR ignored = 0;
      if (!::SendMessageTimeoutW(running, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHandOverTimeoutMs, &ignored))
        return inbox.answered;
      lifeSign = ::GetTickCount64() + kLifeSignMs;
      continue;
    }
    const DWORD wait = static_cast<DWORD>((lifeSign < deadline ? lifeSign : deadline) - now);
    if (::MsgWaitForMultipleObjects(ended ? 1 : 0, &ended, FALSE, wait, QS_ALLINPUT) == WAIT_OBJECT_0 && ended) {
      // It ended: an answer it sent before has been let in already.
      LetMessagesIn();
      return inbox.answered;
    }
  }
}
}  // namespace

std::optional<std::wstring_view> CopiedText(const COPYDATASTRUCT* copy) {
  if (copy == nullptr || (copy->lpData == nullptr && copy->cbData != 0) || copy->cbData > kMaxCopyDataBytes)
    return std::nullopt;
  return std::wstring_view(static_cast<const wchar_t*>(copy->lpData), copy->cbData / sizeof(wchar_t));
}

HWND PublishedWindow() {
  std::uint64_t value = 0;
  const OwnedHandle mapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, kInstanceWindowMapping));
  if (!mapping) return nullptr;
  if (const OwnedView view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof value)); view)
    std::memcpy(&value, view.get(), sizeof value);
  HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
  return value != 0 && ::IsWindow(window) ? window : nullptr;
}

bool SendCopyData(HWND to, ULONG_PTR kind, HWND replyTo, std::wstring_view text, DWORD timeoutMs,
                  DWORD_PTR* result) {
  COPYDATASTRUCT copy{};
  copy.dwData = kind;
  copy.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  // WM_COPYDATA only reads the data; the structure merely has no const.
  copy.lpData = const_cast<wchar_t*>(text.data());
  return ::SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(replyTo), reinterpret_cast<LPARAM>(&copy),
                               SMTO_ABORTIFHUNG, timeoutMs, result) != 0;
}

Sent Ask(HWND running, ULONG_PTR kind, std::wstring_view command, Answer& answer) {
  // The running copy may bring its window forward for us.
  DWORD process = 0;
  ::GetWindowThreadProcessId(running, &process);
  if (process != 0) ::AllowSetForegroundWindow(process);
  Inbox inbox{false, answer};
  const OwnedWindow replyTo = MakeReplyWindow(inbox);
  DWORD_PTR taken = 0;
  if (!replyTo || !SendCopyData(running, kind, replyTo.get(), command, kHandOverTimeoutMs, &taken))
    return Sent::kNoAnswer;
  if (taken != static_cast<DWORD_PTR>(kAnswerTaken)) return Sent::kNotTaken;
  return WaitForAnswer(running, process, inbox) ? Sent::kAnswered : Sent::kNoAnswer;
}

}  // namespace tarnby::hand_over
