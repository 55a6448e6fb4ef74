// The shell: the tray icon, launching documents, recent documents, special folders and icons.
#include "win32/win32_platform_parts.h"

#include <knownfolders.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "win32/utf16.h"

namespace tarnby {

// ------------------------------------------------------- icons and drawing

Handle Win32Platform::ExtractAssociatedIcon(Handle instance, const std::string& path, std::uint16_t index) {
  // The call may write the path of the icon's file back, so it gets a full
  // buffer; a longer path than the shell takes is a file it cannot find.
  std::wstring buffer = Wide(path);
  if (buffer.size() >= MAX_PATH) return 0;
  buffer.resize(std::max<std::size_t>(buffer.size() + 1, MAX_PATH), L'\0');
  WORD icon = index;
  return ToHandle(::ExtractAssociatedIconW(As<HINSTANCE>(instance), buffer.data(), &icon));
}

Handle Win32Platform::GetDC(Handle hwnd) { return ToHandle(::GetDC(Hwnd(hwnd))); }

int Win32Platform::ReleaseDC(Handle hwnd, Handle dc) { return ::ReleaseDC(Hwnd(hwnd), As<HDC>(dc)); }

bool Win32Platform::DrawIcon(Handle dc, int x, int y, Handle icon) {
  return ::DrawIcon(As<HDC>(dc), x, y, As<HICON>(icon));
}

bool Win32Platform::DestroyIcon(Handle icon) { return ::DestroyIcon(As<HICON>(icon)); }

void Win32Platform::ClearPicture(Control& picture) { host_.ClearPicture(picture); }

TextSize Win32Platform::MeasureText(const Control& label) { return host_.MeasureText(label); }
PixelScale Win32Platform::ScaleOf(Handle window) { return host_.ScaleOf(window); }

// --------------------------------------------------------------------- shell

namespace {
// As much of the text, up to its first NUL, as fits a fixed field with its
// NUL, never cutting a character in two.
template <std::size_t N>
void CopyField(const std::string& text, wchar_t (&field)[N]) {
  const std::wstring wide = Wide(text);
  const std::wstring_view shown = UpToNul(wide);
  std::size_t length = std::min(shown.size(), N - 1);
  if (length < shown.size() && length > 0 && IS_HIGH_SURROGATE(shown[length - 1])) --length;
  std::copy_n(shown.data(), length, field);
  field[length] = L'\0';
}
}  // namespace

bool Win32Platform::Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = Hwnd(data.hWnd);
  record.uID = data.uID;
  record.uFlags = data.uFlags;
  record.uCallbackMessage = data.uCallbackMessage;
  record.hIcon = As<HICON>(data.hIcon);
  // The core's tip is the text, a NUL and padding; the shell wants the text.
  CopyField(data.szTip, record.szTip);
  CopyField(data.szInfo, record.szInfo);
  CopyField(data.szInfoTitle, record.szInfoTitle);
  record.dwInfoFlags = data.dwInfoFlags;
  return ::Shell_NotifyIconW(message, &record);
}

std::intptr_t Win32Platform::ShellExecute(Handle owner, const std::string& operation, const std::string& file,
                                          const std::string& parameters, const std::string& directory, int show) {
  const std::wstring op = Wide(operation), path = Wide(file), args = Wide(parameters), dir = Wide(directory);
  // The shell copies the file name into buffers of MAX_PATH: a longer one
  // never reaches it and fails like a file that is not there.
  if (path.size() >= MAX_PATH || dir.size() >= MAX_PATH) return SE_ERR_FNF;
  return reinterpret_cast<std::intptr_t>(
      ::ShellExecuteW(Hwnd(owner), OrNull(op), path.c_str(), OrNull(args), OrNull(dir), show));
}

void Win32Platform::SHAddToRecentDocs(std::uint32_t flags, const void* pv) {
  // A path comes as UTF-8 text; hand it on as a wide path.
  if (pv != nullptr && flags == w::kShardPathA) {
    const std::wstring path = Wide(static_cast<const char*>(pv));
    ::SHAddToRecentDocs(SHARD_PATHW, path.c_str());
    return;
  }
  ::SHAddToRecentDocs(flags, pv);
}

long Win32Platform::SHGetSpecialFolderLocation(Handle owner, int folder, Handle* idList) {
  PIDLIST_ABSOLUTE list = nullptr;
  const HRESULT result = ::SHGetSpecialFolderLocation(Hwnd(owner), folder, &list);
  if (idList) *idList = ToHandle(list);
  return result;
}

bool Win32Platform::SHGetPathFromIDList(Handle idList, char* path) {
  wchar_t buffer[MAX_PATH] = {};
  if (path == nullptr || !::SHGetPathFromIDListW(As<PCIDLIST_ABSOLUTE>(idList), buffer)) return false;
  const std::string text = Utf8(UpToNul({buffer, MAX_PATH}));
  if (text.size() + 1 > MAX_PATH) return false;  // does not fit the caller's 260 bytes
  std::memcpy(path, text.c_str(), text.size() + 1);
  return true;
}

void Win32Platform::CoTaskMemFree(Handle memory) { ::CoTaskMemFree(As<void*>(memory)); }

long Win32Platform::SHGetKnownFolderPath(KnownFolder folder, std::uint32_t flags, Handle token, std::string* path) {
  // In the order of KnownFolder.
  static const KNOWNFOLDERID* const kIds[] = {
      &FOLDERID_Desktop,      &FOLDERID_Documents,          &FOLDERID_Downloads,          &FOLDERID_Pictures,
      &FOLDERID_Music,        &FOLDERID_Videos,             &FOLDERID_Favorites,          &FOLDERID_PublicDesktop,
      &FOLDERID_PublicDocuments, &FOLDERID_ProgramFiles,    &FOLDERID_ProgramFilesX86,    &FOLDERID_ProgramFilesCommon,
      &FOLDERID_ProgramFilesCommonX86, &FOLDERID_LocalAppData};
  const auto index = static_cast<std::size_t>(folder);
  if (path) path->clear();
  if (index >= std::size(kIds)) return E_INVALIDARG;
  PWSTR found = nullptr;
  const HRESULT result = ::SHGetKnownFolderPath(*kIds[index], flags, As<HANDLE>(token), &found);
  if (SUCCEEDED(result) && found && path) *path = Utf8(found);
  ::CoTaskMemFree(found);
  return result;
}

}  // namespace tarnby
