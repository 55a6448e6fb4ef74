// The native windows behind the forms, for real under Wine: names another
// process can find, twips to pixels, events into the model and the model's
// changes back out.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/forms/forms.h"
#include "core/resource_ids.h"
#include "win32/native_host_impl.h"
#include "win32/utf16.h"
#include "win32/win32_platform.h"

namespace tarnby {
namespace {

class TestForm : public Form {
 public:
  explicit TestForm(Platform& platform, BorderStyle border = BorderStyle::FixedDialog, std::string caption = "Test",
                    bool box = true)
      : Form(platform, "frmtest"),
        Frame1(*this, "Frame1", ControlKind::Frame, {600, 900, 3000, 2000}, "Frame"),
        Label1(*this, "Label1", ControlKind::Label, {120, 120, 1500, 240}, "Hello"),
        Text1(*this, "Text1", ControlKind::TextBox, {120, 450, 1500, 300}),
        Check1(*this, "Check1", ControlKind::CheckBox, {120, 300, 1500, 240}, "&Tick", &Frame1),
        Option1(*this, "Option1", ControlKind::OptionButton, {120, 600, 1500, 240}, "One", &Frame1),
        Option2(*this, "Option2", ControlKind::OptionButton, {120, 900, 1500, 240}, "Two", &Frame1),
        Ring(*this, "Ring", ControlKind::Shape, {1800, 300, 900, 900}, {}, &Frame1),
        Ok(*this, "cmdOk", ControlKind::Button, {3720, 3000, 900, 360}, "Ok"),
        Cancel(*this, "cmdCancel", ControlKind::Button, {2700, 3000, 900, 360}, "Cancel"),
        Picture(*this, "picscreen", ControlKind::PictureBox, {3720, 120, 480, 480}),
        Alarm(*this, "Image1", ControlKind::Image, {3720, 1200, 384, 384}),
        Tick(*this, "Timer1", 20, false) {
    SetDesign(std::move(caption), {1500, 1200, 4800, 3600});
    borderStyle = border;
    controlBox = box;
    Ok.isDefault = true;
    Cancel.isCancel = true;
    Ring.ellipse = true;
    Ring.borderColor = Rgb(255, 0, 0);
    Picture.SetPicture(IDI_SCREEN);
    Alarm.SetPicture(IDI_ALARM_ON);
    Text1.maxLength = 4;
  }
  Control Frame1, Label1, Text1, Check1, Option1, Option2, Ring, Ok, Cancel, Picture, Alarm;
  Timer Tick;
};

HWND Hwnd(Handle handle) { return reinterpret_cast<HWND>(handle); }

std::wstring PropertyName(HWND hwnd) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(::GetPropW(hwnd, kNameProperty)));
  wchar_t name[256] = {};
  return std::wstring(name, atom ? ::GlobalGetAtomNameW(atom, name, 256) : 0);
}

RECT ClientRectOf(HWND child) {
  RECT rect;
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class NativeHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tppX = host.TwipsPerPixelX();
    tppY = host.TwipsPerPixelY();
  }
  void Pump() {
    for (int i = 0; i < 5; ++i) {
      host.DoEvents();
      ::Sleep(5);
    }
  }
  int Px(int twips) const { return (twips + tppX / 2) / tppX; }
  int Py(int twips) const { return (twips + tppY / 2) / tppY; }

  NativeHostImpl host{::GetModuleHandleW(nullptr)};
  Win32Platform platform{host};
  int tppX = 15, tppY = 15;
};

TEST_F(NativeHostTest, EveryWindowCarriesItsNameUntilTheFormUnloads) {
  TestForm form(platform);
  form.Load();
  ASSERT_NE(form.hwnd, 0u);
  EXPECT_EQ(PropertyName(Hwnd(form.hwnd)), L"frmtest");
  for (Control* control : form.controls) {
    ASSERT_NE(control->hwnd, 0u) << control->name;
    EXPECT_EQ(::GetParent(Hwnd(control->hwnd)), Hwnd(form.hwnd)) << control->name;
    EXPECT_EQ(PropertyName(Hwnd(control->hwnd)), Wide(control->name)) << control->name;
  }
  const HWND window = Hwnd(form.hwnd);
  form.Unload();
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(form.hwnd, 0u);
  // The names' atoms went with the windows.
  EXPECT_EQ(::GlobalFindAtomW(L"Option2"), 0);
}

TEST_F(NativeHostTest, PlacesInTwipsAndReportsTheOuterWindowBack) {
  TestForm form(platform);
  form.Load();
  const HWND window = Hwnd(form.hwnd);
  RECT client;
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, Px(4800));
  EXPECT_EQ(client.bottom, Py(3600));
  RECT outer;
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, Px(1500));
  EXPECT_EQ(outer.top, Py(1200));
  EXPECT_EQ(form.Position().width, (outer.right - outer.left) * tppX) << "the model learns the outer size";
  EXPECT_EQ(form.Position().height, (outer.bottom - outer.top) * tppY);

  // A frame's controls sit relative to the frame.
  const RECT check = ClientRectOf(Hwnd(form.Check1.hwnd));
  EXPECT_EQ(check.left, Px(600 + 120));
  EXPECT_EQ(check.top, Py(900 + 300));
  EXPECT_EQ(check.right - check.left, Px(1500));

  form.Move(3000, 2400, form.Position().width, form.Position().height);
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, Px(3000));
  EXPECT_EQ(outer.top, Py(2400));
  form.Label1.Move(240, 240, 1200, 300);
  const RECT label = ClientRectOf(Hwnd(form.Label1.hwnd));
  EXPECT_EQ(label.left, Px(240));
  EXPECT_EQ(label.bottom - label.top, Py(300));
}

int IconWidth(HICON icon) {
  ICONINFO info{};
  if (!icon || !::GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

// What a DPI change must redo, in pixels: the window, every control, the
// ring's outline, the font, the pictures and the title bar's icon.
std::vector<LONG> Layout(const TestForm& form) {
  std::vector<LONG> layout;
  RECT rect;
  ::GetWindowRect(Hwnd(form.hwnd), &rect);
  layout.insert(layout.end(), {rect.left, rect.top, rect.right, rect.bottom});
  for (const Control* control : form.controls) {
    rect = ClientRectOf(Hwnd(control->hwnd));
    layout.insert(layout.end(), {rect.left, rect.top, rect.right, rect.bottom});
  }
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ::GetWindowRgn(Hwnd(form.Ring.hwnd), region);
  ::GetRgnBox(region, &rect);
  ::DeleteObject(region);
  layout.insert(layout.end(), {rect.right, rect.bottom});
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Hwnd(form.Check1.hwnd), WM_GETFONT, 0, 0)), sizeof font, &font);
  layout.push_back(font.lfHeight);
  layout.push_back(IconWidth(reinterpret_cast<HICON>(form.Alarm.pictureHandle)));
  layout.push_back(IconWidth(reinterpret_cast<HICON>(::SendMessageW(Hwnd(form.hwnd), WM_GETICON, ICON_SMALL, 0))));
  return layout;
}

// Dragged to a monitor of another scale, a window hears WM_DPICHANGED with
// the new DPI and the rectangle the system suggests for it there.
TEST_F(NativeHostTest, AWindowMovedToAMonitorOfAnotherDpiIsLaidOutAgainThere) {
  TestForm form(platform);
  form.Show();
  ASSERT_EQ(tppX, 15) << "the test prefix runs at 96 dpi";
  const HWND window = Hwnd(form.hwnd);
  const std::vector<LONG> at96 = Layout(form);
  const HFONT font96 = reinterpret_cast<HFONT>(::SendMessageW(Hwnd(form.Label1.hwnd), WM_GETFONT, 0, 0));
  const Handle tray96 = form.Picture.pictureHandle;
  RECT outer;
  ::GetWindowRect(window, &outer);
  const auto change = [&](int dpi, const RECT* suggested) {
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(suggested));
  };

  // Scales no monitor has change nothing; a rectangle that cannot be read here
  // (another program's) or has no size leaves the window where it is.
  change(0, nullptr);
  change(30000, &outer);
  const RECT empty{10, 10, 10, 10};
  change(96, &empty);
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(96, 96), 0x10);
  EXPECT_EQ(Layout(form), at96);

  // The system suggests the old rectangle scaled; the window takes its
  // top-left, and a client area that holds the whole layout at whole twips
  // per pixel (7 at 192 dpi, not 7.5): nothing clipped at 175 % or 225 %.
  RECT suggested{}, now{};
  for (const int dpi : {168, 192, 216, 144}) {
    suggested = {200, 150, 200 + ::MulDiv(outer.right - outer.left, dpi, 96),
                 150 + ::MulDiv(outer.bottom - outer.top, dpi, 96)};
    change(dpi, &suggested);
    ::GetWindowRect(window, &now);
    EXPECT_EQ(std::make_pair(now.left, now.top), std::make_pair(suggested.left, suggested.top)) << dpi;
    RECT client;
    ::GetClientRect(window, &client);
    const int twipsPerPixel = 1440 / dpi;
    EXPECT_GE(client.right * twipsPerPixel, form.ClientWidth() - twipsPerPixel / 2) << dpi;
    EXPECT_GE(client.bottom * twipsPerPixel, form.ClientHeight() - twipsPerPixel / 2) << dpi;
    EXPECT_LT(client.right * twipsPerPixel, form.ClientWidth() + twipsPerPixel) << dpi << ": not larger either";
    for (const Control* control : form.controls) {
      const RECT rect = ClientRectOf(Hwnd(control->hwnd));
      const bool inside = control->container != nullptr || (rect.right <= client.right && rect.bottom <= client.bottom);
      EXPECT_TRUE(inside) << dpi << " " << control->name << " clipped";
    }
  }
  const auto at = [](int twips) { return (twips + 5) / 10; };  // 10 twips per pixel at 144 dpi
  for (const Control* control : form.controls) {
    const Twips& p = control->Position();
    const int left = p.left + (control->container ? control->container->Position().left : 0);
    const int top = p.top + (control->container ? control->container->Position().top : 0);
    const RECT rect = ClientRectOf(Hwnd(control->hwnd));
    EXPECT_EQ(rect.left, at(left)) << control->name;
    EXPECT_EQ(rect.top, at(top)) << control->name;
    EXPECT_EQ(rect.right - rect.left, at(p.width)) << control->name;
    EXPECT_EQ(rect.bottom - rect.top, at(p.height)) << control->name;
  }
  std::vector<LONG> at144 = Layout(form);
  EXPECT_EQ(at144.rbegin()[2], -16) << "an 8 point font at 144 dpi";
  EXPECT_EQ(at144.rbegin()[1], 32) << "the alarm picture in its 38 pixels";
  EXPECT_EQ(at144.rbegin()[0], 24) << "the title bar's icon";
  EXPECT_EQ(form.Position().width, (now.right - now.left) * 10) << "the model learns the size in twips";
  EXPECT_EQ(form.Picture.pictureHandle, tray96) << "the tray is not on the window's monitor";

  // From now on the window's own factors: the model's changes, the mouse, the text.
  form.Label1.Move(240, 240, 1200, 300);
  EXPECT_EQ(ClientRectOf(Hwnd(form.Label1.hwnd)).left, 24);
  EXPECT_EQ(ClientRectOf(Hwnd(form.Label1.hwnd)).bottom, 54);
  const LONG width144 = now.right - now.left;
  form.Move(3000, 2400, form.Position().width, form.Position().height);
  ::GetWindowRect(window, &now);
  EXPECT_EQ(now.left, 300);
  EXPECT_EQ(now.right - now.left, width144);
  const PixelScale scale = platform.ScaleOf(form.Picture.hwnd);
  EXPECT_EQ(scale.twipsPerPixelX, 10);
  EXPECT_EQ(platform.ScaleOf(0).twipsPerPixelX, 15) << "other windows keep the screen's";
  int x = 0;
  form.Picture.onMouseMove = [&](int, int, int mouseX, int) { x = mouseX; };
  ::SendMessageW(Hwnd(form.Picture.hwnd), WM_MOUSEMOVE, 0, WM_RBUTTONUP);
  EXPECT_EQ(x, WM_RBUTTONUP * 10);

  // And back: the layout it had.
  form.Label1.Move(120, 120, 1500, 240);
  change(96, &outer);
  EXPECT_EQ(Layout(form), at96);
  EXPECT_EQ(::SendMessageW(Hwnd(form.Label1.hwnd), WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font96))
      << "the screen's fonts are kept, not made again";
}

TEST_F(NativeHostTest, TitleBarOnlyWithACaptionOrAControlBoxTheBorderStays) {
  struct Case {
    BorderStyle border;
    const char* caption;
    bool controlBox;
    bool titleBar;
    bool thickFrame;
  };
  for (const Case& c : {Case{BorderStyle::Sizable, "", false, false, true},
                        Case{BorderStyle::Sizable, "Caption", false, true, true},
                        Case{BorderStyle::FixedDialog, "", true, true, false},
                        Case{BorderStyle::FixedDialog, "", false, false, false},
                        Case{BorderStyle::None, "Caption", true, false, false}}) {
    TestForm form(platform, c.border, c.caption, c.controlBox);
    form.Load();
    const LONG_PTR style = ::GetWindowLongPtrW(Hwnd(form.hwnd), GWL_STYLE);
    EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, c.titleBar) << c.caption << c.controlBox;
    EXPECT_EQ((style & WS_THICKFRAME) != 0, c.thickFrame) << c.caption << c.controlBox;
    // Kept out of the taskbar: owned by the hidden window, or a tool window.
    EXPECT_TRUE(::GetWindow(Hwnd(form.hwnd), GW_OWNER) != nullptr ||
                (::GetWindowLongPtrW(Hwnd(form.hwnd), GWL_EXSTYLE) & WS_EX_TOOLWINDOW));
  }
}

TEST_F(NativeHostTest, ClicksReachTheModelWhichOwnsTheTicks) {
  TestForm form(platform);
  int clicks = 0;
  form.Check1.onClick = [&] { ++clicks; };
  form.Show();
  const HWND check = Hwnd(form.Check1.hwnd);
  ::SendMessageW(check, BM_CLICK, 0, 0);
  EXPECT_TRUE(form.Check1.Value());
  EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  ::SendMessageW(check, BM_CLICK, 0, 0);
  EXPECT_FALSE(form.Check1.Value());
  EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks, 2);

  ::SendMessageW(Hwnd(form.Option1.hwnd), BM_CLICK, 0, 0);
  ::SendMessageW(Hwnd(form.Option2.hwnd), BM_CLICK, 0, 0);
  EXPECT_FALSE(form.Option1.Value());
  EXPECT_TRUE(form.Option2.Value());
  EXPECT_EQ(::SendMessageW(Hwnd(form.Option1.hwnd), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(::SendMessageW(Hwnd(form.Option2.hwnd), BM_GETCHECK, 0, 0), BST_CHECKED);

  // The model's changes show: caption, enabled, visible.
  form.Check1.SetCaption("&Changed");
  form.Check1.SetEnabled(false);
  wchar_t text[64] = {};
  ::GetWindowTextW(check, text, 64);
  EXPECT_STREQ(text, L"&Changed");
  EXPECT_FALSE(::IsWindowEnabled(check));
  ::SendMessageW(check, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2) << "a disabled box takes no click";
  // Hiding the frame hides what it holds.
  form.Frame1.SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(Hwnd(form.Option1.hwnd)));
  form.Frame1.SetVisible(true);
  EXPECT_TRUE(::IsWindowVisible(Hwnd(form.Option1.hwnd)));
}

TEST_F(NativeHostTest, TypedKeysPassThroughKeyPressAndTextComesBack) {
  TestForm form(platform);
  std::vector<std::string> changes;
  form.Text1.onKeyPress = [](int& key) {
    if (key == 'x') key = 0;       // discarded
    if (key == 'a') key = 'A';     // replaced
  };
  form.Text1.onChange = [&] { changes.push_back(form.Text1.Text()); };
  form.Show();
  const HWND edit = Hwnd(form.Text1.hwnd);
  for (wchar_t ch : std::wstring(L"1x2a345")) ::PostMessageW(edit, WM_CHAR, ch, 1);
  Pump();
  EXPECT_EQ(form.Text1.Text(), "12A3") << "x discarded, a replaced, cut at the length limit";
  EXPECT_EQ(changes, (std::vector<std::string>{"1", "12", "12A", "12A3"}));

  form.Text1.SetText("9");
  wchar_t text[16] = {};
  ::GetWindowTextW(edit, text, 16);
  EXPECT_STREQ(text, L"9");
  form.Text1.locked = true;
  form.Text1.SetText("8");
  EXPECT_NE(::GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY, 0);
}

TEST_F(NativeHostTest, EnterPressesTheDefaultButtonEscTheCancelButton) {
  TestForm form(platform);
  std::string pressed;
  form.Ok.onClick = [&] { pressed += "ok "; };
  form.Cancel.onClick = [&] { pressed += "cancel "; };
  form.Show();
  const HWND edit = Hwnd(form.Text1.hwnd);
  ::SetFocus(edit);
  ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
  Pump();
  ::PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  Pump();
  EXPECT_EQ(pressed, "ok cancel ");
}

TEST_F(NativeHostTest, TrayCallbackReachesThePictureBoxAsItsXPosition) {
  TestForm form(platform);
  std::vector<int> xs;
  form.Picture.onMouseMove = [&](int, int, int x, int y) {
    xs.push_back(x);
    EXPECT_EQ(y, 0);
  };
  form.Picture.SetVisible(false);
  form.Load();  // hidden form, hidden box: the callback still arrives
  const HWND box = Hwnd(form.Picture.hwnd);
  ::PostMessageW(box, WM_MOUSEMOVE, 1, WM_RBUTTONUP);
  ::PostMessageW(box, WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK);
  Pump();
  EXPECT_EQ(xs, (std::vector<int>{WM_RBUTTONUP * tppX, WM_LBUTTONDBLCLK * tppX}));

  // The tray takes the small icon of the box's picture.
  ASSERT_NE(form.Picture.pictureHandle, 0u);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(form.Picture.pictureHandle), &info));
  BITMAP bitmap{};
  ::GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, ::GetSystemMetrics(SM_CXSMICON));
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
}

TEST_F(NativeHostTest, ShapeIsOnlyItsOutline) {
  TestForm form(platform);
  form.Show();
  const HWND ring = Hwnd(form.Ring.hwnd);
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(ring, region), ERROR);
  RECT rect;
  ::GetClientRect(ring, &rect);
  EXPECT_FALSE(::PtInRegion(region, rect.right / 2, rect.bottom / 2)) << "the middle shows what lies beneath";
  EXPECT_TRUE(::PtInRegion(region, rect.right / 2, 0)) << "the top of the ring";
  ::DeleteObject(region);
  EXPECT_EQ(::SendMessageW(ring, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

TEST_F(NativeHostTest, EnabledTimersTickAndStop) {
  TestForm form(platform);
  int ticks = 0;
  form.Tick.onTimer = [&] { ++ticks; };
  form.Load();
  form.Tick.SetEnabled(true);
  const DWORD until = ::GetTickCount() + 2000;
  while (ticks < 3 && ::GetTickCount() < until) Pump();
  EXPECT_GE(ticks, 3);
  form.Tick.SetEnabled(false);
  const int stopped = ticks;
  for (int i = 0; i < 10; ++i) Pump();
  EXPECT_EQ(ticks, stopped);
}

TEST_F(NativeHostTest, PopupMenuReturnsTheModelIndexOfTheChosenItem) {
  TestForm form(platform);
  form.Show();
  MenuItem hidden("mnuhidden", "&Hidden"), line("mnuline", "-"), grey("mnugrey", "&Grey"), pick("mnupick", "&Pick");
  hidden.visible = false;
  grey.enabled = false;
  pick.checked = true;
  Menu menu("mnupop", "Menu");
  menu.items = {&hidden, &line, &grey, &pick};

  // The menu's loop reads the keys waiting in the queue.
  ::PostMessageW(Hwnd(form.hwnd), WM_CHAR, 'p', 0);
  EXPECT_EQ(host.TrackPopupMenu(menu, form.hwnd), 3);
  ::PostMessageW(Hwnd(form.hwnd), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(host.TrackPopupMenu(menu, form.hwnd), -1);
}

// Timers tick while a menu is down; what a tick enables or disables shows at once.
TEST_F(NativeHostTest, AMenuThatIsDownShowsWhatATickEnabledOrDisabled) {
  TestForm form(platform);
  form.Show();
  MenuItem line("mnuline", "-"), grey("mnugrey", "&Grey"), live("mnulive", "&Live");
  grey.enabled = false;
  Menu menu("mnupop", "Menu");
  menu.items = {&line, &grey, &live};
  // The grey marks of the two items as the menu window has them, before each tick's change.
  std::vector<std::pair<UINT, UINT>> shown;
  form.Tick.onTimer = [&] {
    const HWND window = ::FindWindowW(L"#32768", nullptr);
    const HMENU popup = window ? reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0)) : nullptr;
    if (popup)
      shown.emplace_back(::GetMenuState(popup, 2, MF_BYCOMMAND) & MF_GRAYED,
                         ::GetMenuState(popup, 3, MF_BYCOMMAND) & MF_GRAYED);
    grey.enabled = shown.size() % 2 == 1;
    live.enabled = !grey.enabled;
    if (shown.size() == 3 || !popup) ::EndMenu();
  };
  form.Tick.SetEnabled(true);
  EXPECT_EQ(host.TrackPopupMenu(menu, form.hwnd), -1);
  form.Tick.SetEnabled(false);
  const std::vector<std::pair<UINT, UINT>> expected = {
      {MF_GRAYED, 0u}, {0u, MF_GRAYED}, {MF_GRAYED, 0u}};
  EXPECT_EQ(shown, expected);
}

TEST_F(NativeHostTest, MeasuresLabelTextInTwips) {
  TestForm form(platform);
  form.Label1.SetCaption("");
  const TextSize empty = host.MeasureText(form.Label1);
  form.Label1.SetCaption("12 : 07");
  const TextSize shortText = host.MeasureText(form.Label1);
  form.Label1.SetCaption("12 : 07 and a good deal more");
  const TextSize longText = host.MeasureText(form.Label1);
  EXPECT_EQ(empty.width, 0);
  EXPECT_GT(empty.height, 0) << "an empty label is one line high";
  EXPECT_GT(shortText.width, 0);
  EXPECT_GT(longText.width, shortText.width);
  EXPECT_EQ(longText.height, shortText.height);
  form.Label1.font.points = 16;
  EXPECT_GT(host.MeasureText(form.Label1).height, shortText.height);
}

TEST_F(NativeHostTest, LabelsAndImagesAreClickableAndReportTheMouse) {
  TestForm form(platform);
  int clicks = 0;
  std::vector<int> buttons;
  form.Label1.onClick = [&] { ++clicks; };
  form.Label1.onMouseMove = [&](int button, int, int x, int y) {
    buttons.push_back(button);
    EXPECT_EQ(x, 4 * tppX);
    EXPECT_EQ(y, 3 * tppY);
  };
  form.Show();
  const HWND label = Hwnd(form.Label1.hwnd);
  ::SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 3));
  ::SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(4, 3));
  EXPECT_EQ(clicks, 1);
  form.Alarm.onClick = [&] { clicks += 10; };
  ::SendMessageW(Hwnd(form.Alarm.hwnd), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 3));
  ::SendMessageW(Hwnd(form.Alarm.hwnd), WM_LBUTTONUP, 0, MAKELPARAM(4, 3));
  EXPECT_EQ(clicks, 11);
  EXPECT_NE(form.Alarm.pictureHandle, 0u);
  ::SendMessageW(label, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, 3));
  ::SendMessageW(label, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(4, 3));
  ::SendMessageW(label, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(4, 3));
  EXPECT_EQ(buttons, (std::vector<int>{kLeftButton, kRightButton, kLeftButton | kRightButton}));
}

TEST_F(NativeHostTest, ARestartedShellIsToldToEveryFormThatAsks) {
  TestForm first(platform), second(platform);
  int told = 0;
  first.onShellRestarted = [&] { ++told; };
  first.Load();
  second.Load();
  ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  const DWORD until = ::GetTickCount() + 2000;
  while (told == 0 && ::GetTickCount() < until) Pump();
  Pump();
  EXPECT_EQ(told, 1) << "once, though two forms are loaded";
}

TEST_F(NativeHostTest, CloseAsksTheModel) {
  TestForm form(platform);
  bool keep = true;
  form.onQueryUnload = [&] { return keep; };
  form.Show();
  ::SendMessageW(Hwnd(form.hwnd), WM_CLOSE, 0, 0);
  EXPECT_TRUE(form.Loaded());
  keep = false;
  ::SendMessageW(Hwnd(form.hwnd), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.Loaded());
}

}  // namespace
}  // namespace tarnby
