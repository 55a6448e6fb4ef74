// FakeWindows: an in-memory Windows for the core tests. It keeps a registry
// with value types and case-insensitive names, a small file system, the
// keyboard, a clock you advance (timers fire from it), the tray, a scripted
// user who answers message boxes, file dialogs and menus, and a log of every
// call with its arguments.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/forms/forms.h"
#include "core/platform.h"

namespace tarnby {

class FakeWindows : public Platform {
 public:
  FakeWindows();
  ~FakeWindows() override;

  // ---------------------------------------------------------------- the world
  struct RegValue {
    std::uint32_t type = w::kRegSz;
    std::vector<std::uint8_t> data;
  };
  // A REG_SZ as Windows normally stores it (with its NUL), or without the NUL.
  void SetRegString(Handle hive, const std::string& key, const std::string& name, const std::string& text,
                    bool withNul = true);
  void SetRegValue(Handle hive, const std::string& key, const std::string& name, std::uint32_t type,
                   std::vector<std::uint8_t> data);
  void SetRegDword(Handle hive, const std::string& key, const std::string& name, std::uint32_t value);
  std::optional<RegValue> GetRegValue(Handle hive, const std::string& key, const std::string& name) const;
  // The stored text up to its first NUL, or nullopt when there is no such REG_SZ.
  std::optional<std::string> GetRegString(Handle hive, const std::string& key, const std::string& name) const;
  bool KeyExists(Handle hive, const std::string& key) const;
  // The registry's spelling of a value name, as it was first written.
  std::string StoredName(Handle hive, const std::string& key, const std::string& name) const;
  bool localMachineWritable = true;  // a standard user may not write HKEY_LOCAL_MACHINE
  bool currentUserWritable = true;   // false: a policy refuses the user's own keys too
  int OpenKeyCount() const { return static_cast<int>(openKeys_.size()); }

  enum class Version { Win95, Win98, WinMe, WinNT4, WinXP, Win10 };
  void SetVersion(Version version);
  OsVersionInfo version;

  std::optional<std::string> userName = std::string("Alice");  // nullopt: GetUserName fails
  std::string windowsDir = "C:\\WINDOWS";
  std::string systemDir = "C:\\WINDOWS\\SYSTEM";
  std::optional<std::string> tempPath = std::string("C:\\WINDOWS\\TEMP\\");
  std::string programFolder = "C:\\Program Files\\Tarnby";
  std::string currentDir = "C:\\";
  // The process's environment (names in upper case). TMP names the temporary folder.
  std::map<std::string, std::string> environment{{"TMP", "C:\\WINDOWS\\TEMP"}};
  std::optional<std::string> recentFolder = std::string("C:\\WINDOWS\\Recent");  // nullopt: the shell fails
  std::optional<std::string> profileFolder = std::string("C:\\Users\\Alice");  // nullopt: the shell fails
  // What the shell reports for each known folder; one that is missing it does not know.
  std::map<KnownFolder, std::string> knownFolders{
      {KnownFolder::Desktop, "C:\\Users\\Alice\\Desktop"},
      {KnownFolder::Documents, "C:\\Users\\Alice\\Documents"},
      {KnownFolder::Downloads, "C:\\Users\\Alice\\Downloads"},
      {KnownFolder::Pictures, "C:\\Users\\Alice\\Pictures"},
      {KnownFolder::Music, "C:\\Users\\Alice\\Music"},
      {KnownFolder::Videos, "C:\\Users\\Alice\\Videos"},
      {KnownFolder::Favorites, "C:\\Users\\Alice\\Favorites"},
      {KnownFolder::PublicDesktop, "C:\\Users\\Public\\Desktop"},
      {KnownFolder::PublicDocuments, "C:\\Users\\Public\\Documents"},
      {KnownFolder::ProgramFiles, "C:\\Program Files"},
      {KnownFolder::ProgramFilesX86, "C:\\Program Files (x86)"},
      {KnownFolder::ProgramFilesCommon, "C:\\Program Files\\Common Files"},
      {KnownFolder::ProgramFilesCommonX86, "C:\\Program Files (x86)\\Common Files"},
      {KnownFolder::LocalAppData, "C:\\Users\\Alice\\AppData\\Local"}};
  ScreenInfo screen{1024 * 15, 768 * 15, 15, 15};
  // Windows moved to a monitor of another DPI; any other has the screen's factors.
  std::map<Handle, PixelScale> windowScales;
  bool anotherInstance = false;
  // The program ended and is started again on the same machine: its mutex and
  // its icons are gone, the registry and files stay.
  void NewProcess();
  // The copy already running, for a process started while it runs: the exit
  // code it answers a command with (unset: no window was published, or it
  // did not answer).
  std::function<std::uint32_t(std::uintptr_t kind, const std::string& data)> runningCopy;
  // The text that comes back with that answer.
  std::string runningCopyReply;
  // As the running copy: the answers sent to the windows of the commands' senders.
  struct Answer {
    Handle replyTo = 0;
    std::uint32_t code = 0;
    std::string text;
  };
  std::vector<Answer> answers;
  // The processes that made windows (the senders' reply windows).
  std::map<Handle, std::uint32_t> windowProcesses;
  bool consoleCompanion = false;  // started by tarnby.com
  SystemTime localTime;
  std::uint32_t waveDevices = 1;
  std::uint32_t dialUpValue = 0;  // what the system reports as the dial-up state when asked
  bool canSleep = true, canHibernate = true;  // what IsPwrSuspendAllowed and IsPwrHibernateAllowed say
  bool aoAc = false;           // the machine sleeps as Modern Standby
  bool suspendRefused = false;  // SetSuspendState fails (a policy, no hibernation file)
  long screenOffStatus = 0;     // what CallNtPowerInformation(ScreenOff) answers

  // Files: full paths, case-insensitive. Folders are entries with the directory attribute.
  void AddFolder(const std::string& path);
  void AddFile(const std::string& path, std::uint32_t attributes = w::kFileAttributeArchive, bool inUse = false);
  bool FileExists(const std::string& path) const;
  // A file with these bytes in it (created when needed).
  void SetFileContent(const std::string& path, const std::string& content);
  // Symbolic links: a full path that leads to another (file or folder).
  void AddLink(const std::string& path, const std::string& target);
  // Programs that Shell and ShellExecute cannot start.
  std::set<std::string> unstartable;
  // Files the shell finds no icon for.
  std::set<std::string> iconless;

  // The keyboard: virtual keys held down now.
  std::set<int> keysDown;
  // Every key GetAsyncKeyState was asked about, in order.
  std::vector<int> keyStateReads;

  // Other processes: what a snapshot lists. One that is not openable refuses
  // OpenProcess, as a process of the system or another user may.
  struct Process {
    std::uint32_t pid = 0;
    std::string name;
    bool openable = true;
    std::uint32_t parent = 0;
  };
  std::vector<Process> processes;
  std::uint32_t currentProcessId = 4000;
  // The process ends: the waits on its handles are signalled, and their
  // messages arrive as the message loop turns (Advance, DoEvents, or here).
  void EndProcess(std::uint32_t pid);
  int OpenProcessHandles() const { return static_cast<int>(processHandles_.size()); }
  int RegisteredWaits() const { return static_cast<int>(waits_.size()); }
  // Input: GetTickCount of the last keyboard or mouse input; UserInput() is input now.
  std::uint32_t lastInput = 0;
  void UserInput() { lastInput = GetTickCount(); }
  // Added to the clock for GetTickCount, to put its wrap where a test wants it.
  std::uint32_t tickCountOffset = 0;
  // The processors' times (100 ns) and the interfaces' octets; Busy and
  // Traffic let them run on as the clock advances.
  bool systemTimesKnown = true;
  std::uint64_t idleTime = 0, kernelTime = 0, userTime = 0;
  bool octetsKnown = true;
  std::uint64_t receivedOctets = 0, sentOctets = 0;
  // From now on, per second: this share of both processors busy, and these
  // many bytes in and out.
  void Busy(int percent) { busyPercent_ = percent; }
  void Traffic(std::uint64_t bytesPerSecond) { trafficPerSecond_ = bytesPerSecond; }

  // --------------------------------------------------------------- the clock
  std::uint64_t now = 0;
  // Each window timer fires this much later than its interval, every time.
  std::uint32_t timerLateness = 0;
  // Let time pass; every due timer fires in time order.
  void Advance(std::uint64_t milliseconds);
  // The machine sleeps: the clock runs on but no timer fires until it wakes,
  // and the unbiased interrupt time stands still. Windows broadcasts the
  // suspend before and the wake after to every window; untold, the
  // broadcasts come after the timers (never, here).
  void SleepMachine(std::uint64_t milliseconds, bool told = true);
  // The program is held up (a busy machine): the clocks run on, but no
  // timer fires until it is free again.
  void Stall(std::uint64_t milliseconds);
  std::uint64_t asleep = 0;  // of now, the time spent asleep

  // -------------------------------------------------------- the scripted user
  // Answers in order; when none is queued an OK box answers OK and a Yes/No box No.
  std::deque<int> messageBoxAnswers;
  // Runs while a message box is open, before it is answered (to fire other events).
  std::function<void(const std::string& text)> whileMessageBox;
  // Paths to pick, or nullopt to cancel; when none is queued the dialog is cancelled.
  std::deque<std::optional<std::string>> fileDialogAnswers;
  std::function<void()> whileFileDialog;
  // Item names to choose from popup menus; when none is queued the menu is dismissed.
  std::deque<std::string> menuChoices;
  std::function<void()> whileMenuOpen;
  std::function<void()> onDoEvents;
  // Runs while Shell_NotifyIcon waits on the shell, which lets sent messages in.
  std::function<void()> whileShellNotified;

  // ------------------------------------------------------------ what happened
  std::vector<std::string> log;
  bool Logged(const std::string& call) const;  // a call that starts with this text
  int Count(const std::string& call) const;
  std::vector<std::string> Calls(const std::string& prefix) const;
  void ClearLog() { log.clear(); }

  struct MessageBoxCall {
    std::string text, title;
    std::uint32_t style;
  };
  std::vector<MessageBoxCall> messageBoxes;
  std::vector<OpenFileName> fileDialogs;
  std::map<std::pair<Handle, std::uint32_t>, NotifyIconData> trayIcons;
  bool shellReady = true;  // false: the shell refuses every icon, as at logon before it has started
  struct Balloon {
    Handle hWnd;
    std::string title, text;
    std::uint32_t uFlags;
  };
  std::vector<Balloon> balloons;  // every NIF_INFO with a text, in order
  std::vector<std::string> console;  // lines written to the parent's console
  std::vector<std::string> consoleErrors;  // and to its error output
  Handle publishedWindow = 0;
  std::uint32_t executionState = 0;
  bool processEnded = false;
  std::uint32_t exitCode = 0;
  int shutdownPrivilegeRequests = 0;
  std::string playing;  // the looping sound, empty when quiet
  std::map<Handle, std::intptr_t> windowProcs;
  int drawnIcons = 0;
  int liveIcons = 0;  // extracted and not yet destroyed
  int liveIdLists = 0;  // shell item id lists handed out and not yet freed
  std::vector<Form*> LoadedForms() const { return forms_; }
  Form* FindForm(const std::string& name) const;
  // The control whose real window is hwnd.
  Control* ControlOf(Handle hwnd) const;

  // ------------------------------------------------------------- Platform
  long RegOpenKey(Handle key, const std::string& subKey, Handle* result) override;
  long RegOpenKeyEx(Handle key, const std::string& subKey, std::uint32_t options, std::uint32_t access,
                    Handle* result) override;
  long RegCreateKey(Handle key, const std::string& subKey, Handle* result) override;
  long RegQueryValueEx(Handle key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) override;
  long RegSetValueEx(Handle key, const std::string& valueName, std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t size) override;
  long RegDeleteValue(Handle key, const std::string& valueName) override;
  long RegCloseKey(Handle key) override;
  bool GetVersionEx(OsVersionInfo& info) override;
  bool GetUserName(char* buffer, std::uint32_t* size) override;
  std::uint32_t GetWindowsDirectory(char* buffer, std::uint32_t size) override;
  std::uint32_t GetSystemDirectory(char* buffer, std::uint32_t size) override;
  std::uint32_t GetTempPath(std::uint32_t size, char* buffer) override;
  std::string ProgramFolder() override { return programFolder; }
  std::string CurrentDirectory() override { return currentDir; }
  std::string GetEnvironmentVariable(const std::string& name) override;
  Handle InstanceHandle() override { return 0x400000; }
  ScreenInfo Screen() override { return screen; }
  std::uint64_t TickCount() override { return now; }
  bool QueryUnbiasedInterruptTime(std::uint64_t& unbiasedTime) override;
  void GetLocalTime(SystemTime& time) override { time = localTime; }
  std::uint32_t SetThreadExecutionState(std::uint32_t flags) override;
  void PublishInstanceWindow(Handle hwnd) override;
  Handle InstanceWindow() override;
  bool SendCommand(Handle hwnd, std::uintptr_t kind, const std::string& data, std::uint32_t* code,
                   std::string* text) override;
  bool SendAnswer(Handle replyTo, std::uint32_t code, const std::string& text) override;
  bool InstanceRunning() override;
  bool WriteParentConsole(const std::string& line) override;
  bool WriteParentConsoleError(const std::string& text) override;
  bool ConsoleCompanion() override { return consoleCompanion; }
  void LetGoOfConsole() override;
  bool AnotherInstanceRunning() override;
  void ExitProcess(std::uint32_t code) override;
  std::uint32_t Shell(const std::string& commandLine, int windowState) override;
  bool EnableShutdownPrivilege() override;
  bool IsPwrSuspendAllowed() override;
  bool IsPwrHibernateAllowed() override;
  bool SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) override;
  long CallNtPowerInformation(std::uint32_t level, bool* aoAc) override;
  bool SetWindowPos(Handle hwnd, Handle insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) override;
  bool SetForegroundWindow(Handle hwnd) override;
  bool ShowWindow(Handle hwnd, int showCommand) override;
  void BringWindowForward(Handle hwnd) override;
  bool ReleaseCapture() override;
  std::intptr_t SendMessage(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  bool PostMessage(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  Handle FindWindow(const char* className, const char* windowName) override;
  std::uint32_t GetWindowThreadProcessId(Handle hwnd) override;
  std::intptr_t SetWindowLongPtr(Handle hwnd, int index, std::intptr_t value) override;
  std::intptr_t CallWindowProc(std::intptr_t previous, Handle hwnd, std::uint32_t msg, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
  bool LockWorkStation() override;
  std::int16_t GetAsyncKeyState(int virtualKey) override;
  void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                   std::uintptr_t extraInfo) override;
  int MessageBox(const std::string& text, const std::string& title, std::uint32_t style) override;
  void Beep() override;
  void DoEvents() override;
  Handle ExtractAssociatedIcon(Handle instance, const std::string& path, std::uint16_t index) override;
  Handle GetDC(Handle hwnd) override;
  int ReleaseDC(Handle hwnd, Handle dc) override;
  bool DrawIcon(Handle dc, int x, int y, Handle icon) override;
  bool DestroyIcon(Handle icon) override;
  void ClearPicture(Control& picture) override;
  TextSize MeasureText(const Control& label) override;
  PixelScale ScaleOf(Handle window) override;
  bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) override;
  std::intptr_t ShellExecute(Handle owner, const std::string& operation, const std::string& file,
                             const std::string& parameters, const std::string& directory, int show) override;
  void SHAddToRecentDocs(std::uint32_t flags, const void* pv) override;
  long SHGetSpecialFolderLocation(Handle owner, int folder, Handle* idList) override;
  bool SHGetPathFromIDList(Handle idList, char* path) override;
  void CoTaskMemFree(Handle memory) override;
  long SHGetKnownFolderPath(KnownFolder folder, std::uint32_t flags, Handle token, std::string* path) override;
  Handle FindFirstFile(const std::string& pattern, FindData& data) override;
  bool FindNextFile(Handle search, FindData& data) override;
  bool FindClose(Handle search) override;
  std::uint32_t GetFileAttributes(const std::string& path) override;
  bool SetFileAttributes(const std::string& path, std::uint32_t attributes) override;
  bool DeleteFile(const std::string& path) override;
  std::string FinalPath(const std::string& path) override;
  std::string ReadFileStart(const std::string& path, std::uint32_t count) override;
  bool GetOpenFileName(OpenFileName& request) override;
  bool PlaySound(const std::string& sound, Handle module, std::uint32_t flags) override;
  std::uint32_t waveOutGetNumDevs() override;
  std::uint32_t mciSendString(const std::string& command, char* returnBuffer, std::uint32_t returnLength,
                              Handle callback) override;
  bool InternetAutodialHangup(std::uint32_t reserved) override;
  std::vector<ProcessEntry> ProcessSnapshot() override;
  std::uint32_t GetCurrentProcessId() override { return currentProcessId; }
  std::uint32_t WaitForSingleObject(Handle object, std::uint32_t milliseconds) override;
  Handle OpenProcess(std::uint32_t access, bool inheritHandle, std::uint32_t processId) override;
  bool CloseHandle(Handle object) override;
  Handle RegisterWaitForSingleObject(Handle object, Handle hwnd, std::uintptr_t cookie) override;
  bool UnregisterWait(Handle wait) override;
  bool GetLastInputInfo(std::uint32_t& dwTime) override;
  std::uint32_t GetTickCount() override { return static_cast<std::uint32_t>(now + tickCountOffset); }
  bool GetSystemTimes(std::uint64_t& idle, std::uint64_t& kernel, std::uint64_t& user) override;
  bool GetNetworkOctets(std::uint64_t& received, std::uint64_t& sent) override;
  void CreateFormWindow(Form& form) override;
  void DestroyFormWindow(Form& form) override;
  void FormChanged(Form& form) override;
  void ControlChanged(Control& control) override;
  void TimerChanged(Timer& timer) override;
  int TrackPopupMenu(Menu& menu, Handle owner) override;

 private:
  struct Key {
    std::string path;  // hive-qualified, lower case
    std::map<std::string, std::pair<std::string, RegValue>> values;  // lower-case name -> (spelling, value)
  };
  struct File {
    std::string path;
    std::uint32_t attributes;
    bool inUse;
    std::string content;
  };
  struct Search {
    std::vector<FindData> entries;
    std::size_t next = 0;
  };
  static std::string KeyPath(Handle hive, const std::string& key);
  Key* OpenedKey(Handle key);
  long OpenKeyFor(Handle parent, const std::string& subKey, bool create, bool write, Handle* result);
  void Log(std::string call);
  void DeliverTimers(std::uint64_t until);

  std::map<std::string, Key> keys_;
  std::map<Handle, std::pair<std::string, bool>> openKeys_;  // handle -> (key path, opened for writing)
  std::map<std::string, File> files_;
  std::map<std::string, std::string> links_;  // lower-case full path -> target
  std::map<Handle, Search> searches_;
  std::vector<Form*> forms_;
  std::map<Timer*, std::uint64_t> timers_;  // enabled timers and when each is due
  std::map<Timer*, std::uint64_t> scheduled_;  // when each was last set, to order ties
  std::uint64_t scheduleCount_ = 0;
  void Schedule(Timer* timer, std::uint64_t when);
  void DeliverPosted();
  void RunActivity(std::uint64_t milliseconds);
  struct RegisteredWait {
    Handle process;
    Handle hwnd;
    std::uintptr_t cookie;
  };
  std::map<Handle, std::uint32_t> processHandles_;  // handle -> process id
  std::map<Handle, RegisteredWait> waits_;
  std::vector<std::pair<Handle, std::uintptr_t>> posted_;  // signals on their way to a window
  std::set<std::uint32_t> ended_;
  int busyPercent_ = 0;
  std::uint64_t trafficPerSecond_ = 0;
  Handle nextHandle_ = 0x1000;
  bool mutexTaken_ = false;
};


}  // namespace tarnby
