// The one door through which Tarnby's core touches the world.
//
// Every member mirrors a Win32 call (or a small, named group of them) with the
// same arguments, so the core reads like the program it drives. Strings are
// UTF-8 here; the Win32 implementation converts at the boundary and calls the
// W entry points. FakeWindows (tests/core) implements the same interface in
// memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#if defined(_WIN32) && !defined(_WIN64)
#define TARNBY_CALLBACK __stdcall
#else
#define TARNBY_CALLBACK
#endif

namespace tarnby {

class Form;
class Control;
class Timer;
class Menu;

using Handle = std::uintptr_t;  // HWND, HICON, HDC, HKEY, search handles, ...
using WndProc = std::intptr_t(TARNBY_CALLBACK*)(Handle, std::uint32_t, std::uintptr_t, std::intptr_t);

// Win32 numbers the core uses. Prefixed so they never meet <windows.h> macros.
namespace w {
inline constexpr Handle kHkeyCurrentUser = 0x80000001u;
inline constexpr Handle kHkeyLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kRegNone = 0, kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4;
inline constexpr long kErrorSuccess = 0, kErrorFileNotFound = 2, kErrorAccessDenied = 5, kErrorMoreData = 234;
inline constexpr std::uint32_t kKeyRead = 0x20019, kKeyAllAccess = 0xF003F, kKeyQueryValue = 0x0001,
                               kKeySetValue = 0x0002;

inline constexpr std::uint32_t kPlatformWin32Windows = 1, kPlatformWin32Nt = 2;

inline constexpr std::uint32_t kNimAdd = 0, kNimModify = 1, kNimDelete = 2;
inline constexpr std::uint32_t kNifMessage = 1, kNifIcon = 2, kNifTip = 4, kNifInfo = 0x10, kNifRealtime = 0x40;
inline constexpr std::uint32_t kNiifWarning = 2;
inline constexpr std::uint32_t kNinBalloonUserClick = 0x0405;

inline constexpr std::uint32_t kWmNull = 0x0000, kWmCommand = 0x0111, kWmSysCommand = 0x0112, kWmGetMinMaxInfo = 0x0024,
                               kWmMouseMove = 0x0200, kWmLButtonDblClk = 0x0203, kWmRButtonUp = 0x0205,
                               kWmNcLButtonDown = 0x00A1;
inline constexpr std::uintptr_t kScScreenSave = 0xF140, kScMonitorPower = 0xF170, kHtCaption = 2;
inline constexpr std::intptr_t kMonitorOff = 2;  // SC_MONITORPOWER's lParam
inline constexpr int kGwlWndProc = -4;
inline constexpr Handle kHwndTopmost = static_cast<Handle>(-1);
inline constexpr std::uint32_t kSwpNoSize = 1, kSwpNoMove = 2, kSwpNoActivate = 0x10;

inline constexpr std::uint32_t kEwxLogoff = 0, kEwxShutdown = 1, kEwxReboot = 2, kEwxForce = 4;
inline constexpr int kSwHide = 0, kSwShowNormal = 1, kSwShowMinimized = 2, kSwShowNoActivate = 4;

inline constexpr std::uint32_t kMbOk = 0, kMbYesNo = 4, kMbIconQuestion = 32, kMbIconExclamation = 48,
                               kMbIconInformation = 64;
inline constexpr int kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7;

inline constexpr std::uint32_t kSndSync = 0, kSndAsync = 1, kSndNoDefault = 2, kSndLoop = 8;

inline constexpr int kVkShift = 0x10, kVkControl = 0x11, kVkLWin = 0x5B;
inline constexpr std::uint32_t kKeyEventKeyUp = 2;

inline constexpr std::uint32_t kFileAttributeReadOnly = 0x1, kFileAttributeHidden = 0x2, kFileAttributeSystem = 0x4,
                               kFileAttributeDirectory = 0x10, kFileAttributeArchive = 0x20,
                               kFileAttributeNormal = 0x80, kFileAttributeReparsePoint = 0x400,
                               kInvalidFileAttributes = 0xFFFFFFFFu;
inline constexpr Handle kInvalidHandle = static_cast<Handle>(-1);

inline constexpr int kCsidlRecent = 8, kCsidlProfile = 0x28;
inline constexpr std::uint32_t kKfFlagDontVerify = 0x4000;
inline constexpr std::uint32_t kShardPathA = 2;

inline constexpr std::uint32_t kEsSystemRequired = 0x00000001, kEsContinuous = 0x80000000u;
// CallNtPowerInformation's levels (POWER_INFORMATION_LEVEL).
inline constexpr std::uint32_t kPlatformInformation = 66, kScreenOff = 73;
// WM_POWERBROADCAST and the events it carries in wParam.
inline constexpr std::uint32_t kWmPowerBroadcast = 0x0218;
inline constexpr std::uintptr_t kPbtApmSuspend = 0x0004, kPbtApmResumeAutomatic = 0x0012;

inline constexpr std::uint32_t kSynchronize = 0x00100000u;
inline constexpr std::uint32_t kWaitObject0 = 0, kWaitTimeout = 0x102;
}  // namespace w

// The shell's known folders (FOLDERID_...) the program asks for.
enum class KnownFolder {
  Desktop, Documents, Downloads, Pictures, Music, Videos, Favorites, PublicDesktop, PublicDocuments,
  ProgramFiles, ProgramFilesX86, ProgramFilesCommon, ProgramFilesCommonX86, LocalAppData
};

// OSVERSIONINFO, as GetVersionEx fills it.
struct OsVersionInfo {
  std::uint32_t dwOSVersionInfoSize = 148;
  std::uint32_t dwMajorVersion = 0;
  std::uint32_t dwMinorVersion = 0;
  std::uint32_t dwBuildNumber = 0;
  std::uint32_t dwPlatformId = 0;
  std::string szCSDVersion;
};

// NOTIFYICONDATA as Tarnby fills it. szTip holds the tip, its NUL and the padding.
struct NotifyIconData {
  std::uint32_t cbSize = 0;
  Handle hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  Handle hIcon = 0;
  std::string szTip;
  // The balloon (NIF_INFO): its text, title and icon flags.
  std::string szInfo;
  std::string szInfoTitle;
  std::uint32_t dwInfoFlags = 0;
};

// SYSTEMTIME, as GetLocalTime fills it.
struct SystemTime {
  std::uint16_t wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0;
  std::uint16_t wHour = 0, wMinute = 0, wSecond = 0, wMilliseconds = 0;
};

// OPENFILENAME, the fields Tarnby sets. Filter strings carry their NULs.
// On success lpstrFile holds what the dialog wrote: the path, its NUL, and
// whatever of the original buffer follows.
struct OpenFileName {
  std::uint32_t lStructSize = 76;
  Handle hwndOwner = 0;
  Handle hInstance = 0;
  std::string lpstrFilter;
  std::uint32_t nFilterIndex = 0;
  std::string lpstrFile;
  std::uint32_t nMaxFile = 0;
  std::string lpstrFileTitle;
  std::uint32_t nMaxFileTitle = 0;
  std::string lpstrInitialDir;  // empty: none
  std::string lpstrTitle;
  std::uint32_t Flags = 0;
};

// One directory entry from FindFirstFile/FindNextFile.
struct FindData {
  std::uint32_t dwFileAttributes = 0;
  std::string cFileName;
};

// PROCESSENTRY32, the fields Tarnby reads: the id and the file name, no folder.
struct ProcessEntry {
  std::uint32_t th32ProcessID = 0;
  std::string szExeFile;
  std::uint32_t th32ParentProcessID = 0;
};

// The screen as the program sees it: size in twips and the twips-per-pixel factors.
struct ScreenInfo {
  int widthTwips = 0;
  int heightTwips = 0;
  int twipsPerPixelX = 15;
  int twipsPerPixelY = 15;
};

// The twips-per-pixel factors one window is laid out with: the screen's, until
// the window moves to a monitor of another DPI.
struct PixelScale {
  int twipsPerPixelX = 15;
  int twipsPerPixelY = 15;
};

struct TextSize {
  int width = 0;   // twips
  int height = 0;  // twips
};

// The native windows behind the core's forms. One real window per form and
// one real control per model control; the native side keeps them in step with
// the model and turns window messages into the model's events. It makes no
// decisions of its own.
class NativeWindows {
 public:
  virtual ~NativeWindows() = default;
  virtual void CreateFormWindow(Form& form) = 0;
  virtual void DestroyFormWindow(Form& form) = 0;
  virtual void FormChanged(Form& form) = 0;
  virtual void ControlChanged(Control& control) = 0;
  virtual void TimerChanged(Timer& timer) = 0;
  // Shows the menu at the mouse position and returns the index of the chosen
  // item, or -1 when the menu was dismissed.
  virtual int TrackPopupMenu(Menu& menu, Handle owner) = 0;
  // Wipe what was drawn on a picture box (its Cls).
  virtual void ClearPicture(Control& picture) = 0;
  virtual TextSize MeasureText(const Control& label) = 0;
  // The factors of a form's or control's window now; the screen's for any other.
  virtual PixelScale ScaleOf(Handle window) = 0;
  // Let pending window messages run (the message loop turns once).
  virtual void DoEvents() = 0;
};

class Platform : public NativeWindows {
 public:

  // --- Registry (advapi32). Hives are passed as their predefined key codes.
  virtual long RegOpenKey(Handle key, const std::string& subKey, Handle* result) = 0;
  virtual long RegOpenKeyEx(Handle key, const std::string& subKey, std::uint32_t options, std::uint32_t access,
                            Handle* result) = 0;
  virtual long RegCreateKey(Handle key, const std::string& subKey, Handle* result) = 0;
  // data may be null to ask for type and size only; *size is in bytes.
  virtual long RegQueryValueEx(Handle key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                               std::uint32_t* size) = 0;
  virtual long RegSetValueEx(Handle key, const std::string& valueName, std::uint32_t type, const std::uint8_t* data,
                             std::uint32_t size) = 0;
  virtual long RegDeleteValue(Handle key, const std::string& valueName) = 0;
  virtual long RegCloseKey(Handle key) = 0;

  // --- System information (kernel32, advapi32)
  virtual bool GetVersionEx(OsVersionInfo& info) = 0;
  virtual bool GetUserName(char* buffer, std::uint32_t* size) = 0;
  // Return the length written, 0 on failure, or the size needed when the buffer is too small.
  virtual std::uint32_t GetWindowsDirectory(char* buffer, std::uint32_t size) = 0;
  virtual std::uint32_t GetSystemDirectory(char* buffer, std::uint32_t size) = 0;
  virtual std::uint32_t GetTempPath(std::uint32_t size, char* buffer) = 0;
  // The folder of the running executable, no trailing backslash except at a drive root.
  virtual std::string ProgramFolder() = 0;
  virtual std::string CurrentDirectory() = 0;
  // The variable's value as the process sees it; empty when it is not set.
  virtual std::string GetEnvironmentVariable(const std::string& name) = 0;
  virtual Handle InstanceHandle() = 0;
  virtual ScreenInfo Screen() = 0;
  // Milliseconds from a monotonic clock that keeps counting while the machine sleeps.
  virtual std::uint64_t TickCount() = 0;
  // The interrupt time in 100 ns, without the time the machine spent asleep
  // or hibernated; false where the system has no such clock.
  virtual bool QueryUnbiasedInterruptTime(std::uint64_t& unbiasedTime) = 0;
  virtual void GetLocalTime(SystemTime& time) = 0;
  // Keeps the machine from sleeping on its own (ES_ flags); returns the state
  // before, or 0 where the system has no such call.
  virtual std::uint32_t SetThreadExecutionState(std::uint32_t flags) = 0;

  // --- Process
  // True when another copy runs in this user session (the per-session named mutex).
  virtual bool AnotherInstanceRunning() = 0;
  // End at once: no handler runs, nothing is saved, the tray icon stays. Does not
  // return on Windows; FakeWindows records it and returns, and callers return too.
  virtual void ExitProcess(std::uint32_t code) = 0;
  // Start a command line with a window state (0 hidden, 1 normal, 2 minimised).
  // Returns a task id, or 0 when the program could not be started.
  virtual std::uint32_t Shell(const std::string& commandLine, int windowState) = 0;
  virtual bool EnableShutdownPrivilege() = 0;
  // Power (powrprof, looked up at run time: false where the system has none).
  virtual bool IsPwrSuspendAllowed() = 0;
  virtual bool IsPwrHibernateAllowed() = 0;
  virtual bool SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) = 0;
  // CallNtPowerInformation for a level without buffers (kScreenOff), or for
  // kPlatformInformation, whose POWER_PLATFORM_INFORMATION.AoAc (the machine
  // sleeps as Modern Standby) lands in *aoAc. The NTSTATUS: 0 is success.
  virtual long CallNtPowerInformation(std::uint32_t level, bool* aoAc) = 0;
  // The running copy's main window, recorded beside the single-instance mutex
  // by the copy that holds it, so that a later copy can hand it arguments.
  virtual void PublishInstanceWindow(Handle hwnd) = 0;
  virtual Handle InstanceWindow() = 0;  // 0 when none was published
  // Hands a command to the running copy's window (WM_COPYDATA of this kind,
  // data as UTF-16, a message-only window of ours in wParam) and waits for
  // its answer there: the exit code and the text the running copy sends
  // back once it has decided (SendAnswer). False when the window did not
  // take the command, or stopped answering or ended before it decided.
  virtual bool SendCommand(Handle hwnd, std::uintptr_t kind, const std::string& data, std::uint32_t* code,
                           std::string* text) = 0;
  // The running copy's side: a command's answer to the window its sender
  // named; false when that window is gone or does not take it.
  virtual bool SendAnswer(Handle replyTo, std::uint32_t code, const std::string& text) = 0;
  // True when another copy holds the single-instance mutex; unlike
  // AnotherInstanceRunning this copy claims nothing when none does.
  virtual bool InstanceRunning() = 0;
  // One line to the console of the process that started this one (or to the
  // output it was given); false when there is none.
  virtual bool WriteParentConsole(const std::string& line) = 0;
  // The same for what went wrong: to the error output, or that console.
  virtual bool WriteParentConsoleError(const std::string& text) = 0;
  // True when the console companion (tarnby.com) started this copy and
  // prints what it reports: usage and problems then go to its console
  // instead of a box.
  virtual bool ConsoleCompanion() = 0;
  // This copy goes on running as Tarnby: it lets go of the outputs it was
  // given, so whoever waits for them (the companion, a script) goes on.
  virtual void LetGoOfConsole() = 0;

  // --- Windows and input (user32)
  virtual bool SetWindowPos(Handle hwnd, Handle insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) = 0;
  virtual bool SetForegroundWindow(Handle hwnd) = 0;
  virtual bool ShowWindow(Handle hwnd, int showCommand) = 0;
  // ShowWindow(SW_RESTORE) when the window is minimised, then SetForegroundWindow.
  virtual void BringWindowForward(Handle hwnd) = 0;
  virtual bool ReleaseCapture() = 0;
  virtual std::intptr_t SendMessage(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual bool PostMessage(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual Handle FindWindow(const char* className, const char* windowName) = 0;
  // The process that made the window; 0 when there is no such window.
  virtual std::uint32_t GetWindowThreadProcessId(Handle hwnd) = 0;
  virtual std::intptr_t SetWindowLongPtr(Handle hwnd, int index, std::intptr_t value) = 0;
  virtual std::intptr_t CallWindowProc(std::intptr_t previous, Handle hwnd, std::uint32_t msg,
                                       std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
  virtual bool LockWorkStation() = 0;
  virtual std::int16_t GetAsyncKeyState(int virtualKey) = 0;
  virtual void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                           std::uintptr_t extraInfo) = 0;
  virtual int MessageBox(const std::string& text, const std::string& title, std::uint32_t style) = 0;
  virtual void Beep() = 0;

  // --- Icons and drawing
  virtual Handle ExtractAssociatedIcon(Handle instance, const std::string& path, std::uint16_t index) = 0;
  virtual Handle GetDC(Handle hwnd) = 0;
  virtual int ReleaseDC(Handle hwnd, Handle dc) = 0;
  virtual bool DrawIcon(Handle dc, int x, int y, Handle icon) = 0;
  virtual bool DestroyIcon(Handle icon) = 0;

  // --- Shell (shell32)
  virtual bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) = 0;
  virtual std::intptr_t ShellExecute(Handle owner, const std::string& operation, const std::string& file,
                                     const std::string& parameters, const std::string& directory, int show) = 0;
  virtual void SHAddToRecentDocs(std::uint32_t flags, const void* pv) = 0;
  virtual long SHGetSpecialFolderLocation(Handle owner, int folder, Handle* idList) = 0;
  // path receives at most 260 bytes.
  virtual bool SHGetPathFromIDList(Handle idList, char* path) = 0;
  virtual void CoTaskMemFree(Handle memory) = 0;
  // *path receives the folder (the shell's copy is freed again); an HRESULT.
  virtual long SHGetKnownFolderPath(KnownFolder folder, std::uint32_t flags, Handle token, std::string* path) = 0;

  // --- Files (kernel32)
  virtual Handle FindFirstFile(const std::string& pattern, FindData& data) = 0;  // kInvalidHandle when none
  virtual bool FindNextFile(Handle search, FindData& data) = 0;
  virtual bool FindClose(Handle search) = 0;
  virtual std::uint32_t GetFileAttributes(const std::string& path) = 0;
  virtual bool SetFileAttributes(const std::string& path, std::uint32_t attributes) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // Where a file or folder really is, every link followed (CreateFile with
  // backup semantics, then GetFinalPathNameByHandle), as a plain path such as
  // C:\Windows or \\server\share\x; empty when it cannot be opened.
  virtual std::string FinalPath(const std::string& path) = 0;
  // CreateFile and ReadFile: up to count bytes from the start of the file;
  // empty when it cannot be opened or read.
  virtual std::string ReadFileStart(const std::string& path, std::uint32_t count) = 0;

  // --- Dialogs, sound, devices, network
  virtual bool GetOpenFileName(OpenFileName& request) = 0;
  virtual bool PlaySound(const std::string& sound, Handle module, std::uint32_t flags) = 0;
  virtual std::uint32_t waveOutGetNumDevs() = 0;
  // returnBuffer may be null when returnLength is 0.
  virtual std::uint32_t mciSendString(const std::string& command, char* returnBuffer, std::uint32_t returnLength,
                                      Handle callback) = 0;
  virtual bool InternetAutodialHangup(std::uint32_t reserved) = 0;

  // --- Other processes and the machine's activity (kernel32, user32, iphlpapi)
  // The processes running now (CreateToolhelp32Snapshot, Process32First/Next).
  virtual std::vector<ProcessEntry> ProcessSnapshot() = 0;
  virtual std::uint32_t GetCurrentProcessId() = 0;
  // 0 when the process may not be opened with this access.
  virtual Handle OpenProcess(std::uint32_t access, bool inheritHandle, std::uint32_t processId) = 0;
  virtual bool CloseHandle(Handle object) = 0;
  // kWaitObject0 when the object is signalled within the time (a process:
  // it has ended), kWaitTimeout when not.
  virtual std::uint32_t WaitForSingleObject(Handle object, std::uint32_t milliseconds) = 0;
  // RegisterWaitForSingleObject, once: when the object is signalled the
  // window is posted a message of Tarnby's own with the cookie, which its
  // form hears as onObjectSignalled(cookie). Returns the wait, 0 on failure.
  virtual Handle RegisterWaitForSingleObject(Handle object, Handle hwnd, std::uintptr_t cookie) = 0;
  // UnregisterWaitEx, returning once a callback under way has finished.
  virtual bool UnregisterWait(Handle wait) = 0;
  // GetLastInputInfo: the GetTickCount of the last keyboard or mouse input.
  virtual bool GetLastInputInfo(std::uint32_t& dwTime) = 0;
  // Milliseconds in 32 bits that wrap after 49.7 days: the clock of GetLastInputInfo.
  virtual std::uint32_t GetTickCount() = 0;
  // Idle, kernel (idle included) and user time of all processors together, in 100 ns.
  virtual bool GetSystemTimes(std::uint64_t& idle, std::uint64_t& kernel, std::uint64_t& user) = 0;
  // The octets all network interfaces together have received and sent
  // (GetIfTable2 where the system has it, else GetIfTable); false when
  // neither answers.
  virtual bool GetNetworkOctets(std::uint64_t& received, std::uint64_t& sent) = 0;
};

}  // namespace tarnby
