// The native windows over weeks of use: the secondary windows are loaded and
// unloaded again and again (the hours window at every countdown start, the
// program selection at every run-programs action) and the main window's
// pictures and texts change; now and then a window is dragged to a monitor of
// another DPI. Nothing a window or control takes from the system may stay
// behind: GDI objects (fonts, brushes, icon bitmaps, regions), USER objects
// (windows, tooltips, icons) and the global atoms that carry the windows' names.
//
// Wine answers GetGuiResources with 0, so the objects are counted by asking
// after every possible handle value, as the hot key bench does.
#include "win32/win32_api.h"  // first: see there why

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/about/frmabout.h"
#include "core/app.h"
#include "core/resource_ids.h"
#include "win32/native_host_impl.h"
#include "win32/utf16.h"
#include "win32/win32_platform.h"

namespace tarnby {
namespace {

struct Counts {
  DWORD gdi = 0;
  DWORD windows = 0;
  DWORD icons = 0;
  DWORD atoms = 0;
  DWORD reportedUser = 0;  // GetGuiResources where the system answers it
};

// A GDI handle without its generation bits still names its table entry.
DWORD ProbeGdiObjects() {
  DWORD live = 0;
  for (ULONG_PTR value = 0x10; value < 0x10000; ++value)
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0) ++live;
  return live;
}

// USER handles are even values from 0x20; Wine takes one without its
// generation bits, as it does GDI handles.
DWORD ProbeIcons() {
  DWORD live = 0;
  for (ULONG_PTR value = 0x20; value < 0x10000; value += 2) {
    ICONINFO info{};
    if (!::GetIconInfo(reinterpret_cast<HICON>(value), &info)) continue;
    ++live;
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
  }
  return live;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  ::EnumChildWindows(hwnd, &CountChild, count);
  return TRUE;
}

// The windows of this thread: the forms, their controls, the tooltips and
// whatever the system made for them.
DWORD CountWindows() {
  DWORD count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CountTopLevel, reinterpret_cast<LPARAM>(&count));
  return count;
}

// String atoms live from 0xC000 up.
DWORD ProbeGlobalAtoms() {
  DWORD live = 0;
  wchar_t name[256];
  for (UINT value = 0xC000; value <= 0xFFFF; ++value)
    if (::GlobalGetAtomNameW(static_cast<ATOM>(value), name, 256) != 0) ++live;
  return live;
}

Counts Now() {
  Counts counts;
  counts.gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (counts.gdi == 0) counts.gdi = ProbeGdiObjects();
  counts.reportedUser = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  counts.windows = CountWindows();
  counts.icons = ProbeIcons();
  counts.atoms = ProbeGlobalAtoms();
  return counts;
}

std::string Describe(const Counts& c) {
  return "GDI " + std::to_string(c.gdi) + ", windows " + std::to_string(c.windows) + ", icons " +
         std::to_string(c.icons) + ", global atoms " + std::to_string(c.atoms) + ", USER (reported) " +
         std::to_string(c.reportedUser);
}

bool AtomExists(const std::string& name) { return ::GlobalFindAtomW(Wide(name).c_str()) != 0; }

std::set<std::string> NamesOf(const Form& form) {
  std::set<std::string> names{form.name};
  for (const Control* control : form.controls) names.insert(control->name);
  return names;
}

// The real platform, except that no box waits for a user who is not there.
class QuietPlatform : public Win32Platform {
 public:
  using Win32Platform::Win32Platform;
  int MessageBox(const std::string&, const std::string&, std::uint32_t) override { return IDOK; }
};

bool IsIcon(Handle handle) {
  ICONINFO info{};
  if (handle == 0 || !::GetIconInfo(reinterpret_cast<HICON>(handle), &info)) return false;
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return true;
}

class NativeHostLeaks : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnby");
    host = std::make_unique<NativeHostImpl>(::GetModuleHandleW(nullptr));
    platform = std::make_unique<QuietPlatform>(*host);
    app = std::make_unique<App>(*platform);
  }
  void TearDown() override {
    app.reset();
    platform.reset();
    host.reset();
  }

  std::unique_ptr<NativeHostImpl> host;
  std::unique_ptr<QuietPlatform> platform;
  std::unique_ptr<App> app;
};

TEST_F(NativeHostLeaks, FormsComingAndGoingLeaveNothingBehind) {
  const std::set<std::string> mainNames = NamesOf(app->frmstart);
  std::set<std::string> namesBefore, secondaryNames;
  for (const std::string& name : mainNames)
    if (AtomExists(name)) namesBefore.insert(name);
  ASSERT_TRUE(app->Start());
  host->DoEvents();
  Frmstart& f = app->frmstart;
  for (const std::string& name : mainNames)
    EXPECT_TRUE(AtomExists(name)) << name << ": the main window's names are atoms while it is there";

  // A secondary window shown, its texts changed, and unloaded again.
  auto comeAndGo = [&](Form& form, const std::function<void()>& unload, const std::string& text, bool dragged) {
    form.Show();
    form.SetCaption(text);
    for (Control* control : form.controls)
      if (control->kind == ControlKind::Label) control->SetCaption(control->Caption() + text);
    if (dragged) {
      // To a monitor at 150 % and, every other time, back before it goes.
      const HWND window = reinterpret_cast<HWND>(form.hwnd);
      RECT rect;
      ::GetWindowRect(window, &rect);
      const RECT larger{rect.left, rect.top, rect.left + (rect.right - rect.left) * 3 / 2,
                        rect.top + (rect.bottom - rect.top) * 3 / 2};
      ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&larger));
      if (text == "odd") ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&rect));
    }
    host->DoEvents();
    const std::set<std::string> names = NamesOf(form);
    secondaryNames.insert(names.begin(), names.end());
    unload();
  };
  // Every round one secondary window comes and goes, in turn (a window
  // costs Wine some 30 ms to make and show), and the main window's pictures,
  // texts and shapes change under it.
  auto round = [&](int n) {
    const std::string text = n % 2 ? "odd" : "even";
    // Each window in turn, in one round of five out of every twenty-five (a
    // new layout costs Wine as much as a new window).
    const bool dragged = n % 25 < 5;
    switch (n % 5) {
      case 0:
        comeAndGo(app->frmhrs(), [&] { app->frmhrs.Unload(); }, text, dragged);
        break;
      case 1:
        comeAndGo(app->frmprogram(), [&] { app->frmprogram.Unload(); }, text, dragged);
        break;
      case 2:
        comeAndGo(app->frmhot(), [&] { app->frmhot.Unload(); }, text, dragged);
        break;
      case 3:
        comeAndGo(app->frmAbout(), [&] { app->frmAbout.Unload(); }, text, dragged);
        break;
      default:
        comeAndGo(app->frmtime(), [&] { app->frmtime.Unload(); }, text, dragged);
        f.Show();  // the countdown window hides the main one
        break;
    }
    const bool on = n % 2 == 0;
    f.Image1.SetPicture(on ? IDI_ALARM_OFF : IDI_ALARM_ON);
    f.Image2.SetPicture(on ? IDI_ALARM_ON : IDI_ALARM_OFF);
    f.picNotifier.SetPicture(on ? IDI_SHUT : IDI_DOS);
    f.picdos.SetPicture(on ? 0 : IDI_DOS);
    f.Label7.SetCaption(on ? "A longer text than the label had at first" : "Short");
    f.sharestart.SetVisible(on);
    const Twips ring = f.sharestart.Position();
    f.sharestart.Move(ring.left, ring.top, ring.width + (on ? 30 : -30), ring.height);
    f.SetCaption(on ? "Tarnby" : "Tarnby " + text);
    host->DoEvents();
  };

  for (int n = 0; n < 20; ++n) round(n);
  const Counts warm = Now();
  for (int n = 20; n < 320; ++n) round(n);
  const Counts late = Now();
  std::printf("after the warm-up: %s\nafter 300 more:   %s\n", Describe(warm).c_str(), Describe(late).c_str());
  EXPECT_EQ(warm.gdi, late.gdi);
  EXPECT_EQ(warm.windows, late.windows);
  EXPECT_EQ(warm.icons, late.icons);
  EXPECT_EQ(warm.atoms, late.atoms);
  EXPECT_EQ(warm.reportedUser, late.reportedUser);
  // The sums above would hide a leak balanced by a loss elsewhere: a name
  // only a secondary window carries is gone once that window is.
  for (const std::string& name : secondaryNames) {
    if (!mainNames.count(name)) {
      EXPECT_FALSE(AtomExists(name)) << name << " outlives its window";
    }
  }

  // With every window gone, so is every name they carried, however many
  // windows shared it.
  TearDown();
  for (const std::string& name : mainNames) {
    if (!namesBefore.count(name)) {
      EXPECT_FALSE(AtomExists(name)) << name << " outlives the program's windows";
    }
  }
  for (const std::string& name : secondaryNames) EXPECT_FALSE(AtomExists(name)) << name << " outlives its window";
}

// A new picture frees the one it replaces, in every kind of control that
// shows one. (Picture buttons are left out of the counts above: Wine's
// themed button keeps a private copy of every image it is handed and never
// frees the one before. The program hands a picture button its picture only
// when the main window is made.)
TEST_F(NativeHostLeaks, ANewPictureFreesTheOneItReplaces) {
  ASSERT_TRUE(app->Start());
  Frmstart& f = app->frmstart;
  struct Case {
    Control& control;
    int first, second;
  };
  for (const Case& c : {Case{f.cmdwav, IDI_WAV, IDI_CLOCK}, Case{f.Image3, IDI_CLOCK, IDI_ALARM_ON},
                        Case{f.picNotifier, IDI_DOS, IDI_SHUT}}) {
    SCOPED_TRACE(c.control.name);
    c.control.SetPicture(c.first);
    const Handle before = c.control.pictureHandle;
    ASSERT_TRUE(IsIcon(before));
    c.control.SetPicture(c.second);
    EXPECT_TRUE(IsIcon(c.control.pictureHandle));
    EXPECT_NE(c.control.pictureHandle, before);
    EXPECT_FALSE(IsIcon(before)) << "the replaced picture is still alive";
    const Handle last = c.control.pictureHandle;
    c.control.SetPicture(0);
    EXPECT_EQ(c.control.pictureHandle, Handle{0});
    EXPECT_FALSE(IsIcon(last)) << "a cleared picture is still alive";
  }
  // Unloading a window frees its pictures too.
  FrmAbout& about = app->frmAbout();
  const Handle aboutIcon = about.picIcon.pictureHandle;
  ASSERT_TRUE(IsIcon(aboutIcon));
  app->frmAbout.Unload();
  EXPECT_FALSE(IsIcon(aboutIcon));
}

}  // namespace
}  // namespace tarnby
