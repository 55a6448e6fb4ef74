#include "core/system/window_drag.h"

#include "core/forms/forms.h"

namespace tarnby {

void DragWindow(Form& window, int button) {
  if (button != kLeftButton) return;
  window.platform.ReleaseCapture();
  window.platform.SendMessage(window.hwnd, w::kWmNcLButtonDown, w::kHtCaption, 0);
}

}  // namespace tarnby
