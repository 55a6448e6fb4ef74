// The window-size hook: a replacement window procedure that answers
// WM_GETMINMAXINFO with fixed limits, and gives the old procedure back before
// the program ends.
#pragma once

#include <cstdint>

#include "core/platform.h"

namespace tarnby {

class Form;

// Sizes in twips; converted to pixels with the window's factors as it is asked
// (they follow the DPI of its monitor), halves to even.
void LimitWindowSize(Form& window, int minWidth, int minHeight, int maxWidth, int maxHeight);
std::intptr_t TARNBY_CALLBACK SizeLimitProc(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                            std::intptr_t lParam);
void RestoreWindowProcs();

// The pixel size a twips size becomes, as LimitWindowSize computes it.
int TwipsToPixels(int twips, int twipsPerPixel);
// How many windows carry a limit now (for tests).
int LimitedWindowCount();

}  // namespace tarnby
