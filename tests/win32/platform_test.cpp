// The real platform under Wine: folders, user name, files, starting programs,
// the single-instance test, privileges, keyboard state and window lookups.
// The executable doubles as its own helper program: see main() below.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/system/folders.h"
#include "win32/null_host.h"
#include "win32/utf16.h"

namespace tarnby {
namespace {

constexpr int kInstanceRunning = 3, kNoInstance = 4;

std::wstring SelfPath() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// Runs this executable with the given arguments and returns its exit code.
DWORD RunHelper(const std::wstring& arguments) {
  std::wstring command = L"\"" + SelfPath() + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return 0xFFFFFFFF;
  ::WaitForSingleObject(process.hProcess, 30000);
  DWORD code = 0xFFFFFFFF;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return code;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateFileWithText(const std::wstring& path, const std::string& text) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
}

std::string ReadFileText(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  char buffer[256] = {};
  DWORD got = 0;
  ::ReadFile(file, buffer, sizeof buffer, &got, nullptr);
  ::CloseHandle(file);
  return std::string(buffer, got);
}

class PlatformTest : public ::testing::Test {
 protected:
  // A scratch folder whose name is outside every single-byte code page.
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"Tarnby Zoë 東京 " + std::to_wstring(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  }
  void TearDown() override {
    // SHFileOperation would do, but a scratch folder this small is quicker by hand.
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring path = folder + L"\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          if (found.cFileName[0] != L'.') ::RemoveDirectoryW(path.c_str());
        } else {
          ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          ::DeleteFileW(path.c_str());
        }
      } while (::FindNextFileW(search, &found));
      ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
  }

  std::string Folder() const { return Utf8(folder); }

  test::NullHost host;
  Win32Platform platform{host};
  std::wstring folder;
};

TEST_F(PlatformTest, SystemFoldersAreReportedAndExist) {
  struct Case {
    const char* what;
    std::string path;
  };
  const Case cases[] = {{"Windows", GetWindowsDir(platform)},
                        {"system", GetSystemPath(platform)},
                        {"temporary", GetTmpPath(platform)},
                        {"program", platform.ProgramFolder()},
                        {"current", platform.CurrentDirectory()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_FALSE(c.path.empty());
    EXPECT_TRUE(IsFolder(c.path)) << c.path;
  }
  EXPECT_EQ('\\', GetTmpPath(platform).back());
}

TEST_F(PlatformTest, CharBuffersThatAreTooSmallGetTheSizeNeeded) {
  const std::string windows = GetWindowsDir(platform);
  char small[3] = {'x', 'x', 'x'};
  EXPECT_EQ(windows.size() + 1, platform.GetWindowsDirectory(small, sizeof small));
  EXPECT_EQ(GetTmpPath(platform).size() + 1, platform.GetTempPath(0, nullptr));
  char exact[MAX_PATH] = {};
  EXPECT_EQ(windows.size(), platform.GetWindowsDirectory(exact, static_cast<std::uint32_t>(windows.size() + 1)));
  EXPECT_EQ(windows, exact);
}

TEST_F(PlatformTest, UserNameIsTheLoggedOnUserWithItsNul) {
  wchar_t wide[257] = {};
  DWORD wideSize = 257;
  ASSERT_TRUE(::GetUserNameW(wide, &wideSize));
  const std::string expected = Utf8(wide);

  char name[200] = {};
  std::uint32_t size = 199;
  ASSERT_TRUE(platform.GetUserName(name, &size));
  EXPECT_EQ(expected, name);
  EXPECT_EQ(expected.size() + 1, size);

  size = 1;
  EXPECT_FALSE(platform.GetUserName(name, &size));
  EXPECT_EQ(expected.size() + 1, size);
}

TEST_F(PlatformTest, ProgramFolderHoldsTheRunningExecutable) {
  const std::string program = platform.ProgramFolder();
  ASSERT_FALSE(program.empty());
  EXPECT_NE('\\', program.back());
  EXPECT_EQ(Utf8(SelfPath()), program + "\\platform_test.exe");
}

TEST_F(PlatformTest, AFileStartIsReadByteForByteAndAMissingFileReadsEmpty) {
  const std::string bytes("RIFF\0\xff\x01WAVE", 12);
  CreateFileWithText(folder + L"\\東京.wav", bytes);
  EXPECT_EQ(platform.ReadFileStart(Folder() + "\\東京.wav", 4), "RIFF");
  EXPECT_EQ(platform.ReadFileStart(Folder() + "\\東京.wav", 16384), bytes);
  EXPECT_EQ(platform.ReadFileStart(Folder() + "\\none.wav", 16), "");
  EXPECT_EQ(platform.ReadFileStart(Folder(), 16), "");  // a folder is no file
}

TEST_F(PlatformTest, FinalPathIsTheSameFolderWhateverTheSpelling) {
  const std::string real = platform.FinalPath(Folder());
  ASSERT_FALSE(real.empty());
  const std::string parent = Folder().substr(0, Folder().find_last_of('\\'));
  const std::string name = Folder().substr(parent.size());
  for (const std::string& spelling : {Folder() + "\\", Folder() + "\\.", "\\\\?\\" + Folder(), "\\\\.\\" + Folder(),
                                      parent + "\\" + name + "\\sub\\..", Folder() + "\\\\"})
    EXPECT_EQ(platform.FinalPath(spelling), real) << spelling;
  EXPECT_EQ(platform.FinalPath(Folder() + "\\none"), "");
  ::SetEnvironmentVariableW(L"TARNBY_PROBE", L"東京");
  EXPECT_EQ(platform.GetEnvironmentVariable("TARNBY_PROBE"), "東京");
  ::SetEnvironmentVariableW(L"TARNBY_PROBE", nullptr);
  EXPECT_EQ(platform.GetEnvironmentVariable("TARNBY_PROBE"), "");
}

TEST_F(PlatformTest, FileSearchSeesHiddenFilesFoldersAndUnicodeNames) {
  CreateFileWithText(folder + L"\\plain.txt", "a");
  CreateFileWithText(folder + L"\\hidden.txt", "b");
  ::SetFileAttributesW((folder + L"\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CreateFileWithText(folder + L"\\東京 Zoë.txt", "c");
  ASSERT_TRUE(::CreateDirectoryW((folder + L"\\sub").c_str(), nullptr));

  std::map<std::string, std::uint32_t> found;
  FindData data;
  const Handle search = platform.FindFirstFile(Folder() + "\\*", data);
  ASSERT_NE(w::kInvalidHandle, search);
  do found[data.cFileName] = data.dwFileAttributes;
  while (platform.FindNextFile(search, data));
  EXPECT_TRUE(platform.FindClose(search));

  EXPECT_EQ(6u, found.size());  // ".", "..", three files and the folder
  ASSERT_TRUE(found.count("hidden.txt"));
  EXPECT_TRUE(found["hidden.txt"] & w::kFileAttributeHidden);
  EXPECT_FALSE(found["plain.txt"] & w::kFileAttributeHidden);
  EXPECT_TRUE(found["sub"] & w::kFileAttributeDirectory);
  EXPECT_TRUE(found.count("東京 Zoë.txt"));

  int texts = 0;
  const Handle onlyTexts = platform.FindFirstFile(Folder() + "\\*.txt", data);
  ASSERT_NE(w::kInvalidHandle, onlyTexts);
  do ++texts;
  while (platform.FindNextFile(onlyTexts, data));
  platform.FindClose(onlyTexts);
  EXPECT_EQ(3, texts);

  EXPECT_EQ(w::kInvalidHandle, platform.FindFirstFile(Folder() + "\\missing\\*", data));
}

TEST_F(PlatformTest, ReadOnlyFilesResistDeletionUntilTheAttributeIsCleared) {
  const std::string path = Folder() + "\\read only 東京.txt";
  CreateFileWithText(Wide(path), "keep");
  ASSERT_TRUE(platform.SetFileAttributes(path, w::kFileAttributeReadOnly));
  EXPECT_EQ(w::kFileAttributeReadOnly, platform.GetFileAttributes(path) & w::kFileAttributeReadOnly);
  EXPECT_FALSE(platform.DeleteFile(path));
  EXPECT_EQ("keep", ReadFileText(Wide(path)));
  ASSERT_TRUE(platform.SetFileAttributes(path, w::kFileAttributeNormal));
  EXPECT_TRUE(platform.DeleteFile(path));
  EXPECT_EQ(w::kInvalidFileAttributes, platform.GetFileAttributes(path));
  EXPECT_FALSE(platform.DeleteFile(path));
}

TEST_F(PlatformTest, ShellStartsAProgramWithTheWindowStateAndAUnicodeCommandLine) {
  for (int state : {w::kSwHide, w::kSwShowMinimized}) {
    SCOPED_TRACE(state);
    const std::wstring marker = folder + L"\\started " + std::to_wstring(state) + L" 東京.txt";
    const std::uint32_t id = platform.Shell(Utf8(L"\"" + SelfPath() + L"\" --touch \"" + marker + L"\""), state);
    ASSERT_NE(0u, id);
    std::string written;
    for (int waited = 0; waited < 200 && written.empty(); ++waited) {
      ::Sleep(50);
      written = ReadFileText(marker);
    }
    // The helper writes the show state it was started with.
    EXPECT_EQ(std::to_string(state), written);
  }
  EXPECT_EQ(0u, platform.Shell(Folder() + "\\no such program.exe", w::kSwShowNormal));
  EXPECT_EQ(0u, platform.Shell("", w::kSwShowNormal));
}

TEST_F(PlatformTest, OnlyOneInstanceRunsPerSession) {
  EXPECT_EQ(kNoInstance, static_cast<int>(RunHelper(L"--instance-probe")));
  {
    test::NullHost otherHost;
    Win32Platform first(otherHost);
    EXPECT_FALSE(first.AnotherInstanceRunning());
    EXPECT_EQ(kInstanceRunning, static_cast<int>(RunHelper(L"--instance-probe")));
    Win32Platform second(otherHost);
    EXPECT_TRUE(second.AnotherInstanceRunning());
  }
  // The mutex goes with the copy that held it.
  EXPECT_EQ(kNoInstance, static_cast<int>(RunHelper(L"--instance-probe")));
}

TEST_F(PlatformTest, ShutdownPrivilegeIsEnabledOnTheProcessToken) {
  ASSERT_TRUE(platform.EnableShutdownPrivilege());
  LUID shutdown{};
  ASSERT_TRUE(::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &shutdown));
  HANDLE token = nullptr;
  ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token));
  std::vector<BYTE> buffer(4096);
  DWORD size = 0;
  ASSERT_TRUE(::GetTokenInformation(token, TokenPrivileges, buffer.data(), static_cast<DWORD>(buffer.size()), &size));
  ::CloseHandle(token);
  const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
  bool enabled = false;
  for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
    const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
    if (p.Luid.LowPart == shutdown.LowPart && p.Luid.HighPart == shutdown.HighPart)
      enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
  }
  EXPECT_TRUE(enabled);
}

TEST_F(PlatformTest, KeyboardStateFollowsKeysPressedAndReleased) {
  auto send = [](WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof input);
  };
  auto down = [this](int key) { return (platform.GetAsyncKeyState(key) & 0x8000) != 0; };
  for (int key : {w::kVkShift, w::kVkControl, int{'S'}}) {
    SCOPED_TRACE(key);
    send(static_cast<WORD>(key), false);
    EXPECT_TRUE(down(key));
    send(static_cast<WORD>(key), true);
    EXPECT_FALSE(down(key));
    // The core presses keys itself, too (to minimise all windows).
    platform.keybd_event(static_cast<std::uint8_t>(key), 0, 0, 0);
    EXPECT_TRUE(down(key));
    platform.keybd_event(static_cast<std::uint8_t>(key), 0, w::kKeyEventKeyUp, 0);
    EXPECT_FALSE(down(key));
  }
}

TEST_F(PlatformTest, ScreenIsMeasuredInTwipsFromTheDisplaysDpi) {
  HDC dc = ::GetDC(nullptr);
  const int dpiX = ::GetDeviceCaps(dc, LOGPIXELSX), dpiY = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::ReleaseDC(nullptr, dc);
  const ScreenInfo screen = platform.Screen();
  EXPECT_EQ(1440 / dpiX, screen.twipsPerPixelX);
  EXPECT_EQ(1440 / dpiY, screen.twipsPerPixelY);
  EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN) * screen.twipsPerPixelX, screen.widthTwips);
  EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN) * screen.twipsPerPixelY, screen.heightTwips);
  EXPECT_GT(screen.heightTwips, 0);
}

TEST_F(PlatformTest, TickCountCountsMillisecondsAndNeverGoesBack) {
  const std::uint64_t before = platform.TickCount();
  std::uint64_t last = before;
  for (int i = 0; i < 5; ++i) {
    ::Sleep(30);
    const std::uint64_t now = platform.TickCount();
    EXPECT_GE(now, last);
    last = now;
  }
  // The tick moves in steps of up to ~16 ms, so allow one step either way.
  EXPECT_GE(last - before, 150u - 20u);
  EXPECT_LE(last - before, 2000u);
}

LRESULT CALLBACK AnsweringProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER + 1) return static_cast<LRESULT>(wParam + lParam);
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST_F(PlatformTest, WindowsAreFoundByUnicodeNamesAndTakeMessages) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = AnsweringProc;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = L"TarnbyFindTest";
  ::RegisterClassW(&cls);
  HWND hwnd = ::CreateWindowExW(0, cls.lpszClassName, L"Tarnby Zoë 東京", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                nullptr, cls.hInstance, nullptr);
  ASSERT_NE(nullptr, hwnd);
  const auto handle = reinterpret_cast<Handle>(hwnd);
  EXPECT_EQ(handle, platform.FindWindow("TarnbyFindTest", nullptr));
  EXPECT_EQ(handle, platform.FindWindow(nullptr, "Tarnby Zoë 東京"));
  EXPECT_EQ(0u, platform.FindWindow("TarnbyFindTest", "Tarnby Zoe"));
  EXPECT_EQ(42, platform.SendMessage(handle, WM_USER + 1, 40, 2));

  EXPECT_TRUE(platform.PostMessage(handle, WM_USER + 2, 5, 6));
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, hwnd, WM_USER + 2, WM_USER + 2, PM_REMOVE));
  EXPECT_EQ(5u, msg.wParam);

  // An icon drawn on the window: the picture boxes of the program dialog do this.
  const Handle icon =
      platform.ExtractAssociatedIcon(platform.InstanceHandle(), GetWindowsDir(platform) + "\\notepad.exe", 0);
  ASSERT_NE(0u, icon);
  const Handle dc = platform.GetDC(handle);
  EXPECT_TRUE(platform.DrawIcon(dc, 0, 0, icon));
  EXPECT_EQ(1, platform.ReleaseDC(handle, dc));
  EXPECT_TRUE(platform.DestroyIcon(icon));
  ::DestroyWindow(hwnd);
}

TEST_F(PlatformTest, RecentDocumentsFolderIsFoundThroughItsItemList) {
  Handle list = 0;
  ASSERT_EQ(0, platform.SHGetSpecialFolderLocation(0, w::kCsidlRecent, &list));
  ASSERT_NE(0u, list);
  char path[260] = {};
  EXPECT_TRUE(platform.SHGetPathFromIDList(list, path));
  platform.CoTaskMemFree(list);
  wchar_t expected[MAX_PATH] = {};
  ASSERT_EQ(S_OK, ::SHGetFolderPathW(nullptr, CSIDL_RECENT, nullptr, SHGFP_TYPE_CURRENT, expected));
  EXPECT_EQ(Utf8(expected), path);
}

// Each known folder is the one its name says: where the environment and the
// older CSIDL calls place it.
TEST_F(PlatformTest, KnownFoldersAreTheFoldersTheirNamesSay) {
  const auto csidl = [](int id) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(::SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)) ? Utf8(path) : "";
  };
  const std::pair<KnownFolder, std::string> cases[] = {
      {KnownFolder::Desktop, csidl(CSIDL_DESKTOPDIRECTORY)},
      {KnownFolder::Documents, csidl(CSIDL_PERSONAL)},
      {KnownFolder::Pictures, csidl(CSIDL_MYPICTURES)},
      {KnownFolder::Music, csidl(CSIDL_MYMUSIC)},
      {KnownFolder::Videos, csidl(CSIDL_MYVIDEO)},
      {KnownFolder::Favorites, csidl(CSIDL_FAVORITES)},
      {KnownFolder::PublicDesktop, csidl(CSIDL_COMMON_DESKTOPDIRECTORY)},
      {KnownFolder::PublicDocuments, csidl(CSIDL_COMMON_DOCUMENTS)},
      {KnownFolder::ProgramFiles, csidl(CSIDL_PROGRAM_FILES)},
      {KnownFolder::ProgramFilesX86, csidl(CSIDL_PROGRAM_FILESX86)},
      {KnownFolder::ProgramFilesCommon, csidl(CSIDL_PROGRAM_FILES_COMMON)},
      {KnownFolder::ProgramFilesCommonX86, csidl(CSIDL_PROGRAM_FILES_COMMONX86)},
      {KnownFolder::Downloads, csidl(CSIDL_PROFILE) + "\\Downloads"}};
  for (const auto& [folder, expected] : cases) {
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(GetKnownFolder(platform, folder), expected) << static_cast<int>(folder);
  }
}

// Answers the file dialog titled `title` from another thread, as a user would:
// types a file name and presses OK, or presses Cancel when the name is empty.
// An impatient user presses OK on the name box as it came, then Cancel.
class DialogAnswerer {
 public:
  DialogAnswerer(std::wstring title, std::wstring fileName, bool impatient = false)
      : title_(std::move(title)), fileName_(std::move(fileName)), impatient_(impatient) {
    thread_ = ::CreateThread(nullptr, 0, &DialogAnswerer::Run, this, 0, nullptr);
  }
  ~DialogAnswerer() {
    ::WaitForSingleObject(thread_, 30000);
    ::CloseHandle(thread_);
  }

 private:
  static DWORD WINAPI Run(void* self) {
    auto& me = *static_cast<DialogAnswerer*>(self);
    for (int waited = 0; waited < 300; ++waited) {
      HWND dialog = ::FindWindowW(L"#32770", me.title_.c_str());
      if (dialog != nullptr) {
        if (me.impatient_) {
          HWND edit = FindEdit(dialog);
          if (edit == nullptr) return 1;
          wchar_t shown[300] = {};
          ::GetWindowTextW(edit, shown, 300);
          me.shownName = shown;
          ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
          ::Sleep(500);
          ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
          return 0;
        }
        if (!me.fileName_.empty()) {
          HWND edit = FindEdit(dialog);
          if (edit == nullptr) return 1;
          ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(me.fileName_.c_str()));
        }
        ::PostMessageW(dialog, WM_COMMAND, me.fileName_.empty() ? IDCANCEL : IDOK, 0);
        return 0;
      }
      ::Sleep(50);
    }
    return 1;
  }
  static HWND FindEdit(HWND parent) {
    for (HWND child = ::FindWindowExW(parent, nullptr, nullptr, nullptr); child != nullptr;
         child = ::FindWindowExW(parent, child, nullptr, nullptr)) {
      wchar_t cls[32] = {};
      ::GetClassNameW(child, cls, 32);
      if (std::wstring(cls) == L"Edit") return child;
      if (HWND inner = FindEdit(child)) return inner;
    }
    return nullptr;
  }
  std::wstring title_, fileName_;
  bool impatient_ = false;
  HANDLE thread_ = nullptr;

 public:
  std::wstring shownName = L"?";
};

TEST_F(PlatformTest, OpenFileDialogReturnsTheChosenUnicodePathInTheCallersBuffer) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CreateFileWithText(folder + L"\\東京 Zoë.txt", "x");
  auto makeRequest = [this] {
    OpenFileName request;
    request.lpstrFilter = std::string("Text files (*.txt)\0*.txt\0All files\0*.*\0\0", 40);
    request.nFilterIndex = 1;
    request.lpstrFile = std::string(259, ' ');
    request.lpstrFile[0] = '\0';
    request.nMaxFile = 260;
    request.lpstrFileTitle = std::string(64, '\0');
    request.nMaxFileTitle = 64;
    request.lpstrInitialDir = Folder();
    request.lpstrTitle = "Choose a file – Zoë";
    request.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    return request;
  };

  OpenFileName chosen = makeRequest();
  {
    DialogAnswerer user(L"Choose a file – Zoë", L"東京 Zoë.txt");
    EXPECT_TRUE(platform.GetOpenFileName(chosen));
  }
  const std::string path = Folder() + "\\東京 Zoë.txt";
  ASSERT_GE(chosen.lpstrFile.size(), path.size() + 1);
  EXPECT_EQ(path, chosen.lpstrFile.substr(0, path.size()));
  EXPECT_EQ('\0', chosen.lpstrFile[path.size()]);
  EXPECT_EQ(259u, chosen.lpstrFile.size()) << "the rest of the caller's buffer stays";
  EXPECT_EQ("東京 Zoë.txt", chosen.lpstrFileTitle.substr(0, chosen.lpstrFileTitle.find('\0')));

  OpenFileName cancelled = makeRequest();
  {
    DialogAnswerer user(L"Choose a file – Zoë", L"");
    EXPECT_FALSE(platform.GetOpenFileName(cancelled));
  }
  EXPECT_EQ(makeRequest().lpstrFile, cancelled.lpstrFile);
  ::CoUninitialize();
}

TEST_F(PlatformTest, OpenFileDialogWithABlankNameSurvivesOkPressedOnIt) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  OpenFileName request;
  request.lpstrFilter = std::string("Programs (*.exe)\0*.exe\0\0", 26);
  request.lpstrFile = std::string(254, ' ');  // as Tarnby's own requests come
  request.nMaxFile = 255;
  request.lpstrFileTitle = std::string(254, ' ');
  request.nMaxFileTitle = 255;
  request.lpstrInitialDir = Folder();
  request.lpstrTitle = "Blank name";
  {
    DialogAnswerer user(L"Blank name", L"", true);
    EXPECT_FALSE(platform.GetOpenFileName(request));
    ::Sleep(0);
    EXPECT_EQ(L"", user.shownName) << "the name box starts empty, not full of blanks";
  }
  EXPECT_EQ(std::string(254, ' '), request.lpstrFile) << "a cancel leaves the caller's buffer alone";
  ::CoUninitialize();
}

TEST_F(PlatformTest, MessageBoxesComeUpOnTopOfTheAlwaysOnTopMainWindow) {
  // A stand-in for the main window: always on top, shown.
  HWND mainWindow = ::CreateWindowExW(WS_EX_TOPMOST, L"Static", L"main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200,
                                      nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, mainWindow);
  ::SetForegroundWindow(mainWindow);
  ::SetActiveWindow(mainWindow);
  struct Watch {
    bool sawBox = false, boxAbove = false;
    HWND mainWindow = nullptr;
    static DWORD WINAPI Run(void* self) {
      auto& me = *static_cast<Watch*>(self);
      for (int waited = 0; waited < 200; ++waited, ::Sleep(50)) {
        HWND box = ::FindWindowW(L"#32770", L"On top – Zoë");
        if (box == nullptr || !::IsWindowVisible(box)) continue;
        ::Sleep(200);  // let it settle where it is going
        me.sawBox = true;
        for (HWND w = ::GetTopWindow(nullptr); w != nullptr && w != me.mainWindow; w = ::GetWindow(w, GW_HWNDNEXT))
          if (w == box) me.boxAbove = true;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        return 0;
      }
      return 1;
    }
  } watch;
  watch.mainWindow = mainWindow;
  HANDLE thread = ::CreateThread(nullptr, 0, &Watch::Run, &watch, 0, nullptr);
  EXPECT_EQ(w::kIdOk, platform.MessageBox("Text", "On top – Zoë", w::kMbIconExclamation));
  ::WaitForSingleObject(thread, 15000);
  ::CloseHandle(thread);
  ::DestroyWindow(mainWindow);
  EXPECT_TRUE(watch.sawBox);
  EXPECT_TRUE(watch.boxAbove) << "the box opened under the always-on-top window";
}

TEST_F(PlatformTest, MciAnswersComeBackAsTextThatFitsTheBuffer) {
  char answer[32];
  std::memset(answer, 'x', sizeof answer);
  ASSERT_EQ(0u, platform.mciSendString("sysinfo all quantity", answer, sizeof answer, 0));
  const std::string count(answer);
  ASSERT_FALSE(count.empty());
  EXPECT_EQ(std::string::npos, count.find_first_not_of("0123456789")) << count;
  // An answer that does not fit is an error, and nothing is written past the buffer.
  std::memset(answer, 'x', sizeof answer);
  EXPECT_NE(0u, platform.mciSendString("sysinfo all quantity", answer, 1, 0));
  EXPECT_EQ('\0', answer[0]);
  EXPECT_EQ('x', answer[1]);
}

}  // namespace
}  // namespace tarnby

// Besides the tests, the executable is the helper they start:
//   --instance-probe   exits 3 when another copy holds the single-instance mutex, else 4
//   --touch FILE       writes the show state it was started with into FILE
int main(int argc, char** argv) {
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (count >= 2 && std::wstring(args[1]) == L"--instance-probe") {
    tarnby::test::NullHost host;
    tarnby::Win32Platform platform(host);
    return platform.AnotherInstanceRunning() ? tarnby::kInstanceRunning : tarnby::kNoInstance;
  }
  if (count >= 3 && std::wstring(args[1]) == L"--touch") {
    STARTUPINFOW startup{};
    ::GetStartupInfoW(&startup);
    const int state = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    tarnby::CreateFileWithText(args[2], std::to_string(state));
    return 0;
  }
  ::LocalFree(args);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
