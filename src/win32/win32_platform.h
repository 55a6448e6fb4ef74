// The real Platform: each member forwards to the Win32 call it is named after,
// through the W entry points, converting UTF-8 to UTF-16 and back at the edge.
// The members that host the forms' windows go to the NativeHost.
#pragma once

#include "win32/win32_api.h"  // first: see there why

#include <memory>

#include "common/owned.h"
#include "core/platform.h"
#include "win32/native_host.h"

namespace tarnby {

class Win32Platform : public Platform {
 public:
  explicit Win32Platform(NativeHost& host);
  ~Win32Platform() override = default;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // Registry
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

  // System information
  bool GetVersionEx(OsVersionInfo& info) override;
  bool GetUserName(char* buffer, std::uint32_t* size) override;
  std::uint32_t GetWindowsDirectory(char* buffer, std::uint32_t size) override;
  std::uint32_t GetSystemDirectory(char* buffer, std::uint32_t size) override;
  std::uint32_t GetTempPath(std::uint32_t size, char* buffer) override;
  std::string ProgramFolder() override;
  std::string CurrentDirectory() override;
  std::string GetEnvironmentVariable(const std::string& name) override;
  Handle InstanceHandle() override;
  ScreenInfo Screen() override;
  std::uint64_t TickCount() override;
  bool QueryUnbiasedInterruptTime(std::uint64_t& unbiasedTime) override;
  void GetLocalTime(SystemTime& time) override;
  std::uint32_t SetThreadExecutionState(std::uint32_t flags) override;

  // Process
  bool AnotherInstanceRunning() override;
  void ExitProcess(std::uint32_t code) override;
  std::uint32_t Shell(const std::string& commandLine, int windowState) override;
  bool EnableShutdownPrivilege() override;
  // Power (win32_power.cpp).
  bool IsPwrSuspendAllowed() override;
  bool IsPwrHibernateAllowed() override;
  bool SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) override;
  long CallNtPowerInformation(std::uint32_t level, bool* aoAc) override;
  // Hand-over between copies (hand_over.cpp).
  void PublishInstanceWindow(Handle hwnd) override;
  Handle InstanceWindow() override;
  bool SendCopyData(Handle hwnd, std::uintptr_t kind, const std::string& data, std::intptr_t* result,
                    std::string* reply) override;
  void ReplyMessage(std::intptr_t result) override;
  bool ReplyText(const std::string& text) override;
  // The console's lines and tarnby.com (win32_console.cpp).
  bool WriteParentConsole(const std::string& line) override;
  bool WriteParentConsoleError(const std::string& text) override;
  bool ConsoleCompanion() override;
  void LetGoOfConsole() override;

  // Windows and input
  bool SetWindowPos(Handle hwnd, Handle insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) override;
  bool SetForegroundWindow(Handle hwnd) override;
  bool ShowWindow(Handle hwnd, int showCommand) override;
  void BringWindowForward(Handle hwnd) override;
  bool ReleaseCapture() override;
  std::intptr_t SendMessage(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  bool PostMessage(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  Handle FindWindow(const char* className, const char* windowName) override;
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

  // Icons and drawing
  Handle ExtractAssociatedIcon(Handle instance, const std::string& path, std::uint16_t index) override;
  Handle GetDC(Handle hwnd) override;
  int ReleaseDC(Handle hwnd, Handle dc) override;
  bool DrawIcon(Handle dc, int x, int y, Handle icon) override;
  bool DestroyIcon(Handle icon) override;
  void ClearPicture(Control& picture) override;
  TextSize MeasureText(const Control& label) override;
  PixelScale ScaleOf(Handle window) override;

  // Shell
  bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) override;
  std::intptr_t ShellExecute(Handle owner, const std::string& operation, const std::string& file,
                             const std::string& parameters, const std::string& directory, int show) override;
  void SHAddToRecentDocs(std::uint32_t flags, const void* pv) override;
  long SHGetSpecialFolderLocation(Handle owner, int folder, Handle* idList) override;
  bool SHGetPathFromIDList(Handle idList, char* path) override;
  void CoTaskMemFree(Handle memory) override;
  long SHGetKnownFolderPath(KnownFolder folder, std::uint32_t flags, Handle token, std::string* path) override;

  // Files
  Handle FindFirstFile(const std::string& pattern, FindData& data) override;
  bool FindNextFile(Handle search, FindData& data) override;
  bool FindClose(Handle search) override;
  std::uint32_t GetFileAttributes(const std::string& path) override;
  bool SetFileAttributes(const std::string& path, std::uint32_t attributes) override;
  bool DeleteFile(const std::string& path) override;
  std::string FinalPath(const std::string& path) override;
  std::string ReadFileStart(const std::string& path, std::uint32_t count) override;

  // Dialogs, sound, devices, network
  bool GetOpenFileName(OpenFileName& request) override;
  bool PlaySound(const std::string& sound, Handle module, std::uint32_t flags) override;
  std::uint32_t waveOutGetNumDevs() override;
  std::uint32_t mciSendString(const std::string& command, char* returnBuffer, std::uint32_t returnLength,
                              Handle callback) override;
  bool InternetAutodialHangup(std::uint32_t reserved) override;

  // Other processes and the machine's activity (win32_watch.cpp)
  std::vector<ProcessEntry> ProcessSnapshot() override;
  std::uint32_t GetCurrentProcessId() override;
  Handle OpenProcess(std::uint32_t access, bool inheritHandle, std::uint32_t processId) override;
  bool CloseHandle(Handle object) override;
  Handle RegisterWaitForSingleObject(Handle object, Handle hwnd, std::uintptr_t cookie) override;
  bool UnregisterWait(Handle wait) override;
  bool GetLastInputInfo(std::uint32_t& dwTime) override;
  std::uint32_t GetTickCount() override;
  bool GetSystemTimes(std::uint64_t& idle, std::uint64_t& kernel, std::uint64_t& user) override;
  bool GetNetworkOctets(std::uint64_t& received, std::uint64_t& sent) override;

  // Native windows
  void CreateFormWindow(Form& form) override;
  void DestroyFormWindow(Form& form) override;
  void FormChanged(Form& form) override;
  void ControlChanged(Control& control) override;
  void TimerChanged(Timer& timer) override;
  int TrackPopupMenu(Menu& menu, Handle owner) override;

 private:
  NativeHost& host_;
  OwnedHandle instanceMutex_;  // held for the life of the process
  // The mapping that tells later copies our main window.
  OwnedHandle instanceWindow_;
  // The event of the tarnby.com that started us, until we let go of it.
  OwnedHandle companion_;
  bool companionRead_ = false;
};

}  // namespace tarnby
