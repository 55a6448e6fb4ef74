// Calls that not every Windows has, looked up when first needed: a system
// without one starts Tarnby all the same and only goes without what it does.
#pragma once

namespace tarnby {

// The address of `name` in the system library `library` ("powrprof.dll"),
// loaded by its full path in the system folder so that a DLL of that name
// lying beside tarnby.exe is never loaded; null when either is missing.
void (*SystemFunctionAddress(const wchar_t* library, const char* name))();

template <class Call>
Call SystemFunction(const wchar_t* library, const char* name) {
  return reinterpret_cast<Call>(SystemFunctionAddress(library, name));
}

}  // namespace tarnby
