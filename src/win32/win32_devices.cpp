// The open-file dialog, sound, the CD drive's commands and the dial-up connection.
#include "win32/win32_platform_parts.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "win32/utf16.h"

namespace tarnby {

namespace {

// Copies as much of text as fits with its NUL, never cutting a UTF-8 character.
void CopyTruncated(const std::string& text, char* buffer, std::uint32_t size) {
  if (buffer == nullptr || size == 0) return;
  std::size_t length = std::min<std::size_t>(text.size(), size - 1);
  if (length < text.size())
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

// What a dialog leaves in a caller's buffer: the text and its NUL over the
// start, the rest of the original buffer behind it.
std::string WrittenOver(std::string buffer, const std::string& text) {
  if (buffer.size() < text.size() + 1) buffer.resize(text.size() + 1, '\0');
  std::copy(text.begin(), text.end(), buffer.begin());
  buffer[text.size()] = '\0';
  return buffer;
}

}  // namespace

// ------------------------------------------------ dialogs, sound, network

bool Win32Platform::GetOpenFileName(OpenFileName& request) {
  // The filter is pairs of NUL-terminated strings ending in an empty one;
  // the extra NULs close the list whatever the core passed.
  std::wstring filter = Wide(request.lpstrFilter);
  if (!filter.empty()) filter.append(2, L'\0');
  std::vector<wchar_t> file(std::max<std::uint32_t>(request.nMaxFile, 1), L'\0');
  const std::wstring initialFile = Wide(request.lpstrFile);
  std::wstring_view initial = UpToNul(initialFile);
  // A name of nothing but blanks offers no file; handed to the dialog as it
  // is, Open pressed on it takes the dialog (and us) down under Wine.
  if (initial.find_first_not_of(L' ') == std::wstring_view::npos) initial = {};
  std::copy_n(initial.data(), std::min(initial.size(), file.size() - 1), file.data());
  std::vector<wchar_t> fileTitle(request.nMaxFileTitle, L'\0');
  const std::wstring initialDir = Wide(request.lpstrInitialDir);
  const std::wstring title = Wide(request.lpstrTitle);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Hwnd(request.hwndOwner);
  dialog.hInstance = As<HINSTANCE>(request.hInstance);
  dialog.lpstrFilter = OrNull(filter);
  dialog.nFilterIndex = request.nFilterIndex;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrFileTitle = fileTitle.empty() ? nullptr : fileTitle.data();
  dialog.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  dialog.lpstrInitialDir = OrNull(initialDir);
  dialog.lpstrTitle = OrNull(title);
  dialog.Flags = request.Flags;
  if (!::GetOpenFileNameW(&dialog)) return false;

  request.lpstrFile = WrittenOver(request.lpstrFile, Utf8(UpToNul({file.data(), file.size()})));
  if (!fileTitle.empty())
    request.lpstrFileTitle =
        WrittenOver(request.lpstrFileTitle, Utf8(UpToNul({fileTitle.data(), fileTitle.size()})));
  request.nFilterIndex = dialog.nFilterIndex;
  request.Flags = dialog.Flags;
  return true;
}

bool Win32Platform::PlaySound(const std::string& sound, Handle module, std::uint32_t flags) {
  // No name stops whatever is playing.
  const std::wstring name = Wide(sound);
  return ::PlaySoundW(OrNull(name), As<HMODULE>(module), flags);
}

std::uint32_t Win32Platform::waveOutGetNumDevs() { return ::waveOutGetNumDevs(); }

std::uint32_t Win32Platform::mciSendString(const std::string& command, char* returnBuffer,
                                           std::uint32_t returnLength, Handle callback) {
  std::vector<wchar_t> answer(returnBuffer != nullptr ? returnLength : 0, L'\0');
  const MCIERROR result = ::mciSendStringW(Wide(command).c_str(), answer.empty() ? nullptr : answer.data(),
                                           static_cast<UINT>(answer.size()), Hwnd(callback));
  if (!answer.empty()) CopyTruncated(Utf8(UpToNul({answer.data(), answer.size()})), returnBuffer, returnLength);
  return result;
}

bool Win32Platform::InternetAutodialHangup(std::uint32_t reserved) { return ::InternetAutodialHangup(reserved); }

}  // namespace tarnby
