// Forms as plain objects: a window owns its controls, timers and menu; a
// control holds the properties the program reads and writes. Setting a
// property that the user can see tells the platform, which keeps the real
// window in step. Events are plain std::function members that the owning
// subsystem fills in.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/platform.h"

namespace tarnby {

enum class ControlKind { Label, TextBox, Button, PictureButton, CheckBox, OptionButton, PictureBox, Image, Shape, Frame };
enum class BorderStyle { None, FixedSingle, Sizable, FixedDialog, FixedToolWindow };

struct Twips {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct Font {
  std::string name = "MS Sans Serif";
  int points = 8;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

constexpr std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}
inline constexpr std::uint32_t kDefaultColor = 0xFFFFFFFFu;

// Mouse button and key states as the events report them.
inline constexpr int kLeftButton = 1, kRightButton = 2;
inline constexpr int kKeyBackspace = 8;

class Form;

class Control {
 public:
  Control(Form& form, std::string name, ControlKind kind, Twips position, std::string caption = {},
          Control* container = nullptr);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form& form;
  const std::string name;
  const ControlKind kind;
  Control* const container;  // the frame it sits in, or null for the window itself
  Handle hwnd = 0;           // the real control, filled in by the native layer

  // Caption for labels, buttons, frames and boxes; the text of a text box.
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  const std::string& Text() const { return caption_; }
  void SetText(std::string text);  // raises Change when the text changes

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Check boxes and option buttons. Setting a new value raises Click, and an
  // option button set to true clears the other options of its container.
  bool Value() const { return value_; }
  void SetValue(bool value);

  const Twips& Position() const { return position_; }
  void Move(int left, int top, int width, int height);

  // Picture shown by picture boxes, images and picture buttons (a resource id),
  // and the handle the native layer loaded for it.
  int Picture() const { return picture_; }
  void SetPicture(int resourceId);
  Handle pictureHandle = 0;

  // Design-time properties: set while the form is built, read by the native layer.
  std::string toolTip;
  Font font;
  std::uint32_t foreColor = kDefaultColor;
  std::uint32_t borderColor = kDefaultColor;  // shapes
  int maxLength = 0;                          // text boxes; 0 = no limit
  bool locked = false;                        // read-only text box
  bool autoSize = false;                      // labels
  bool isDefault = false;                     // Enter presses it
  bool isCancel = false;                      // Esc presses it
  bool ellipse = false;                       // shapes: a ring rather than a box
  int tabIndex = -1;

  std::function<void()> onClick;
  std::function<void()> onChange;
  std::function<void(int& keyAscii)> onKeyPress;
  std::function<void(int button, int shift, int x, int y)> onMouseMove;

  // The user typed into the real text box: take the text without echoing it
  // back, and raise Change.
  void NativeTextChanged(std::string text);

  // Raise the events as the user would.
  void Click();
  void KeyPress(int& keyAscii);
  void MouseMove(int button, int shift, int x, int y);

 private:
  void Changed();

  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  bool value_ = false;
  Twips position_;
  int picture_ = 0;
};

class Timer {
 public:
  Timer(Form& form, std::string name, std::uint32_t interval, bool enabled);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  Form& form;
  const std::string name;
  Handle id = 0;  // the native timer, filled in by the native layer

  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t interval);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  std::function<void()> onTimer;
  void Tick();

 private:
  std::uint32_t interval_;
  bool enabled_;
};

struct MenuItem {
  MenuItem(std::string name, std::string caption) : name(std::move(name)), caption(std::move(caption)) {}
  const std::string name;
  std::string caption;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  std::function<void()> onClick;
  bool IsSeparator() const { return caption == "-"; }
  void Click() {
    if (onClick) onClick();
  }
};

// A top-level menu; Tarnby's only one is invisible and is popped up from the tray.
class Menu {
 public:
  Menu(std::string name, std::string caption) : name(std::move(name)), caption(std::move(caption)) {}
  const std::string name;
  std::string caption;
  bool visible = true;
  std::vector<MenuItem*> items;
  std::function<void()> onClick;  // raised before the menu drops down
  // True while the menu is down and the user sees its items.
  bool open = false;
};

class Form {
 public:
  Form(Platform& platform, std::string name);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Platform& platform;
  const std::string name;
  Handle hwnd = 0;  // the real window, filled in by the native layer

  // Design-time properties.
  BorderStyle borderStyle = BorderStyle::Sizable;
  bool controlBox = true;
  bool minButton = false;
  bool maxButton = false;
  bool showInTaskbar = false;
  int iconResource = 0;
  std::uint32_t backColor = kDefaultColor;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  // The window's place and outer size on the screen, in twips. Until the
  // native layer has made the window, the size is the design client size.
  const Twips& Position() const { return position_; }
  // The client size the form was designed with.
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  // The native layer reports where the real window is, without echoing back.
  void NativeMoved(const Twips& position) { position_ = position; }
  void Move(int left, int top, int width, int height);
  void SetLeft(int left) { Move(left, position_.top, position_.width, position_.height); }

  bool Loaded() const { return loaded_; }
  bool Visible() const { return visible_; }
  // Show and Hide load the form first when it is not loaded.
  void Load();
  void Show();
  // Show, and bring the window in front of the program the user works in,
  // restored if it was minimised: a window asked for again comes forward.
  void ShowInFront();
  // Show above every other window without taking the focus from the window
  // the user works in.
  void ShowOnTopWithoutFocus();
  void Hide();
  void Unload();

  std::vector<Control*> controls;
  std::vector<Timer*> timers;
  Menu* menu = nullptr;

  std::function<void()> onLoad;
  std::function<void()> onUnload;  // the title bar's close, too
  std::function<void(int button, int shift, int x, int y)> onMouseMove;
  std::function<void()> onShellRestarted;  // the taskbar was created anew
  // Windows asks the program to end so that its files can be replaced
  // (Restart Manager, during an install); it may start it again afterwards.
  std::function<void()> onCloseApp;
  // WM_COPYDATA from another process: its kind (dwData), its text and the
  // window its sender named (wParam) for what goes back.
  std::function<std::intptr_t(std::uintptr_t kind, const std::string& data, Handle sender)> onCopyData;
  // A wait registered for this window (Platform::RegisterWaitForSingleObject) was signalled.
  std::function<void(std::uintptr_t cookie)> onObjectSignalled;
  // WM_POWERBROADCAST: the machine is about to sleep (w::kPbtApmSuspend) or
  // has woken (w::kPbtApmResumeAutomatic).
  std::function<void(std::uintptr_t event)> onPowerBroadcast;
  // The title bar's close or Alt+F4: true keeps the window loaded.
  std::function<bool()> onQueryUnload;
  void RequestClose();
  void MouseMove(int button, int shift, int x, int y);

  Control* Find(const std::string& controlName);

 protected:
  // Builders for the form's constructor.
  void SetDesign(std::string caption, Twips position);

 private:
  friend class Control;
  friend class Timer;
  std::string caption_;
  Twips position_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  bool loaded_ = false;
  bool visible_ = false;
};

}  // namespace tarnby
