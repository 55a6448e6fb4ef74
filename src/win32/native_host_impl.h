// The real windows behind the core's forms. One top-level window per form, one
// child window per control, one window timer per enabled model timer. It keeps
// them in step with the model and turns window messages into the model's
// events; every decision stays in the core.
//
// Every window and control carries the window property "TarnbyName": a global
// atom holding its form or control name, so another process can find it.
#pragma once

#include "win32/win32_api.h"  // first: see there why

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "common/owned.h"
#include "core/forms/forms.h"
#include "win32/native_host.h"

namespace tarnby {

// The property every Tarnby window carries: a global atom with its name.
inline constexpr wchar_t kNameProperty[] = L"TarnbyName";

class NativeHostImpl final : public NativeHost {
 public:
  explicit NativeHostImpl(HINSTANCE instance);
  ~NativeHostImpl() override;
  NativeHostImpl(const NativeHostImpl&) = delete;
  NativeHostImpl& operator=(const NativeHostImpl&) = delete;

  void CreateFormWindow(Form& form) override;
  void DestroyFormWindow(Form& form) override;
  void FormChanged(Form& form) override;
  void ControlChanged(Control& control) override;
  void TimerChanged(Timer& timer) override;
  int TrackPopupMenu(Menu& menu, Handle owner) override;
  void ClearPicture(Control& picture) override;
  TextSize MeasureText(const Control& label) override;
  PixelScale ScaleOf(Handle window) override;
  void DoEvents() override;

  // The keyboard interface of a form (Tab, Enter for its default button, Esc
  // for its cancel button, mnemonics). True when the message was used up.
  bool PreTranslate(MSG& message);
  // Turns the message loop until WM_QUIT and returns its exit code.
  int RunMessageLoop();

  // The screen's factors, which every form starts with.
  int TwipsPerPixelX() const { return screen_.x; }
  int TwipsPerPixelY() const { return screen_.y; }

 private:
  struct FormWindow;
  struct ControlWindow;
  // The font's face, points, bold, italic, underline and the DPI it is made for.
  using FontKey = std::tuple<std::string, int, bool, bool, bool, int>;
  // Dots per inch and the whole twips per pixel that go with them.
  struct Scale {
    int dpi = 96;
    int x = 15;
    int y = 15;
  };
  static Scale ScaleForDpi(int dpiX, int dpiY);

  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ShapeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR data);

  LRESULT HandleFormMessage(FormWindow& fw, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleCommand(FormWindow& fw, WPARAM wParam, LPARAM lParam);
  LRESULT HandleColor(FormWindow& fw, HDC dc, HWND child, UINT msg, WPARAM wParam, LPARAM lParam);
  void RegisterClasses();
  void Dispatch(MSG& message);

  void CreateControl(FormWindow& fw, Control& control, int id);
  void ApplyControl(ControlWindow& cw);
  void ApplyFramed(FormWindow& fw, Control& frame);
  void LoadPicture(ControlWindow& cw);
  void ShapeRegion(ControlWindow& cw);
  bool SingleLineLabel(const Control& label);
  DWORD KindStyle(const Control& control);
  RECT FittedRect(const Control& control);
  SIZE TextExtent(const Font& font, int dpi, const std::wstring& text);
  void ReportPosition(FormWindow& fw);
  RECT OuterRect(const Form& form, DWORD style, DWORD exStyle, const Scale& scale) const;
  void LoadFormIcons(FormWindow& fw);
  // Lays a form out again at a new DPI, at the suggested rectangle's top-left.
  void DpiChanged(FormWindow& fw, int dpi, const RECT* suggested);
  void DropUnusedFonts();
  void RefreshOpenMenu();
  RECT ControlRect(const Control& control) const;
  bool EffectiveVisible(const Control& control) const;
  bool EffectiveEnabled(const Control& control) const;
  HFONT FontFor(const Font& font, int dpi);
  OwnedIcon LoadIconAt(int resourceId, int size) const;
  int Metric(int index, int dpi) const;
  const Scale& ScaleOfForm(const Form& form) const;
  void Name(HWND hwnd, const std::string& name);
  void Unname(HWND hwnd);

  FormWindow* Find(const Form& form) const;
  ControlWindow* Find(const Control& control) const;
  FormWindow* FormOf(HWND hwnd) const;

  int Pixels(int twips, int twipsPerPixel) const;

  HINSTANCE instance_;
  OwnedWindow owner_;  // hidden owner: keeps the forms out of the taskbar
  UINT taskbarCreated_ = 0;
  Scale screen_;  // the system's DPI, as the screen reports it at start-up
  UINT_PTR nextTimerId_ = 1;

  std::map<const Form*, std::unique_ptr<FormWindow>> forms_;
  std::map<UINT_PTR, Timer*> timers_;
  std::map<FontKey, OwnedFont> fonts_;
  // The popup menu that is down now and the model it was built from.
  HMENU openPopup_ = nullptr;
  Menu* openMenu_ = nullptr;
};

}  // namespace tarnby
