// Dragging a borderless window by its surface.
#pragma once

namespace tarnby {

class Form;

// A drag of a borderless window by its surface: only the left button alone.
void DragWindow(Form& window, int button);

}  // namespace tarnby
