#include "core/actions/file_request.h"

namespace tarnby {

namespace {
// Buffers of 254 spaces that the dialog's size field calls 255 long: the
// terminating NUL is the 255th character.
constexpr std::uint32_t kBufferSize = 255;

std::string TrimSpaces(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
}  // namespace

OpenFileName OpenFileRequest(Platform& platform, Handle owner, const std::string& filter,
                             const std::string& initialDir, const std::string& title) {
  OpenFileName request;
  request.lStructSize = 76;
  request.hwndOwner = owner;
  request.hInstance = platform.InstanceHandle();
  request.lpstrFilter = filter + std::string(1, '\0');
  request.nFilterIndex = 0;
  request.lpstrFile = std::string(kBufferSize - 1, ' ');
  request.nMaxFile = kBufferSize;
  request.lpstrFileTitle = std::string(kBufferSize - 1, ' ');
  request.nMaxFileTitle = kBufferSize;
  request.lpstrInitialDir = initialDir;
  request.lpstrTitle = title;
  request.Flags = 0;
  return request;
}

std::optional<std::string> AskForFile(Platform& platform, OpenFileName& request) {
  if (!platform.GetOpenFileName(request)) return std::nullopt;
  const std::string& buffer = request.lpstrFile;
  std::string path = TrimSpaces(buffer.substr(0, buffer.find('\0')));
  // A dialog that reports success with nothing chosen has chosen nothing.
  if (path.empty()) return std::nullopt;
  return path;
}

}  // namespace tarnby
