#include "win32/system_library.h"

#include <windows.h>

#include <string>

namespace tarnby {

void (*SystemFunctionAddress(const wchar_t* library, const char* name))() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  // Loaded for the life of the program: the callers keep what they looked up.
  const HMODULE module = ::LoadLibraryW((std::wstring(folder, length) + L"\\" + library).c_str());
  if (module == nullptr) return nullptr;
  return reinterpret_cast<void (*)()>(::GetProcAddress(module, name));
}

}  // namespace tarnby
