// The pictures of controls and forms, the custom picture box and the shape.
#include "win32/native_host_parts.h"

namespace tarnby {

using namespace native;

namespace {
// The largest icon size that fits a square of the given side, at least 16.
int IconSizeFor(int side) {
  int best = kIconSizes.front();
  for (int size : kIconSizes)
    if (size <= side) best = size;
  return best;
}
}  // namespace

void NativeHostImpl::LoadPicture(ControlWindow& cw) {
  Control& control = *cw.control;
  const int dpi = cw.form->scale.dpi;
  const bool samePicture = cw.loadedPicture == control.Picture();
  if (samePicture && cw.pictureDpi == dpi && (cw.shownIcon || control.Picture() == 0)) return;
  // The pictures shown until now go once the new ones are in place.
  const OwnedIcon oldShown = std::move(cw.shownIcon);
  OwnedIcon oldSmall;
  cw.loadedPicture = control.Picture();
  cw.pictureDpi = dpi;
  const RECT rect = ControlRect(control);
  const int side = std::min(rect.right - rect.left, rect.bottom - rect.top);
  switch (control.kind) {
    case ControlKind::PictureButton:
      // Leave room for the button's edges.
      cw.shownIcon = LoadIconAt(control.Picture(), IconSizeFor(side - ::MulDiv(8, dpi, 96)));
      ::SendMessageW(cw.hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(cw.shownIcon.get()));
      control.pictureHandle = reinterpret_cast<Handle>(cw.shownIcon.get());
      break;
    case ControlKind::Image:
      cw.shownIcon = LoadIconAt(control.Picture(), IconSizeFor(side));
      ::SendMessageW(cw.hwnd, STM_SETICON, reinterpret_cast<WPARAM>(cw.shownIcon.get()), 0);
      control.pictureHandle = reinterpret_cast<Handle>(cw.shownIcon.get());
      break;
    case ControlKind::PictureBox:
      cw.shownIcon = LoadIconAt(control.Picture(), IconSizeFor(side));
      // The tray shows a picture box's picture: it wants the small icon of the
      // taskbar's DPI, the screen's, wherever the window is now.
      if (!samePicture || !cw.smallIcon) {
        oldSmall = std::move(cw.smallIcon);
        cw.smallIcon = LoadIconAt(control.Picture(), Metric(SM_CXSMICON, screen_.dpi));
        control.pictureHandle = reinterpret_cast<Handle>(cw.smallIcon.get());
      }
      ::InvalidateRect(cw.hwnd, nullptr, TRUE);
      break;
    default:
      break;
  }
}

void NativeHostImpl::ClearPicture(Control& picture) {
  ControlWindow* cw = Find(picture);
  if (!cw) return;
  ::InvalidateRect(cw->hwnd, nullptr, TRUE);
  ::UpdateWindow(cw->hwnd);
}

void NativeHostImpl::ShapeRegion(ControlWindow& cw) {
  // The shape is only its outline: the window is cut to it, so whatever lies
  // inside the ring stays visible and clickable.
  RECT rect;
  ::GetClientRect(cw.hwnd, &rect);
  const int border = std::max(2, ::MulDiv(2, cw.form->scale.dpi, 96));
  OwnedRegion outer, inner;
  if (cw.control->ellipse) {
    outer.reset(::CreateEllipticRgn(0, 0, rect.right + 1, rect.bottom + 1));
    inner.reset(::CreateEllipticRgn(border, border, rect.right - border + 1, rect.bottom - border + 1));
  } else {
    outer.reset(::CreateRectRgn(0, 0, rect.right, rect.bottom));
    inner.reset(::CreateRectRgn(border, border, rect.right - border, rect.bottom - border));
  }
  if (inner) ::CombineRgn(outer.get(), outer.get(), inner.get(), RGN_DIFF);
  // The window owns the region once it took it (and frees the one before);
  // one it refused is still ours.
  if (outer && ::SetWindowRgn(cw.hwnd, outer.get(), TRUE)) outer.release();
}

LRESULT CALLBACK NativeHostImpl::PictureProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* cw = reinterpret_cast<ControlWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!cw) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_MOUSEMOVE: {
      // Also the tray's callback: the shell sends the mouse message in lParam,
      // which reads as the x position, as the picture box always took it.
      const int tppX = cw->form->scale.x, tppY = cw->form->scale.y;
      return Guarded([&] {
        cw->control->MouseMove(MouseButtons(wParam), ShiftState(wParam), MouseX(lParam) * tppX,
                               MouseY(lParam) * tppY);
        return LRESULT{0};
      });
    }
    case WM_ERASEBKGND:
      return cw->form->Erase(hwnd, wParam);
    case WM_PAINT: {
      const Painting paint(hwnd);
      if (cw->shownIcon) {
        int size = 32;
        const IconBitmaps bitmaps(cw->shownIcon.get());
        BITMAP bitmap{};
        if ((bitmaps.color || bitmaps.mask) &&
            ::GetObjectW(bitmaps.color ? bitmaps.color.get() : bitmaps.mask.get(), sizeof bitmap, &bitmap))
          size = bitmap.bmWidth;
        RECT rect;
        ::GetClientRect(hwnd, &rect);
        ::DrawIconEx(paint.get(), std::max<int>(0, (rect.right - size) / 2), std::max<int>(0, (rect.bottom - size) / 2),
                     cw->shownIcon.get(), size, size, 0, nullptr, DI_NORMAL);
      }
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK NativeHostImpl::ShapeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* cw = reinterpret_cast<ControlWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      const Painting paint(hwnd);
      if (cw) {
        // The window is cut to the outline, so filling it draws the outline.
        const OwnedBrush brush(::CreateSolidBrush(ToColor(cw->control->borderColor, COLOR_WINDOWTEXT)));
        RECT rect;
        ::GetClientRect(hwnd, &rect);
        ::FillRect(paint.get(), &rect, brush.get());
      }
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace tarnby
