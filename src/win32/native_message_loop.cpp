// The message loop: the forms' keyboard interface, and no failed event ends the program.
#include "win32/native_host_parts.h"

namespace tarnby {

using namespace native;

// ------------------------------------------------------------------ message loop

bool NativeHostImpl::PreTranslate(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  FormWindow* fw = FormOf(message.hwnd);
  if (!fw) return false;
  return ::IsDialogMessageW(fw->hwnd, &message) != FALSE;
}

int NativeHostImpl::RunMessageLoop() {
  MSG message;
  for (;;) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got > 0) Dispatch(message);
  }
}

void NativeHostImpl::Dispatch(MSG& message) {
  try {
    if (!PreTranslate(message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  } catch (...) {
    // Keep running: one failed event must not end the program.
    NoteFailure(L"an event failed");
  }
}

void NativeHostImpl::DoEvents() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the main loop
      return;
    }
    Dispatch(message);
  }
}

}  // namespace tarnby
