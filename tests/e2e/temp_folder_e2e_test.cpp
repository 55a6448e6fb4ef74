// "&Delete files in Temp Folder" on the real tarnby.exe, started with TMP and
// TEMP naming a system folder, the user's desktop, ProgramData, the roaming
// AppData, the Windows folder's own Temp or a folder named Temp elsewhere:
// only the last two are emptied.
#include "drive.h"  // first: <windows.h> before the shell's headers

#include <gtest/gtest.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <set>
#include <string>

namespace tarnby::drive {
namespace {

std::set<std::wstring> FilesIn(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW entry{};
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(entry.cFileName);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  return names;
}

void WriteProbe(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write the probe file";
  DWORD written = 0;
  ::WriteFile(file, "precious", 8, &written, nullptr);
  ::CloseHandle(file);
}

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path))) folder = path;
  ::CoTaskMemFree(path);
  return folder;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(::towlower(c));
  return text;
}

// Tarnby started with TMP and TEMP naming folder, the command chosen from the
// tray menu: the title of the message it answers with.
std::wstring CleanWith(const std::wstring& folder) {
  ::SetEnvironmentVariableW(L"TMP", folder.c_str());
  ::SetEnvironmentVariableW(L"TEMP", folder.c_str());
  Tarnby tarnby(Exe());
  HWND picscreen = tarnby.Control(L"frmstart", L"picscreen");
  if (picscreen == nullptr) return L"(Tarnby did not come up)";
  TrayRightClick(picscreen);
  HWND menu = tarnby.PopupMenu();
  if (menu == nullptr) return L"(no menu)";
  ChooseMenuItem(menu, L'd');
  std::wstring title;
  HWND box = nullptr;
  WaitFor([&] {
    for (const wchar_t* candidate : {L"Folder not Cleaned", L"Files Deleted!", L"Folder not Found!"})
      if ((box = tarnby.MessageBoxTitled(candidate, 0ms)) != nullptr) return !(title = candidate).empty();
    return false;
  });
  if (box) PressDialogButton(box, IDOK);
  return box ? title : L"(no message)";
}

TEST(TempFolderEndToEnd, OnlyATemporaryFolderIsEmptied) {
  ForgetTarnbySettings();
  wchar_t buffer[MAX_PATH] = {}, tmp[MAX_PATH] = {}, temp[MAX_PATH] = {};
  ::GetEnvironmentVariableW(L"TMP", tmp, MAX_PATH);
  ::GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH);
  ::GetSystemDirectoryW(buffer, MAX_PATH);
  const std::wstring drivers = std::wstring(buffer) + L"\\drivers";
  ::GetWindowsDirectoryW(buffer, MAX_PATH);
  const std::wstring windowsTemp = std::wstring(buffer) + L"\\temp";
  const std::wstring desktop = KnownFolder(FOLDERID_Desktop), programData = KnownFolder(FOLDERID_ProgramData),
                     roaming = KnownFolder(FOLDERID_RoamingAppData);
  ASSERT_FALSE(desktop.empty() || programData.empty() || roaming.empty());
  const std::wstring elsewhere = programData.substr(0, 3) + L"Scratch\\Temp";  // named Temp, in no kept folder
  ::CreateDirectoryW(elsewhere.substr(0, elsewhere.size() - 5).c_str(), nullptr);
  ::CreateDirectoryW(elsewhere.c_str(), nullptr);

  struct Case {
    const char* name;
    std::wstring folder;  // as TMP names it
    const wchar_t* title;
  };
  // The desktop spelled as a user might type it: other letter case, a trailing backslash.
  for (const Case& c : {Case{"drivers", drivers, L"Folder not Cleaned"},
                        Case{"desktop", Lower(desktop) + L"\\", L"Folder not Cleaned"},
                        Case{"ProgramData", programData, L"Folder not Cleaned"},
                        Case{"APPDATA", roaming, L"Folder not Cleaned"},
                        Case{"Windows Temp", windowsTemp, L"Files Deleted!"},
                        Case{"a Temp elsewhere", elsewhere, L"Files Deleted!"}}) {
    SCOPED_TRACE(c.name);
    const std::wstring probe = c.folder + (c.folder.back() == L'\\' ? L"" : L"\\") + L"tarnby probe.txt";
    WriteProbe(probe);
    const std::set<std::wstring> before = FilesIn(c.folder);
    ASSERT_TRUE(before.count(L"tarnby probe.txt"));
    EXPECT_EQ(CleanWith(c.folder), c.title);
    if (std::wstring(c.title) == L"Files Deleted!") {
      EXPECT_FALSE(FilesIn(c.folder).count(L"tarnby probe.txt")) << "a temporary folder was not emptied";
    } else {
      EXPECT_EQ(FilesIn(c.folder), before) << "a file was deleted";
      ::DeleteFileW(probe.c_str());
    }
  }
  ::SetEnvironmentVariableW(L"TMP", tmp);
  ::SetEnvironmentVariableW(L"TEMP", temp);
}

}  // namespace
}  // namespace tarnby::drive
