// Drives a real tarnby.exe from another process, as a user and the shell would:
// starts it, finds its windows and controls by the "TarnbyName" property,
// sends the tray's callback to a picture box, picks popup-menu items, clicks
// buttons, types, answers message boxes and reads the registry.
//
// Every wait has a deadline; nothing here blocks on the program under test.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarnby::drive {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;
inline constexpr Duration kPatience = 20s;

// A path as Windows programs take it: a Unix path from the build system gets Wine's drive Z:.
std::wstring WindowsPath(const std::wstring& path);

// The programs under test, as the build made them.
inline std::wstring Exe() { return TARNBY_EXE; }
inline std::wstring ConsoleCompanion() { return TARNBY_COM; }

// The "TarnbyName" of a window, or empty when it has none.
std::wstring NameOf(HWND hwnd);
std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);  // asks the window itself (WM_GETTEXT), with a timeout
DWORD ProcessOf(HWND hwnd);

// Top-level windows of a process (0: of any process), hidden ones included.
std::vector<HWND> TopLevelWindows(DWORD processId);
std::vector<HWND> ChildWindows(HWND parent);

// Polls until the condition holds or the deadline passes.
template <class F>
bool WaitFor(F&& condition, Duration timeout = kPatience) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::Sleep(50);
  }
}

// A started tarnby.exe; ended by force when the object goes, unless it ended itself.
class Tarnby {
 public:
  // The path may be a Unix path (as the build system knows it) or a Windows one.
  // With arguments after the program's name; output, when given, receives
  // what the program writes to its standard output, and errors (or else
  // output) what it writes to its error output.
  explicit Tarnby(const std::wstring& exePath, const std::wstring& arguments = L"", HANDLE output = nullptr,
                  HANDLE errors = nullptr);
  // Started as Windows starts a run entry at logon: the command line exactly
  // as given (quoted or not), in the system folder.
  struct AsRunEntry {
    std::wstring commandLine;
  };
  Tarnby(const std::wstring& exePath, const AsRunEntry& entry);
  ~Tarnby();
  Tarnby(const Tarnby&) = delete;
  Tarnby& operator=(const Tarnby&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Id() const { return id_; }
  bool Running() const;
  // Waits for the process to end; true when it did in time.
  bool WaitForExit(Duration timeout = kPatience) const;
  std::optional<DWORD> ExitCode() const;
  void Kill();

  // A form by its name, and a control of it, waiting for them to appear.
  HWND Form(const std::wstring& name, Duration timeout = kPatience) const;
  HWND Control(const std::wstring& form, const std::wstring& control, Duration timeout = kPatience) const;

  // The open popup menu of this process, or null when none shows in time.
  HWND PopupMenu(Duration timeout = kPatience) const;
  // Shows the main window through the tray's "&Show Timer", as the user
  // does while the screen saver is the quick action: the window, or null
  // when it did not show in time.
  HWND ShowTimer() const;
  // A message box (a dialog with this title) of this process.
  HWND MessageBoxTitled(const std::wstring& title, Duration timeout = kPatience) const;
  // Answers such a message box with a button (IDOK, IDYES, ...): its text, or
  // nothing when none showed in time or the button could not be pressed.
  std::optional<std::wstring> AnswerMessageBox(const std::wstring& title, int button = IDOK,
                                               Duration timeout = kPatience) const;

 private:
  void Launch(const std::wstring& path, std::wstring commandLine, const std::wstring& folder, HANDLE output,
              HANDLE errors);
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// A program run to its end with its outputs in pipes of ours.
struct Finished {
  DWORD code = ~0u;  // ~0u: it did not end in time
  std::string output, errors;
  bool closed = false;  // no other process holds the pipes: what reads them gets to their end
};
Finished RunToEnd(const std::wstring& exePath, const std::wstring& arguments, Duration timeout = kPatience);
// tarnby.exe with arguments, run to its end: its exit code and what it printed.
inline std::pair<DWORD, std::string> RunTarnby(const std::wstring& arguments) {
  const Finished finished = RunToEnd(Exe(), arguments);
  return {finished.code, finished.output};
}

// Hands commands to the running Tarnby one after the other, as its copies do
// (WM_COPYDATA "TRNB" of the arguments, each ending in a NUL, a window of
// ours in wParam), each once the one before is answered ("TRN" and the exit
// code's digit): the exit codes, ~0u for one not taken or not answered in time.
std::vector<DWORD> HandOver(HWND frmstart, const std::vector<std::wstring>& commands, Duration timeout = kPatience);

// What the shell does when the user handles the tray icon owned by box.
void TrayMessage(HWND box, UINT mouseMessage);
inline void TrayRightClick(HWND box) { TrayMessage(box, WM_RBUTTONUP); }
inline void TrayDoubleClick(HWND box) { TrayMessage(box, WM_LBUTTONDBLCLK); }

// Picks the item of an open popup menu whose mnemonic (the letter after '&') is key.
void ChooseMenuItem(HWND menu, wchar_t key);
// Closes an open popup menu as Esc does.
void CloseMenu(HWND menu);

// Clicks a button, check box or option button as the mouse would.
void Click(HWND button);
// Clicks a label (a static that tells its parent of clicks) as the mouse would.
void ClickLabel(HWND label);
// Types text into a text box, one character at a time, through its key handling.
void Type(HWND edit, const std::wstring& text);

// The text of a message box and a press on one of its buttons (IDOK, IDYES, ...).
std::wstring MessageBoxText(HWND box);
bool PressDialogButton(HWND dialog, int buttonId);

// Under Wine, ExitWindowsEx hands the end of the session to wineboot.exe,
// which goes on closing the windows of every process after the caller has
// ended. Waits until it is gone, so the next Tarnby is not caught by it.
bool WaitForSessionEndToFinish(Duration timeout = kPatience);

// A first run: no settings left from an earlier one.
void ForgetTarnbySettings();
// The Windows version Wine reports to tarnby.exe only (win95, win98, winxp, win10).
void SetTarnbyWindowsVersion(const std::wstring& version);

// A REG_SZ value, or nothing when it is missing or of another type.
std::optional<std::wstring> ReadRegString(HKEY hive, const std::wstring& key, const std::wstring& value);
// Writes a REG_SZ value, creating the key; true when it was written.
bool SetRegString(HKEY hive, const std::wstring& key, const std::wstring& value, const std::wstring& text);

// A key pressed or let go as the user's keyboard would (GetLastInputInfo and
// GetAsyncKeyState see it).
void SendKey(WORD virtualKey, bool up);

// The tips of the icons in the notification area, as the shell holds them.
// Under Wine's own tray each icon is a window of the shell's process with a
// tooltip of its own; the tip is read out of that process's memory.
std::vector<std::wstring> TrayTips();

// The window's rectangle on the screen.
RECT ScreenRect(HWND hwnd);

// A window of this process that the user types in: an edit box in the
// foreground with the focus, until the object goes.
class TypingWindow {
 public:
  TypingWindow();
  ~TypingWindow();
  TypingWindow(const TypingWindow&) = delete;
  TypingWindow& operator=(const TypingWindow&) = delete;
  HWND hwnd() const { return hwnd_; }
  // Brings it to the foreground again; true when it is there.
  bool TakeFocus() const;

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace tarnby::drive
