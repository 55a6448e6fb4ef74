// Helpers for the system-action tests under Wine: a user on another thread
// who answers real dialogs through window messages, the helper programs
// beside the test, and small file and process utilities.
#pragma once

#include "win32/win32_api.h"  // first: see there why

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "actions_stand_in.h"

namespace tarnby::test {

// Runs the message loop of this thread until done() or the time is up.
inline bool WaitFor(const std::function<bool()>& done, int ms = 10000) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(20);
  }
  return true;
}

inline std::vector<std::string> ReadLines(const std::wstring& path) {
  std::vector<std::string> lines;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lines;
  std::string text;
  char buffer[512];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  ::CloseHandle(file);
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

inline void WriteFileText(const std::wstring& path, const std::string& text) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
}

inline bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool ProcessAlive(DWORD pid) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return false;
  const bool alive = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  ::CloseHandle(process);
  return alive;
}

inline DWORD OwnerOf(HWND window) {
  DWORD pid = 0;
  if (window != nullptr) ::GetWindowThreadProcessId(window, &pid);
  return pid;
}

// The top-level dialog of this process with the given title, or null.
inline HWND FindOwnDialog(const std::wstring& title) {
  struct Search {
    const std::wstring* title;
    HWND found;
  } search{&title, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t className[64] = {}, text[256] = {};
        ::GetClassNameW(window, className, 64);
        ::GetWindowTextW(window, text, 256);
        if (OwnerOf(window) == ::GetCurrentProcessId() && std::wstring(className) == L"#32770" && *s->title == text &&
            ::IsWindowVisible(window)) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// All the text of a message box's static controls, joined.
inline std::wstring DialogText(HWND dialog) {
  std::wstring all;
  ::EnumChildWindows(
      dialog,
      [](HWND child, LPARAM data) -> BOOL {
        wchar_t className[64] = {}, text[512] = {};
        ::GetClassNameW(child, className, 64);
        if (std::wstring(className) == L"Static") {
          ::GetWindowTextW(child, text, 512);
          *reinterpret_cast<std::wstring*>(data) += text;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// The file name box of an open-file dialog: the edit inside the file name
// combo (cmb13) in the Explorer style, however deep, or the plain edit (edt1).
inline HWND FileNameEdit(HWND dialog) {
  HWND box = ::GetDlgItem(dialog, 0x47C);
  if (box == nullptr) return ::GetDlgItem(dialog, 0x480);
  wchar_t className[64] = {};
  ::GetClassNameW(box, className, 64);
  if (std::wstring(className) == L"Edit") return box;
  HWND edit = nullptr;
  ::EnumChildWindows(
      box,
      [](HWND child, LPARAM data) -> BOOL {
        wchar_t name[64] = {};
        ::GetClassNameW(child, name, 64);
        if (std::wstring(name) != L"Edit") return TRUE;
        *reinterpret_cast<HWND*>(data) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&edit));
  return edit;
}

inline void PressOk(HWND dialog) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
}

// A user on another thread: waits for each dialog in turn and answers it,
// while the test thread sits in the modal loop of the call under test.
class ScriptedUser {
 public:
  struct Step {
    std::wstring title;
    std::function<void(HWND dialog)> answer;
  };
  explicit ScriptedUser(std::vector<Step> steps) : steps_(std::move(steps)) {
    worker_ = std::thread([this] { Run(); });
  }
  ~ScriptedUser() {
    stop_ = true;
    Finish();
  }
  // Waits until every step has been answered (or given up on).
  void Finish() {
    if (worker_.joinable()) worker_.join();
  }
  int Answered() const { return answered_; }
  // What each answered dialog said; read after Finish().
  const std::vector<std::wstring>& Texts() const { return texts_; }

 private:
  void Run() {
    for (Step& step : steps_) {
      HWND dialog = nullptr;
      for (int tries = 0; tries < 750 && !stop_ && dialog == nullptr; ++tries) {
        dialog = FindOwnDialog(step.title);
        if (dialog == nullptr) ::Sleep(20);
      }
      if (dialog == nullptr) {
        std::fwprintf(stderr, L"No dialog \"%ls\"; this process shows:\n", step.title.c_str());
        ::EnumWindows(
            [](HWND window, LPARAM) -> BOOL {
              wchar_t className[64] = {}, text[256] = {};
              ::GetClassNameW(window, className, 64);
              ::GetWindowTextW(window, text, 256);
              if (OwnerOf(window) == ::GetCurrentProcessId())
                std::fwprintf(stderr, L"  %ls \"%ls\"%ls\n", className, text, ::IsWindowVisible(window) ? L"" : L" (hidden)");
              return TRUE;
            },
            0);
        return;
      }
      ::Sleep(200);  // let the dialog finish setting itself up
      texts_.push_back(DialogText(dialog));
      step.answer(dialog);
      ++answered_;
      while (!stop_ && ::IsWindow(dialog)) ::Sleep(20);
    }
  }

  std::vector<Step> steps_;
  std::vector<std::wstring> texts_;
  std::atomic<bool> stop_{false};
  std::atomic<int> answered_{0};
  std::thread worker_;
};

}  // namespace tarnby::test
