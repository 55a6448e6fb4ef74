// A NativeHost for tests that need the real platform but no native forms.
#pragma once

#include "win32/win32_platform.h"

namespace tarnby::test {

class NullHost : public NativeHost {
 public:
  void CreateFormWindow(Form&) override {}
  void DestroyFormWindow(Form&) override {}
  void FormChanged(Form&) override {}
  void ControlChanged(Control&) override {}
  void TimerChanged(Timer&) override {}
  int TrackPopupMenu(Menu&, Handle) override { return -1; }
  void ClearPicture(Control&) override {}
  TextSize MeasureText(const Control&) override { return {}; }
  PixelScale ScaleOf(Handle) override { return {}; }
  void DoEvents() override {}
};

}  // namespace tarnby::test
