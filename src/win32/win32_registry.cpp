// The registry: keys by the core's handles, values read whole, text as UTF-8.
#include "win32/win32_platform_parts.h"

#include <cstring>
#include <vector>

#include "win32/utf16.h"

namespace tarnby {

namespace {

// The core passes the predefined hives as their 32-bit codes; on 64-bit
// Windows the real handles are those codes sign-extended.
HKEY Hkey(Handle key) {
  if (key >= 0x80000000u && key <= 0x800000FFu)
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<std::uint32_t>(key))));
  return As<HKEY>(key);
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Reads a whole value, however large, as the registry stores it.
long ReadRegValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& bytes) {
  bytes.assign(256, 0);
  DWORD size = static_cast<DWORD>(bytes.size());
  long result = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size);
  for (int attempt = 0; result == ERROR_MORE_DATA && attempt < 16; ++attempt) {
    bytes.assign(size, 0);
    result = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size);
  }
  if (result == ERROR_SUCCESS) bytes.resize(size);
  return result;
}

}  // namespace

// ------------------------------------------------------------------ registry

long Win32Platform::RegOpenKey(Handle key, const std::string& subKey, Handle* result) {
  HKEY opened = nullptr;
  const long status = ::RegOpenKeyW(Hkey(key), Wide(subKey).c_str(), &opened);
  if (result) *result = status == ERROR_SUCCESS ? ToHandle(opened) : 0;
  return status;
}

long Win32Platform::RegOpenKeyEx(Handle key, const std::string& subKey, std::uint32_t options,
                                 std::uint32_t access, Handle* result) {
  HKEY opened = nullptr;
  const long status = ::RegOpenKeyExW(Hkey(key), Wide(subKey).c_str(), options, access, &opened);
  if (result) *result = status == ERROR_SUCCESS ? ToHandle(opened) : 0;
  return status;
}

long Win32Platform::RegCreateKey(Handle key, const std::string& subKey, Handle* result) {
  HKEY opened = nullptr;
  const long status = ::RegCreateKeyW(Hkey(key), Wide(subKey).c_str(), &opened);
  if (result) *result = status == ERROR_SUCCESS ? ToHandle(opened) : 0;
  return status;
}

// String data is UTF-16 in the registry and UTF-8 in the core. The whole
// stored value is converted, NULs included, so a value written without a
// terminating NUL or with NULs inside reaches the core byte for byte, and
// sizes are the UTF-8 sizes.
long Win32Platform::RegQueryValueEx(Handle key, const std::string& valueName, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  DWORD storedType = REG_NONE;
  std::vector<BYTE> stored;
  const long status = ReadRegValue(Hkey(key), Wide(valueName), storedType, stored);
  if (status != ERROR_SUCCESS) return status;
  if (type) *type = storedType;
  std::string converted;
  const std::uint8_t* bytes = stored.data();
  std::size_t length = stored.size();
  if (IsStringType(storedType)) {
    std::wstring text(stored.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), stored.data(), text.size() * sizeof(wchar_t));
    converted = Utf8(text);
    bytes = reinterpret_cast<const std::uint8_t*>(converted.data());
    length = converted.size();
  }
  const auto needed = static_cast<std::uint32_t>(length);
  if (data == nullptr) {
    if (size) *size = needed;
    return ERROR_SUCCESS;
  }
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (length > 0) std::memcpy(data, bytes, length);
  *size = needed;
  return ERROR_SUCCESS;
}

long Win32Platform::RegSetValueEx(Handle key, const std::string& valueName, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
  if (data == nullptr) size = 0;
  if (IsStringType(type)) {
    const std::wstring text = Wide({reinterpret_cast<const char*>(data), size});
    return ::RegSetValueExW(Hkey(key), Wide(valueName).c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() * sizeof(wchar_t)));
  }
  return ::RegSetValueExW(Hkey(key), Wide(valueName).c_str(), 0, type, data, size);
}

long Win32Platform::RegDeleteValue(Handle key, const std::string& valueName) {
  return ::RegDeleteValueW(Hkey(key), Wide(valueName).c_str());
}

long Win32Platform::RegCloseKey(Handle key) { return ::RegCloseKey(Hkey(key)); }

}  // namespace tarnby
