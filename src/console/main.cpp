// tarnby.com, the console companion of tarnby.exe. cmd and PowerShell try
// ".com" before ".exe", so "tarnby /status" at a prompt or in a script runs
// this console program. A windows program cannot serve a script itself: the
// prompt does not wait for it and PowerShell drops its exit code.
//
// When Tarnby runs, tarnby.com hands it the arguments itself, as tarnby.exe
// would, prints its answer and ends with its exit code: one program start
// per question. Otherwise, or when the running copy finds the arguments are
// no command (/?, a mistake), it runs tarnby.exe beside it, which reads the
// arguments and says what it has to say: tarnby.exe writes its lines into
// two pipes of ours and, when it goes on running as Tarnby, lets go of them
// and sets the event named in its environment; otherwise it ends and its
// exit code is ours.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <optional>
#include <string_view>

#include "common/exit_codes.h"
#include "common/hand_over_client.h"
#include "common/owned.h"
#include "console/console_core.h"

namespace {

using tarnby::kExitBadArguments;
using tarnby::kExitNotDelivered;
using tarnby::OwnedHandle;
using tarnby::OwnedLocalMemory;
using tarnby::console::CommandLineWriter;
using tarnby::console::kCommandLineCapacity;

constexpr DWORD kChunk = 4096;

wchar_t ownPath[kCommandLineCapacity];
wchar_t exePath[kCommandLineCapacity];
wchar_t commandLine[kCommandLineCapacity];
wchar_t handed[kCommandLineCapacity];
// What we print: the running copy's answer with its line ends, or a line of our own.
constexpr std::size_t kPrintedCapacity = 2 * kCommandLineCapacity + 2;
wchar_t printed[kPrintedCapacity];
tarnby::hand_over::Answer answer;

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return ::GetConsoleMode(handle, &mode) != FALSE;
}

// A console gets the text as UTF-16; a pipe or file gets tarnby.exe's UTF-8
// bytes as they are.
void Write(HANDLE to, bool console, const char* bytes, std::size_t count) {
  DWORD written = 0;
  if (!console) {
    ::WriteFile(to, bytes, static_cast<DWORD>(count), &written, nullptr);
    return;
  }
  wchar_t wide[kChunk + 4];
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(count), wide, kChunk + 4);
  if (length > 0) ::WriteConsoleW(to, wide, static_cast<DWORD>(length), &written, nullptr);
}

// Text to one of our outputs: a console gets it as UTF-16, a pipe or a file
// as UTF-8.
void Print(DWORD stream, std::wstring_view text) {
  HANDLE to = ::GetStdHandle(stream);
  const bool console = IsConsole(to);
  while (!text.empty()) {
    std::size_t count = text.size() < kChunk ? text.size() : kChunk;
    if (count < text.size() && IS_HIGH_SURROGATE(text[count - 1])) --count;  // a pair stays together
    DWORD written = 0;
    if (console) {
      ::WriteConsoleW(to, text.data(), static_cast<DWORD>(count), &written, nullptr);
    } else {
      char bytes[kChunk * 3];
      const int length =
          ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(count), bytes, sizeof bytes, nullptr, nullptr);
      if (length > 0) ::WriteFile(to, bytes, static_cast<DWORD>(length), &written, nullptr);
    }
    text.remove_prefix(count);
  }
}

// One line of tarnby.com's own to the error output.
void Say(const wchar_t* first, const wchar_t* second = L"", const wchar_t* third = L"", const wchar_t* fourth = L"") {
  CommandLineWriter line(printed, kPrintedCapacity);
  for (const wchar_t* part : {first, second, third, fourth}) line.Text(part);
  line.Text(L"\r\n");
  Print(STD_ERROR_HANDLE, line.View());
}

void SayCannotStart() {
  wchar_t reason[512] = L"";
  ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ::GetLastError(), 0,
                   reason, 512, nullptr);
  // The system's text ends in a line break of its own.
  for (std::size_t end = std::wcslen(reason); end > 0 && (reason[end - 1] == L'\r' || reason[end - 1] == L'\n');)
    reason[--end] = L'\0';
  Say(L"Tarnby could not start ", exePath, reason[0] ? L": " : L".", reason);
}

struct Relay {
  HANDLE from;  // our end of a pipe tarnby.exe writes to
  DWORD to;     // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE
};

// Copies what tarnby.exe writes to one of our outputs as it comes, until
// tarnby.exe ends or lets go of the pipe.
DWORD WINAPI RelayOutput(void* parameter) {
  const Relay& relay = *static_cast<const Relay*>(parameter);
  HANDLE to = ::GetStdHandle(relay.to);
  const bool console = IsConsole(to);
  char buffer[kChunk + 4];
  std::size_t kept = 0;
  DWORD got = 0;
  while (::ReadFile(relay.from, buffer + kept, kChunk, &got, nullptr) && got > 0) {
    const std::size_t have = kept + got;
    // A console is written whole characters; the rest waits for the next read.
    const std::size_t whole = console ? tarnby::console::WholeUtf8({buffer, have}) : have;
    Write(to, console, buffer, whole);
    kept = have - whole;
    std::memmove(buffer, buffer + whole, kept);
  }
  if (kept > 0) Write(to, console, buffer, kept);
  return 0;
}

// No arguments: Tarnby starts as from its icon, and the prompt comes back.
DWORD StartAlone() {
  ::SetEnvironmentVariableW(tarnby::console::kCompanionVariable, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(exePath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    SayCannotStart();
    return kExitNotDelivered;
  }
  const OwnedHandle thread(process.hThread), started(process.hProcess);
  return 0;
}

// Starts tarnby.exe with the write ends of the two pipes as its outputs, and
// with no other handle of ours: a Tarnby that goes on running must not hold
// a pipe of the script that started us.
bool StartWithPipes(HANDLE output, HANDLE error, PROCESS_INFORMATION& process) {
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdOutput = output;
  startup.StartupInfo.hStdError = error;
  HANDLE inherited[] = {output, error};
  alignas(16) unsigned char list[256];
  SIZE_T size = sizeof list;
  DWORD flags = 0;
  if (::InitializeProcThreadAttributeList(reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list), 1, 0, &size)) {
    startup.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list);
    if (::UpdateProcThreadAttribute(startup.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                    sizeof inherited, nullptr, nullptr))
      flags = EXTENDED_STARTUPINFO_PRESENT;
  }
  if (flags == 0) {
    // Without a list of handles, at least our own outputs stay behind.
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
      ::SetHandleInformation(::GetStdHandle(which), HANDLE_FLAG_INHERIT, 0);
  }
  const bool started = ::CreateProcessW(exePath, commandLine, nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                                        &startup.StartupInfo, &process) != FALSE;
  const DWORD why = ::GetLastError();
  if (startup.lpAttributeList != nullptr) ::DeleteProcThreadAttributeList(startup.lpAttributeList);
  ::SetLastError(why);
  return started;
}

// Arguments: tarnby.exe does the work, and we wait for its word.
DWORD RunAndRelay() {
  wchar_t eventName[96];
  CommandLineWriter name(eventName, 96);
  name.Text(tarnby::console::kCompanionEventPrefix);
  name.Number(::GetCurrentProcessId());
  name.Text(L".");
  name.Number(::GetTickCount64());
  const OwnedHandle goesOn(::CreateEventW(nullptr, TRUE, FALSE, eventName));
  ::SetEnvironmentVariableW(tarnby::console::kCompanionVariable, eventName);

  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE ends[4] = {};
  const bool piped = ::CreatePipe(&ends[0], &ends[1], &inheritable, 0) && ::CreatePipe(&ends[2], &ends[3], &inheritable, 0);
  const OwnedHandle outRead(ends[0]), errRead(ends[2]);
  OwnedHandle outWrite(ends[1]), errWrite(ends[3]);
  if (!goesOn || !piped) {
    SayCannotStart();
    return kExitNotDelivered;
  }
  ::SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(errRead.get(), HANDLE_FLAG_INHERIT, 0);

  PROCESS_INFORMATION process{};
  const bool started = StartWithPipes(outWrite.get(), errWrite.get(), process);
  const DWORD startError = ::GetLastError();
  // Only tarnby.exe may hold the write ends now, so its end is our end of file.
  outWrite.reset();
  errWrite.reset();
  if (!started) {
    ::SetLastError(startError);
    SayCannotStart();
    return kExitNotDelivered;
  }
  const OwnedHandle thread(process.hThread), tarnbyExe(process.hProcess);

  Relay errors{errRead.get(), STD_ERROR_HANDLE}, output{outRead.get(), STD_OUTPUT_HANDLE};
  const OwnedHandle second(::CreateThread(nullptr, 0, RelayOutput, &errors, 0, nullptr));
  RelayOutput(&output);
  if (second)
    ::WaitForSingleObject(second.get(), INFINITE);
  else
    RelayOutput(&errors);

  // Both pipes are closed: tarnby.exe has ended, or goes on as Tarnby.
  HANDLE either[] = {tarnbyExe.get(), goesOn.get()};
  DWORD code = 0;
  if (::WaitForMultipleObjects(2, either, FALSE, INFINITE) == WAIT_OBJECT_0 &&
      !::GetExitCodeProcess(tarnbyExe.get(), &code))
    code = kExitNotDelivered;
  return code;
}

// Hands the arguments to the running copy, as tarnby.exe would, and passes
// its answer on: a refusal to the error output, anything else to the output.
// Nothing when the running copy says they are no command of its own.
std::optional<DWORD> AskRunningCopy(HWND running, std::wstring_view arguments) {
  using tarnby::hand_over::Sent;
  switch (tarnby::hand_over::Ask(running, tarnby::kCommandCopyData, arguments, answer)) {
    case Sent::kAnswered:
      break;
    case Sent::kNotTaken:
      return std::nullopt;
    case Sent::kNoAnswer: {
      wchar_t line[64];
      const int length = ::MultiByteToWideChar(CP_UTF8, 0, tarnby::kNotAnswered, -1, line, 64);
      Say(length > 0 ? line : L"");
      return kExitNotDelivered;
    }
  }
  if (answer.length > 0) {
    CommandLineWriter lines(printed, kPrintedCapacity);
    lines.Lines(answer.Text());
    Print(answer.code == tarnby::kExitRefused ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, lines.View());
  }
  return answer.code;
}

}  // namespace

int wmain(int, wchar_t**) {
  // Read as tarnby.exe reads its own command line, so each argument arrives
  // exactly as it left.
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  const OwnedLocalMemory owned(arguments);
  const DWORD length = ::GetModuleFileNameW(nullptr, ownPath, kCommandLineCapacity);
  if (arguments == nullptr || length == 0 || length >= kCommandLineCapacity) {
    Say(L"Tarnby could not read its command line.");
    return kExitNotDelivered;
  }
  const std::wstring_view folder = tarnby::console::FolderOf({ownPath, length});
  CommandLineWriter exe(exePath, kCommandLineCapacity);
  exe.Path(folder, L"tarnby.exe");
  CommandLineWriter line(commandLine, kCommandLineCapacity);
  line.Program(folder, L"tarnby.exe");
  // An empty argument ("" in a script) is no argument, as tarnby.exe reads it.
  CommandLineWriter hand(handed, kCommandLineCapacity);
  int given = 0;
  for (int i = 1; i < count; ++i)
    if (arguments[i][0] != L'\0') {
      line.Argument(arguments[i]);
      hand.Handed(arguments[i]);
      ++given;
    }
  if (!line.Fits()) {
    Say(L"The arguments are too long for one command line.");
    return kExitBadArguments;
  }
  if (given == 0) return static_cast<int>(StartAlone());
  // Tarnby runs: it is asked here, and no tarnby.exe starts for the question.
  // One that is still loading has published no window yet; tarnby.exe waits for it.
  if (HWND running = tarnby::hand_over::PublishedWindow(); running != nullptr && hand.Fits())
    if (const std::optional<DWORD> code = AskRunningCopy(running, hand.View())) return static_cast<int>(*code);
  return static_cast<int>(RunAndRelay());
}
