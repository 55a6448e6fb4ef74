#include "win32/native_host_impl.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "core/resource_ids.h"
#include "win32/utf16.h"

namespace tarnby {

namespace {

constexpr wchar_t kFormClass[] = L"TarnbyForm";
constexpr wchar_t kOwnerClass[] = L"TarnbyOwner";
constexpr wchar_t kPictureClass[] = L"TarnbyPicture";
constexpr wchar_t kShapeClass[] = L"TarnbyShape";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL
constexpr UINT_PTR kSubclassId = 1;
// Icon sizes the resource files carry; a control gets the largest that fits.
constexpr std::array<int, 5> kIconSizes = {16, 20, 24, 32, 48};

// Runs a window-message handler so that no exception leaves it: an error in
// one handler must not take the program down.
template <class F>
LRESULT Guarded(F&& handler, LRESULT fallback = 0) {
  try {
    return handler();
  } catch (...) {
    return fallback;
  }
}

COLORREF ToColor(std::uint32_t color, int systemFallback) {
  if (color == kDefaultColor) return ::GetSysColor(systemFallback);
  if (color & 0x80000000u) return ::GetSysColor(static_cast<int>(color & 0xFFu));  // a system colour index
  return static_cast<COLORREF>(color & 0xFFFFFFu);
}

std::wstring WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int copied = ::GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

// The mouse state of a message in the model's terms: buttons 1 left, 2 right,
// 4 middle; shift 1, ctrl 2, alt 4.
int MouseButtons(WPARAM keys) {
  return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}
int ShiftState(WPARAM keys) {
  return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) | ((::GetKeyState(VK_MENU) < 0) ? 4 : 0);
}

// Mouse positions in a message are signed 16-bit client coordinates.
int MouseX(LPARAM lParam) { return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))); }
int MouseY(LPARAM lParam) { return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam))); }

bool IsFocusable(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox:
    case ControlKind::Button:
    case ControlKind::PictureButton:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      return true;
    default:
      return false;
  }
}

}  // namespace

struct NativeHostImpl::ControlWindow {
  Control* control = nullptr;
  FormWindow* form = nullptr;
  HWND hwnd = nullptr;
  HICON shownIcon = nullptr;  // the picture at the control's size
  HICON smallIcon = nullptr;  // picture boxes: the small icon the tray shows
  int loadedPicture = 0;
  HFONT font = nullptr;
};

struct NativeHostImpl::FormWindow {
  NativeHostImpl* host = nullptr;
  Form* form = nullptr;
  HWND hwnd = nullptr;
  HWND tooltip = nullptr;
  HBRUSH background = nullptr;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  HWND lastFocus = nullptr;
  std::vector<std::unique_ptr<ControlWindow>> controls;
  std::map<const Control*, ControlWindow*> byControl;
  std::map<HWND, ControlWindow*> byHwnd;

  // The form's ground colour, which its labels, boxes and frames share.
  HBRUSH Ground() const { return background ? background : ::GetSysColorBrush(COLOR_BTNFACE); }
  // Paints a window of this form with the ground colour (its WM_ERASEBKGND).
  LRESULT Erase(HWND hwnd, WPARAM dc) const {
    RECT rect;
    ::GetClientRect(hwnd, &rect);
    ::FillRect(reinterpret_cast<HDC>(dc), &rect, Ground());
    return 1;
  }
};

// ------------------------------------------------------------------ set-up

NativeHostImpl::NativeHostImpl(HINSTANCE instance) : instance_(instance) {
  if (HDC screen = ::GetDC(nullptr)) {
    dpi_ = std::max(1, ::GetDeviceCaps(screen, LOGPIXELSX));
    twipsPerPixelX_ = std::max(1, 1440 / dpi_);
    twipsPerPixelY_ = std::max(1, 1440 / std::max(1, ::GetDeviceCaps(screen, LOGPIXELSY)));
    ::ReleaseDC(nullptr, screen);
  }
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  RegisterClasses();
  owner_ = ::CreateWindowExW(0, kOwnerClass, L"Tarnby", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, this);
}

NativeHostImpl::~NativeHostImpl() {
  while (!forms_.empty()) {
    Form* form = forms_.begin()->second->form;
    DestroyFormWindow(*form);
  }
  if (owner_) ::DestroyWindow(owner_);
  for (auto& [key, font] : fonts_) ::DeleteObject(font);
}

void NativeHostImpl::RegisterClasses() {
  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.style = CS_DBLCLKS;
  form.lpfnWndProc = &NativeHostImpl::FormProc;
  form.hInstance = instance_;
  form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  form.lpszClassName = kFormClass;
  ::RegisterClassExW(&form);

  WNDCLASSEXW owner = form;
  owner.lpfnWndProc = &NativeHostImpl::OwnerProc;
  owner.lpszClassName = kOwnerClass;
  ::RegisterClassExW(&owner);

  WNDCLASSEXW picture = form;
  picture.style = 0;
  picture.lpfnWndProc = &NativeHostImpl::PictureProc;
  picture.lpszClassName = kPictureClass;
  ::RegisterClassExW(&picture);

  WNDCLASSEXW shape = form;
  shape.style = 0;
  shape.lpfnWndProc = &NativeHostImpl::ShapeProc;
  shape.lpszClassName = kShapeClass;
  ::RegisterClassExW(&shape);
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

// ------------------------------------------------------------------ names

void NativeHostImpl::Name(HWND hwnd, const std::string& name) {
  const ATOM atom = ::GlobalAddAtomW(Wide(name).c_str());
  if (atom != 0) ::SetPropW(hwnd, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

void NativeHostImpl::Unname(HWND hwnd) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(::RemovePropW(hwnd, kNameProperty)));
  if (atom != 0) ::GlobalDeleteAtom(atom);
}

// ------------------------------------------------------------------ resources

HFONT NativeHostImpl::FontFor(const Font& font) {
  const FontKey key{font.name, font.points, font.bold, font.italic, font.underline};
  if (const auto it = fonts_.find(key); it != fonts_.end()) return it->second;
  LOGFONTW logFont{};
  logFont.lfHeight = -::MulDiv(font.points, dpi_, 72);
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.italic;
  logFont.lfUnderline = font.underline;
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfQuality = CLEARTYPE_QUALITY;
  // The forms were laid out for their fonts' metrics: ask for the face by its
  // own name (Wine carries a scalable "MS Sans Serif", Windows its own).
  std::wstring face = Wide(font.name);
  const bool fixed = font.name.find("Courier") != std::string::npos;
  logFont.lfPitchAndFamily = fixed ? static_cast<BYTE>(FIXED_PITCH | FF_MODERN) : static_cast<BYTE>(FF_SWISS);
  face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  std::copy(face.begin(), face.end(), logFont.lfFaceName);
  HFONT handle = ::CreateFontIndirectW(&logFont);
  // Without a font of its own the control makes do with the stock one, which
  // is not ours to keep or delete: the next control asks again.
  if (!handle) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  fonts_[key] = handle;
  return handle;
}

HICON NativeHostImpl::LoadIconAt(int resourceId, int size) const {
  if (resourceId <= 0) return nullptr;
  return static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, 0));
}

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
  if (cw.loadedPicture == control.Picture() && (cw.shownIcon || control.Picture() == 0)) return;
  HICON oldShown = cw.shownIcon;
  HICON oldSmall = cw.smallIcon;
  cw.shownIcon = nullptr;
  cw.smallIcon = nullptr;
  cw.loadedPicture = control.Picture();
  const RECT rect = ControlRect(control);
  const int side = std::min(rect.right - rect.left, rect.bottom - rect.top);
  switch (control.kind) {
    case ControlKind::PictureButton:
      // Leave room for the button's edges.
      cw.shownIcon = LoadIconAt(control.Picture(), IconSizeFor(side - ::MulDiv(8, dpi_, 96)));
      ::SendMessageW(cw.hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(cw.shownIcon));
      control.pictureHandle = reinterpret_cast<Handle>(cw.shownIcon);
      break;
    case ControlKind::Image:
      cw.shownIcon = LoadIconAt(control.Picture(), IconSizeFor(side));
      ::SendMessageW(cw.hwnd, STM_SETICON, reinterpret_cast<WPARAM>(cw.shownIcon), 0);
      control.pictureHandle = reinterpret_cast<Handle>(cw.shownIcon);
      break;
    case ControlKind::PictureBox:
      cw.shownIcon = LoadIconAt(control.Picture(), IconSizeFor(side));
      // The tray shows a picture box's picture: it wants the small icon.
      cw.smallIcon = LoadIconAt(control.Picture(), ::GetSystemMetrics(SM_CXSMICON));
      control.pictureHandle = reinterpret_cast<Handle>(cw.smallIcon);
      ::InvalidateRect(cw.hwnd, nullptr, TRUE);
      break;
    default:
      break;
  }
  if (oldShown) ::DestroyIcon(oldShown);
  if (oldSmall) ::DestroyIcon(oldSmall);
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
  RECT rect;
  rect.left = Pixels(left, twipsPerPixelX_);
  rect.top = Pixels(top, twipsPerPixelY_);
  rect.right = rect.left + Pixels(control.Position().width, twipsPerPixelX_);
  rect.bottom = rect.top + Pixels(control.Position().height, twipsPerPixelY_);
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
  fw.form->NativeMoved({rect.left * twipsPerPixelX_, rect.top * twipsPerPixelY_,
                        (rect.right - rect.left) * twipsPerPixelX_, (rect.bottom - rect.top) * twipsPerPixelY_});
}

// ------------------------------------------------------------------ forms

void NativeHostImpl::CreateFormWindow(Form& form) {
  if (Find(form)) return;
  auto owned = std::make_unique<FormWindow>();
  FormWindow& fw = *owned;
  fw.host = this;
  fw.form = &form;
  if (form.backColor != kDefaultColor) fw.background = ::CreateSolidBrush(ToColor(form.backColor, COLOR_BTNFACE));

  // A form shows a title bar when it has a caption or a control box; without
  // one it keeps its border all the same.
  const bool titleBar = !form.Caption().empty() || form.controlBox;
  DWORD style = WS_POPUP | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  switch (form.borderStyle) {
    case BorderStyle::None:
      break;
    case BorderStyle::FixedSingle:
      style |= WS_BORDER;
      break;
    case BorderStyle::Sizable:
      style |= WS_THICKFRAME;
      break;
    case BorderStyle::FixedDialog:
      style |= WS_DLGFRAME;
      exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case BorderStyle::FixedToolWindow:
      style |= WS_BORDER;
      exStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (titleBar && form.borderStyle != BorderStyle::None) {
    style |= WS_CAPTION;
    if (form.controlBox) style |= WS_SYSMENU;
    if (form.minButton) style |= WS_MINIMIZEBOX;
    if (form.maxButton) style |= WS_MAXIMIZEBOX;
  }
  HWND owner = nullptr;
  if (form.showInTaskbar) {
    exStyle |= WS_EX_APPWINDOW;
  } else {
    // Owned by the hidden window, a form stays out of the taskbar and keeps a
    // full-size title bar; one without a title bar is a tool window as well.
    owner = owner_;
    if (!titleBar) exStyle |= WS_EX_TOOLWINDOW;
  }

  RECT rect{0, 0, Pixels(form.ClientWidth(), twipsPerPixelX_), Pixels(form.ClientHeight(), twipsPerPixelY_)};
  ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  const int left = Pixels(form.Position().left, twipsPerPixelX_);
  const int top = Pixels(form.Position().top, twipsPerPixelY_);
  HWND hwnd = ::CreateWindowExW(exStyle, kFormClass, Wide(form.Caption()).c_str(), style, left, top,
                                rect.right - rect.left, rect.bottom - rect.top, owner, nullptr, instance_, nullptr);
  if (!hwnd) return;
  fw.hwnd = hwnd;
  ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&fw));
  forms_[&form] = std::move(owned);
  form.hwnd = reinterpret_cast<Handle>(hwnd);
  Name(hwnd, form.name);

  {
    // A form without a picture of its own shows the program's.
    const int icon = form.iconResource > 0 ? form.iconResource : IDI_TARNBY;
    fw.bigIcon = LoadIconAt(icon, ::GetSystemMetrics(SM_CXICON));
    fw.smallIcon = LoadIconAt(icon, ::GetSystemMetrics(SM_CXSMICON));
    ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(fw.bigIcon));
    ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(fw.smallIcon));
  }

  fw.tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr, instance_,
                                 nullptr);
  if (fw.tooltip) ::SendMessageW(fw.tooltip, TTM_SETMAXTIPWIDTH, 0, ::MulDiv(300, dpi_, 96));

  // Child windows stack in creation order, which is also the Tab order: the
  // controls by their tab index, frames last so they lie beneath what they hold.
  std::vector<Control*> order(form.controls.begin(), form.controls.end());
  std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
    const bool aFrame = a->kind == ControlKind::Frame, bFrame = b->kind == ControlKind::Frame;
    if (aFrame != bFrame) return bFrame;
    const int aIndex = a->tabIndex < 0 ? 1 << 30 : a->tabIndex, bIndex = b->tabIndex < 0 ? 1 << 30 : b->tabIndex;
    return aIndex < bIndex;
  });
  int id = kFirstControlId;
  for (Control* control : order) CreateControl(fw, *control, id++);

  for (Timer* timer : form.timers) TimerChanged(*timer);
  ReportPosition(fw);
}

void NativeHostImpl::DestroyFormWindow(Form& form) {
  const auto it = forms_.find(&form);
  if (it == forms_.end()) return;
  std::unique_ptr<FormWindow> fw = std::move(it->second);
  forms_.erase(it);

  for (auto timer = timers_.begin(); timer != timers_.end();) {
    if (&timer->second->form == &form) {
      ::KillTimer(fw->hwnd, timer->first);
      timer = timers_.erase(timer);
    } else {
      ++timer;
    }
  }
  ::SetWindowLongPtrW(fw->hwnd, GWLP_USERDATA, 0);
  for (auto& cw : fw->controls) {
    ::RemoveWindowSubclass(cw->hwnd, &NativeHostImpl::ControlSubclassProc, kSubclassId);
    ::SetWindowLongPtrW(cw->hwnd, GWLP_USERDATA, 0);
    Unname(cw->hwnd);
  }
  Unname(fw->hwnd);
  if (fw->tooltip) ::DestroyWindow(fw->tooltip);
  ::DestroyWindow(fw->hwnd);
  for (auto& cw : fw->controls) {
    if (cw->shownIcon) ::DestroyIcon(cw->shownIcon);
    if (cw->smallIcon) ::DestroyIcon(cw->smallIcon);
    cw->control->pictureHandle = 0;
  }
  if (fw->bigIcon) ::DestroyIcon(fw->bigIcon);
  if (fw->smallIcon) ::DestroyIcon(fw->smallIcon);
  if (fw->background) ::DeleteObject(fw->background);
}

void NativeHostImpl::FormChanged(Form& form) {
  FormWindow* fw = Find(form);
  if (!fw) return;
  HWND hwnd = fw->hwnd;
  const std::wstring caption = Wide(form.Caption());
  if (WindowText(hwnd) != caption) ::SetWindowTextW(hwnd, caption.c_str());

  const Twips& want = form.Position();
  RECT rect;
  ::GetWindowRect(hwnd, &rect);
  const int left = Pixels(want.left, twipsPerPixelX_), top = Pixels(want.top, twipsPerPixelY_);
  const int width = Pixels(want.width, twipsPerPixelX_), height = Pixels(want.height, twipsPerPixelY_);
  if (left != rect.left || top != rect.top || width != rect.right - rect.left || height != rect.bottom - rect.top)
    ::SetWindowPos(hwnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  // The window may be somewhere else than asked (the size limit, say): tell the model.
  if (Find(form) == fw) ReportPosition(*fw);

  if (Find(form) != fw) return;
  const bool shown = ::IsWindowVisible(hwnd) != FALSE;
  if (form.Visible() && !shown) {
    ::ShowWindow(hwnd, SW_SHOW);
  } else if (!form.Visible() && shown) {
    ::ShowWindow(hwnd, SW_HIDE);
  }
}

// ------------------------------------------------------------------ controls

void NativeHostImpl::CreateControl(FormWindow& fw, Control& control, int id) {
  auto owned = std::make_unique<ControlWindow>();
  ControlWindow& cw = *owned;
  cw.control = &control;
  cw.form = &fw;

  const wchar_t* windowClass = WC_STATICW;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  std::wstring text = Wide(control.Caption());
  switch (control.kind) {
    case ControlKind::Label:
      style |= (SingleLineLabel(control) ? SS_LEFTNOWORDWRAP : SS_LEFT) | SS_NOTIFY;
      break;
    case ControlKind::TextBox:
      windowClass = WC_EDITW;
      style |= ES_AUTOHSCROLL | ES_LEFT;
      if (control.locked) style |= ES_READONLY;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Button:
      windowClass = WC_BUTTONW;
      style |= control.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      break;
    case ControlKind::PictureButton:
      windowClass = WC_BUTTONW;
      style |= BS_PUSHBUTTON | BS_ICON;
      text.clear();
      break;
    case ControlKind::CheckBox:
      // The model owns the tick; the button only reports the click.
      windowClass = WC_BUTTONW;
      style |= BS_CHECKBOX;
      break;
    case ControlKind::OptionButton:
      windowClass = WC_BUTTONW;
      style |= BS_RADIOBUTTON;
      break;
    case ControlKind::PictureBox:
      windowClass = kPictureClass;
      text.clear();
      break;
    case ControlKind::Image:
      style |= SS_ICON | SS_NOTIFY | SS_CENTERIMAGE;
      text.clear();
      break;
    case ControlKind::Shape:
      // Paints over what lies beneath and lets the clicks through.
      windowClass = kShapeClass;
      style |= WS_DISABLED;
      style &= ~static_cast<DWORD>(WS_CLIPSIBLINGS);
      exStyle |= WS_EX_TRANSPARENT;
      text.clear();
      break;
    case ControlKind::Frame:
      windowClass = WC_BUTTONW;
      style |= BS_GROUPBOX;
      break;
  }
  if (IsFocusable(control.kind)) style |= WS_TABSTOP;
  // Option buttons that follow one another in a container form one group.
  const Control* previous = fw.controls.empty() ? nullptr : fw.controls.back()->control;
  const bool continuesGroup = control.kind == ControlKind::OptionButton && previous != nullptr &&
                              previous->kind == ControlKind::OptionButton && previous->container == control.container;
  if (!continuesGroup && control.kind != ControlKind::Shape) style |= WS_GROUP;

  if (EffectiveVisible(control)) style |= WS_VISIBLE;
  if (!EffectiveEnabled(control)) style |= WS_DISABLED;
  const RECT rect = FittedRect(control);
  cw.hwnd = ::CreateWindowExW(exStyle, windowClass, text.c_str(), style, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, fw.hwnd,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (!cw.hwnd) return;
  control.hwnd = reinterpret_cast<Handle>(cw.hwnd);
  fw.controls.push_back(std::move(owned));
  fw.byControl[&control] = &cw;
  fw.byHwnd[cw.hwnd] = &cw;
  Name(cw.hwnd, control.name);

  if (control.kind == ControlKind::PictureBox || control.kind == ControlKind::Shape)
    ::SetWindowLongPtrW(cw.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&cw));
  if (control.kind == ControlKind::Frame) ::SetWindowPos(cw.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (control.kind == ControlKind::Label || control.kind == ControlKind::TextBox ||
      control.kind == ControlKind::Image || control.kind == ControlKind::Frame)
    ::SetWindowSubclass(cw.hwnd, &NativeHostImpl::ControlSubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(&cw));

  cw.font = FontFor(control.font);
  ::SendMessageW(cw.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(cw.font), FALSE);
  if (control.kind == ControlKind::TextBox && control.maxLength > 0)
    ::SendMessageW(cw.hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(control.maxLength), 0);
  if (control.kind == ControlKind::CheckBox || control.kind == ControlKind::OptionButton)
    ::SendMessageW(cw.hwnd, BM_SETCHECK, control.Value() ? BST_CHECKED : BST_UNCHECKED, 0);
  LoadPicture(cw);
  if (control.kind == ControlKind::Shape) ShapeRegion(cw);

  if (fw.tooltip && !control.toolTip.empty()) {
    std::wstring tip = Wide(control.toolTip);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = fw.hwnd;
    info.uId = reinterpret_cast<UINT_PTR>(cw.hwnd);
    info.lpszText = tip.data();
    ::SendMessageW(fw.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

void NativeHostImpl::ShapeRegion(ControlWindow& cw) {
  // The shape is only its outline: the window is cut to it, so whatever lies
  // inside the ring stays visible and clickable.
  RECT rect;
  ::GetClientRect(cw.hwnd, &rect);
  const int border = std::max(2, ::MulDiv(2, dpi_, 96));
  HRGN outer, inner;
  if (cw.control->ellipse) {
    outer = ::CreateEllipticRgn(0, 0, rect.right + 1, rect.bottom + 1);
    inner = ::CreateEllipticRgn(border, border, rect.right - border + 1, rect.bottom - border + 1);
  } else {
    outer = ::CreateRectRgn(0, 0, rect.right, rect.bottom);
    inner = ::CreateRectRgn(border, border, rect.right - border, rect.bottom - border);
  }
  if (inner) {
    ::CombineRgn(outer, outer, inner, RGN_DIFF);
    ::DeleteObject(inner);
  }
  // The window owns the region once it took it (and frees the one before);
  // one it refused is still ours.
  if (outer && !::SetWindowRgn(cw.hwnd, outer, TRUE)) ::DeleteObject(outer);
}

bool NativeHostImpl::SingleLineLabel(const Control& label) {
  const RECT rect = ControlRect(label);
  return label.autoSize || rect.bottom - rect.top < 2 * TextExtent(label.font, L"").cy;
}

RECT NativeHostImpl::FittedRect(const Control& control) {
  // An auto-sized label takes its text's size. A one-line label grows to its
  // text when the font here runs wider than the one the form was laid out
  // with, rather than lose its last word to the wrap.
  RECT rect = ControlRect(control);
  if (control.kind != ControlKind::Label) return rect;
  const bool singleLine = SingleLineLabel(control);
  if (!control.autoSize && !singleLine) return rect;
  const SIZE text = TextExtent(control.font, Wide(control.Caption()));
  if (control.autoSize) {
    rect.right = rect.left + text.cx;
    rect.bottom = rect.top + text.cy;
  } else {
    rect.right = std::max<LONG>(rect.right, rect.left + text.cx);
  }
  return rect;
}

void NativeHostImpl::ApplyControl(ControlWindow& cw) {
  Control& control = *cw.control;
  HWND hwnd = cw.hwnd;
  if (control.kind != ControlKind::PictureButton && control.kind != ControlKind::PictureBox &&
      control.kind != ControlKind::Image && control.kind != ControlKind::Shape) {
    const std::wstring text = Wide(control.Caption());
    if (WindowText(hwnd) != text) ::SetWindowTextW(hwnd, text.c_str());
  }
  if (control.kind == ControlKind::CheckBox || control.kind == ControlKind::OptionButton) {
    const WPARAM check = control.Value() ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(::SendMessageW(hwnd, BM_GETCHECK, 0, 0)) != check)
      ::SendMessageW(hwnd, BM_SETCHECK, check, 0);
  }
  if (control.kind == ControlKind::TextBox) {
    const bool readOnly = (::GetWindowLongPtrW(hwnd, GWL_STYLE) & ES_READONLY) != 0;
    if (readOnly != control.locked) ::SendMessageW(hwnd, EM_SETREADONLY, control.locked, 0);
  }

  const RECT want = FittedRect(control);
  RECT now;
  ::GetWindowRect(hwnd, &now);
  ::MapWindowPoints(nullptr, cw.form->hwnd, reinterpret_cast<POINT*>(&now), 2);
  if (want.left != now.left || want.top != now.top || want.right - want.left != now.right - now.left ||
      want.bottom - want.top != now.bottom - now.top) {
    ::SetWindowPos(hwnd, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (control.kind == ControlKind::Shape) ShapeRegion(cw);
  }

  LoadPicture(cw);

  const bool enabled = EffectiveEnabled(control) && control.kind != ControlKind::Shape;
  if ((::IsWindowEnabled(hwnd) != FALSE) != enabled) ::EnableWindow(hwnd, enabled);
  const bool visible = EffectiveVisible(control);
  const bool shown = (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visible != shown) ::ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void NativeHostImpl::ApplyFramed(FormWindow& fw, Control& frame) {
  // A frame's visibility, state and place carry over to what it holds.
  for (auto& cw : fw.controls) {
    for (const Control* c = cw->control->container; c != nullptr; c = c->container) {
      if (c == &frame) {
        ApplyControl(*cw);
        break;
      }
    }
  }
}

void NativeHostImpl::ControlChanged(Control& control) {
  ControlWindow* cw = Find(control);
  if (!cw) return;
  ApplyControl(*cw);
  if (control.kind == ControlKind::Frame) ApplyFramed(*cw->form, control);
}

// ------------------------------------------------------------------ timers

void NativeHostImpl::TimerChanged(Timer& timer) {
  FormWindow* fw = Find(timer.form);
  if (!fw) return;
  if (timer.id == 0) timer.id = nextTimerId_++;
  const auto id = static_cast<UINT_PTR>(timer.id);
  if (timer.Enabled() && timer.Interval() > 0) {
    timers_[id] = &timer;
    ::SetTimer(fw->hwnd, id, timer.Interval(), nullptr);
  } else {
    ::KillTimer(fw->hwnd, id);
    timers_.erase(id);
  }
}

// ------------------------------------------------------------------ menus, pictures, text

int NativeHostImpl::TrackPopupMenu(Menu& menu, Handle owner) {
  HMENU popup = ::CreatePopupMenu();
  if (!popup) return -1;
  for (std::size_t i = 0; i < menu.items.size(); ++i) {
    const MenuItem& item = *menu.items[i];
    if (!item.visible) continue;
    const auto id = static_cast<UINT_PTR>(i + 1);
    if (item.IsSeparator()) {
      ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (item.checked) flags |= MF_CHECKED;
    if (!item.enabled) flags |= MF_GRAYED;
    ::AppendMenuW(popup, flags, id, Wide(item.caption).c_str());
  }
  HWND window = reinterpret_cast<HWND>(owner);
  if (!window || !::IsWindow(window)) window = owner_;
  window = ::GetAncestor(window, GA_ROOT);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  ::SetForegroundWindow(window);
  POINT at{};
  ::GetCursorPos(&at);
  HMENU outerPopup = std::exchange(openPopup_, popup);
  Menu* outerMenu = std::exchange(openMenu_, &menu);
  const int chosen = static_cast<int>(::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
  openPopup_ = outerPopup;
  openMenu_ = outerMenu;
  ::PostMessageW(window, WM_NULL, 0, 0);
  ::DestroyMenu(popup);
  return chosen > 0 ? chosen - 1 : -1;
}

// Timers keep ticking while a menu is down, and a tick may enable or disable
// items the user is looking at: show them as the model has them now.
void NativeHostImpl::RefreshOpenMenu() {
  bool changed = false;
  for (std::size_t i = 0; i < openMenu_->items.size(); ++i) {
    const MenuItem& item = *openMenu_->items[i];
    const auto id = static_cast<UINT>(i + 1);
    const UINT state = ::GetMenuState(openPopup_, id, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1) || (state & MF_SEPARATOR)) continue;
    if (((state & MF_GRAYED) == 0) == item.enabled) continue;
    ::EnableMenuItem(openPopup_, id, MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
    changed = true;
  }
  if (!changed) return;
  // A menu that is down does not repaint by itself when an item changes.
  for (HWND window = ::FindWindowW(L"#32768", nullptr); window;
       window = ::FindWindowExW(nullptr, window, L"#32768", nullptr)) {
    if (reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0)) == openPopup_)
      ::InvalidateRect(window, nullptr, TRUE);
  }
}

void NativeHostImpl::ClearPicture(Control& picture) {
  ControlWindow* cw = Find(picture);
  if (!cw) return;
  ::InvalidateRect(cw->hwnd, nullptr, TRUE);
  ::UpdateWindow(cw->hwnd);
}

SIZE NativeHostImpl::TextExtent(const Font& font, const std::wstring& text) {
  // One line (or as many as the text's own line breaks make), at least one line high.
  SIZE size{0, 0};
  HDC dc = ::GetDC(nullptr);
  if (!dc) return size;
  HGDIOBJ previous = ::SelectObject(dc, FontFor(font));
  RECT rect{0, 0, 0, 0};
  if (!text.empty())
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_LEFT | DT_EXPANDTABS);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ::SelectObject(dc, previous);
  ::ReleaseDC(nullptr, dc);
  size.cx = rect.right - rect.left;
  size.cy = std::max<LONG>(rect.bottom - rect.top, metrics.tmHeight);
  return size;
}

TextSize NativeHostImpl::MeasureText(const Control& label) {
  const SIZE size = TextExtent(label.font, Wide(label.Caption()));
  return {size.cx * twipsPerPixelX_, size.cy * twipsPerPixelY_};
}

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

// ------------------------------------------------------------------ window procedures

LRESULT CALLBACK NativeHostImpl::OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<NativeHostImpl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (host && msg != 0 && msg == host->taskbarCreated_) {
    // The shell came back: every form that cares hears of it. Collect first,
    // a handler may load or unload forms.
    return Guarded([host] {
      std::vector<Form*> forms;
      for (const auto& [form, fw] : host->forms_)
        if (fw->form->onShellRestarted) forms.push_back(fw->form);
      for (Form* form : forms)
        if (host->Find(*form) && form->onShellRestarted) form->onShellRestarted();
      return LRESULT{0};
    });
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK NativeHostImpl::FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* fw = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!fw) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  return Guarded([&] { return fw->host->HandleFormMessage(*fw, hwnd, msg, wParam, lParam); });
}

LRESULT NativeHostImpl::HandleFormMessage(FormWindow& fw, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Form& form = *fw.form;
  switch (msg) {
    case WM_COMMAND:
      return HandleCommand(fw, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return HandleColor(fw, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), msg, wParam, lParam);
    case WM_ERASEBKGND:
      return fw.Erase(hwnd, wParam);
    case WM_MOUSEMOVE:
      form.MouseMove(MouseButtons(wParam), ShiftState(wParam), MouseX(lParam) * twipsPerPixelX_,
                     MouseY(lParam) * twipsPerPixelY_);
      return 0;
    case WM_TIMER: {
      const auto it = timers_.find(wParam);
      if (it != timers_.end()) it->second->Tick();
      if (openPopup_) RefreshOpenMenu();
      return 0;
    }
    case WM_CLOSE:
      form.RequestClose();
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      ReportPosition(fw);
      break;
    case WM_ACTIVATE:
      // Give the focus back to the control that had it, or to the first one.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd, focus)) fw.lastFocus = focus;
      } else if (!::IsIconic(hwnd)) {
        HWND focus = fw.lastFocus && ::IsWindow(fw.lastFocus) && ::IsWindowEnabled(fw.lastFocus) &&
                             ::IsWindowVisible(fw.lastFocus)
                         ? fw.lastFocus
                         : ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
        if (focus) {
          ::SetFocus(focus);
          return 0;
        }
      }
      break;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT NativeHostImpl::HandleCommand(FormWindow& fw, WPARAM wParam, LPARAM lParam) {
  const UINT code = HIWORD(wParam);
  const UINT id = LOWORD(wParam);
  HWND child = reinterpret_cast<HWND>(lParam);
  if (!child && (id == IDOK || id == IDCANCEL)) {
    // Enter and Esc from the keyboard interface: the form's default or cancel button.
    Control* target = nullptr;
    for (Control* control : fw.form->controls) {
      if ((id == IDOK && control->isDefault) || (id == IDCANCEL && control->isCancel)) {
        target = control;
        break;
      }
    }
    if (target && EffectiveVisible(*target) && EffectiveEnabled(*target)) target->Click();
    return 0;
  }
  const auto it = fw.byHwnd.find(child);
  if (it == fw.byHwnd.end()) return 0;
  Control& control = *it->second->control;
  switch (control.kind) {
    case ControlKind::TextBox:
      if (code == EN_CHANGE) control.NativeTextChanged(Utf8(WindowText(child)));
      break;
    case ControlKind::Label:
    case ControlKind::Image:
      if (code == STN_CLICKED) control.Click();
      break;
    case ControlKind::Button:
    case ControlKind::PictureButton:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      if (code == BN_CLICKED) control.Click();
      break;
    default:
      break;
  }
  return 0;
}

LRESULT NativeHostImpl::HandleColor(FormWindow& fw, HDC dc, HWND child, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto it = fw.byHwnd.find(child);
  if (it == fw.byHwnd.end() || it->second->control->kind == ControlKind::TextBox)
    return ::DefWindowProcW(fw.hwnd, msg, wParam, lParam);
  const Control& control = *it->second->control;
  ::SetTextColor(dc, ToColor(control.foreColor, COLOR_BTNTEXT));
  ::SetBkColor(dc, ToColor(fw.form->backColor, COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(fw.Ground());
}

LRESULT CALLBACK NativeHostImpl::ControlSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                     DWORD_PTR data) {
  auto* cw = reinterpret_cast<ControlWindow*>(data);
  switch (msg) {
    case WM_CHAR:
      if (cw && cw->control->kind == ControlKind::TextBox) {
        int keyAscii = static_cast<int>(wParam);
        Guarded([&] {
          cw->control->KeyPress(keyAscii);
          return LRESULT{0};
        });
        // The handler may have closed the window; a key code of 0 is discarded.
        if (!::IsWindow(hwnd) || keyAscii == 0) return 0;
        wParam = static_cast<WPARAM>(keyAscii);
      }
      break;
    case WM_MOUSEMOVE:
      if (cw && cw->control->kind != ControlKind::TextBox) {
        const int tppX = cw->form->host->twipsPerPixelX_, tppY = cw->form->host->twipsPerPixelY_;
        Guarded([&] {
          cw->control->MouseMove(MouseButtons(wParam), ShiftState(wParam), MouseX(lParam) * tppX,
                                 MouseY(lParam) * tppY);
          return LRESULT{0};
        });
        if (!::IsWindow(hwnd)) return 0;
      }
      break;
    case WM_ERASEBKGND:
      // A group box paints only its edge and caption; its inside is the form's ground.
      if (cw && cw->control->kind == ControlKind::Frame) return cw->form->Erase(hwnd, wParam);
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(hwnd, &NativeHostImpl::ControlSubclassProc, kSubclassId);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK NativeHostImpl::PictureProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* cw = reinterpret_cast<ControlWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!cw) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_MOUSEMOVE: {
      // Also the tray's callback: the shell sends the mouse message in lParam,
      // which reads as the x position, as the picture box always took it.
      const int tppX = cw->form->host->twipsPerPixelX_, tppY = cw->form->host->twipsPerPixelY_;
      return Guarded([&] {
        cw->control->MouseMove(MouseButtons(wParam), ShiftState(wParam), MouseX(lParam) * tppX,
                               MouseY(lParam) * tppY);
        return LRESULT{0};
      });
    }
    case WM_ERASEBKGND:
      return cw->form->Erase(hwnd, wParam);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(hwnd, &paint);
      if (cw->shownIcon) {
        ICONINFO info{};
        int size = 32;
        if (::GetIconInfo(cw->shownIcon, &info)) {
          BITMAP bitmap{};
          if (::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap))
            size = bitmap.bmWidth;
          if (info.hbmColor) ::DeleteObject(info.hbmColor);
          if (info.hbmMask) ::DeleteObject(info.hbmMask);
        }
        RECT rect;
        ::GetClientRect(hwnd, &rect);
        ::DrawIconEx(dc, std::max<int>(0, (rect.right - size) / 2), std::max<int>(0, (rect.bottom - size) / 2), cw->shownIcon,
                     size, size, 0, nullptr, DI_NORMAL);
      }
      ::EndPaint(hwnd, &paint);
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
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(hwnd, &paint);
      if (cw) {
        // The window is cut to the outline, so filling it draws the outline.
        HBRUSH brush = ::CreateSolidBrush(ToColor(cw->control->borderColor, COLOR_WINDOWTEXT));
        RECT rect;
        ::GetClientRect(hwnd, &rect);
        ::FillRect(dc, &rect, brush);
        ::DeleteObject(brush);
      }
      ::EndPaint(hwnd, &paint);
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace tarnby
