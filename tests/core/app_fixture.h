// A started Tarnby on FakeWindows, for tests that drive the whole program.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "core/app.h"
#include "core/fake_windows.h"
#include "core/system/size_limit.h"

namespace tarnby {

class AppTest : public ::testing::Test {
 protected:
  // Tests set up the world (registry, version, files) first, then start.
  void Start() {
    app = std::make_unique<App>(win);
    ASSERT_TRUE(app->Start());
  }
  void TearDown() override {
    app.reset();
    RestoreWindowProcs();  // the hook list is program-wide
  }
  Frmstart& f() { return app->frmstart; }

  // The shell's tray callback for a box: the mouse message arrives as X in twips.
  void TrayMessage(Control& box, std::uint32_t message) {
    box.MouseMove(0, 0, static_cast<int>(message) * win.screen.twipsPerPixelX, 0);
  }
  void DoubleClick(Control& box) { TrayMessage(box, w::kWmLButtonDblClk); }
  void RightClick(Control& box) { TrayMessage(box, w::kWmRButtonUp); }
  // Right-click the tray icon of box and choose a menu item.
  void ChooseFromMenu(Control& box, const std::string& item) {
    win.menuChoices.push_back(item);
    RightClick(box);
  }

  FakeWindows win;
  std::unique_ptr<App> app;
};

}  // namespace tarnby
