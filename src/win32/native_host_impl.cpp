// The native host: its set-up, finding a form's or control's windows, names and geometry.
#include "win32/native_host_parts.h"

#include <stdexcept>

#include "win32/utf16.h"

namespace tarnby {

using namespace native;

// ------------------------------------------------------------------ set-up

NativeHostImpl::NativeHostImpl(HINSTANCE instance) : instance_(instance) {
  if (const WindowDc screen(nullptr); screen)
    screen_ = ScaleForDpi(::GetDeviceCaps(screen.get(), LOGPIXELSX), ::GetDeviceCaps(screen.get(), LOGPIXELSY));
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  RegisterClasses();
  owner_.reset(::CreateWindowExW(0, kOwnerClass, L"Tarnby", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, this));
  // Without it no form could be made and the shell's return would go unheard.
  if (!owner_) throw std::runtime_error("the owner window could not be created");
}

NativeHostImpl::~NativeHostImpl() {
  while (!forms_.empty()) {
    Form* form = forms_.begin()->second->form;
    DestroyFormWindow(*form);
  }
  owner_.reset();
  fonts_.clear();
}

namespace {
// A class that cannot be registered leaves Tarnby without its windows.
void Register(const WNDCLASSEXW& windowClass) {
  if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw std::runtime_error("a window class could not be registered");
}
}  // namespace

void NativeHostImpl::RegisterClasses() {
  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.style = CS_DBLCLKS;
  form.lpfnWndProc = &NativeHostImpl::FormProc;
  form.hInstance = instance_;
  form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  form.lpszClassName = kFormClass;
  Register(form);

  WNDCLASSEXW owner = form;
  owner.lpfnWndProc = &NativeHostImpl::OwnerProc;
  owner.lpszClassName = kOwnerClass;
  Register(owner);

  WNDCLASSEXW picture = form;
  picture.style = 0;
  picture.lpfnWndProc = &NativeHostImpl::PictureProc;
  picture.lpszClassName = kPictureClass;
  Register(picture);

  WNDCLASSEXW shape = form;
  shape.style = 0;
  shape.lpfnWndProc = &NativeHostImpl::ShapeProc;
  shape.lpszClassName = kShapeClass;
  Register(shape);
}

NativeHostImpl::Scale NativeHostImpl::ScaleForDpi(int dpiX, int dpiY) {
  // Whole twips per pixel, as the forms have always been laid out.
  Scale scale;
  scale.dpi = std::max(1, dpiX);
  scale.x = std::max(1, 1440 / scale.dpi);
  scale.y = std::max(1, 1440 / std::max(1, dpiY));
  return scale;
}

int NativeHostImpl::Pixels(int twips, int twipsPerPixel) const {
  // Round to the nearest pixel, halves away from zero.
  return twips >= 0 ? (twips + twipsPerPixel / 2) / twipsPerPixel : -((-twips + twipsPerPixel / 2) / twipsPerPixel);
}

// ------------------------------------------------------------------ lookup

NativeHostImpl::FormWindow* NativeHostImpl::Find(const Form& form) const {
  const auto it = forms_.find(&form);
  return it == forms_.end() ? nullptr : it->second.get();
}

NativeHostImpl::ControlWindow* NativeHostImpl::Find(const Control& control) const {
  FormWindow* fw = Find(control.form);
  if (!fw) return nullptr;
  const auto it = fw->byControl.find(&control);
  return it == fw->byControl.end() ? nullptr : it->second;
}

NativeHostImpl::FormWindow* NativeHostImpl::FormOf(HWND hwnd) const {
  HWND root = ::GetAncestor(hwnd, GA_ROOT);
  for (const auto& [form, fw] : forms_)
    if (fw->hwnd == root) return fw.get();
  return nullptr;
}

const NativeHostImpl::Scale& NativeHostImpl::ScaleOfForm(const Form& form) const {
  const FormWindow* fw = Find(form);
  return fw ? fw->scale : screen_;
}

PixelScale NativeHostImpl::ScaleOf(Handle window) {
  const FormWindow* fw = window ? FormOf(reinterpret_cast<HWND>(window)) : nullptr;
  const Scale& scale = fw ? fw->scale : screen_;
  return {scale.x, scale.y};
}

// ------------------------------------------------------------------ names

void NativeHostImpl::Name(HWND hwnd, const std::string& name) {
  const ATOM atom = ::GlobalAddAtomW(Wide(name).c_str());
  if (atom != 0) ::SetPropW(hwnd, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

void NativeHostImpl::Unname(HWND hwnd) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(::RemovePropW(hwnd, kNameProperty)));
  if (atom != 0) ::GlobalDeleteAtom(atom);
}

// ------------------------------------------------------------------ geometry

RECT NativeHostImpl::ControlRect(const Control& control) const {
  int left = control.Position().left;
  int top = control.Position().top;
  // A frame's controls are placed relative to the frame.
  for (const Control* frame = control.container; frame != nullptr; frame = frame->container) {
    left += frame->Position().left;
    top += frame->Position().top;
  }
  const Scale& scale = ScaleOfForm(control.form);
  RECT rect;
  rect.left = Pixels(left, scale.x);
  rect.top = Pixels(top, scale.y);
  rect.right = rect.left + Pixels(control.Position().width, scale.x);
  rect.bottom = rect.top + Pixels(control.Position().height, scale.y);
  return rect;
}

bool NativeHostImpl::EffectiveVisible(const Control& control) const {
  for (const Control* c = &control; c != nullptr; c = c->container)
    if (!c->Visible()) return false;
  return true;
}

bool NativeHostImpl::EffectiveEnabled(const Control& control) const {
  for (const Control* c = &control; c != nullptr; c = c->container)
    if (!c->Enabled()) return false;
  return true;
}

void NativeHostImpl::ReportPosition(FormWindow& fw) {
  RECT rect;
  if (!::GetWindowRect(fw.hwnd, &rect)) return;
  const Scale& scale = fw.scale;
  fw.form->NativeMoved({rect.left * scale.x, rect.top * scale.y, (rect.right - rect.left) * scale.x,
                        (rect.bottom - rect.top) * scale.y});
}

}  // namespace tarnby
