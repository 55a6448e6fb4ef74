#include "win32/failure_note.h"

#include "win32/win32_api.h"  // first: see there why

#include <exception>
#include <string>

#include "win32/utf16.h"

namespace tarnby {

void NoteFailure(const wchar_t* where) {
  std::wstring text = L"Tarnby: ";
  text += where;
  if (const std::exception_ptr failure = std::current_exception()) {
    try {
      std::rethrow_exception(failure);
    } catch (const std::exception& error) {
      text += L": " + Wide(error.what());
    } catch (...) {
      text += L": an exception that gives no reason";
    }
  }
  text += L"\n";
  ::OutputDebugStringW(text.c_str());
}

}  // namespace tarnby
