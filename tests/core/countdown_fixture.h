// A started Tarnby with helpers to type into the time boxes, start a
// countdown and watch it second by second on the fake clock.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "core/app_fixture.h"
#include "core/countdown/countdown.h"

namespace tarnby {

class CountdownTest : public AppTest {
 protected:
  void SetUp() override {
    Start();
    // The hot key poll runs every 50 ms and has no part in the countdown;
    // without it hours of fake time pass quickly.
    f().Timer3.SetEnabled(false);
  }

  Countdown& countdown() { return *app->countdown; }

  // Keys as the user types them: each goes through the box's key filter, and
  // what passes lands in the box.
  static void Type(Control& box, const std::string& keys) {
    for (char k : keys) {
      int key = static_cast<unsigned char>(k);
      box.KeyPress(key);
      if (key == 0) continue;
      std::string text = box.Text();
      if (key == kKeyBackspace) {
        if (!text.empty()) text.pop_back();
      } else if (box.maxLength == 0 || static_cast<int>(text.size()) < box.maxLength) {
        text += static_cast<char>(key);
      }
      box.NativeTextChanged(text);
    }
  }
  // Pasting skips the key filter.
  static void Paste(Control& box, const std::string& text) { box.NativeTextChanged(text); }

  // Pre-select with a button, type the time and press "&Start".
  void StartCountdown(Control& button, const std::string& minutes, const std::string& seconds,
                      const std::string& hours = "") {
    button.Click();
    if (!hours.empty()) {
      f().Check1.Click();
      Type(app->frmhrs().Text1, hours);
    }
    Type(f().Text2, minutes);
    Type(f().Text1, seconds);
    f().cmdstart.Click();
  }

  // The time shown in the main window, as "minutes:seconds".
  std::string Shown() { return f().Label3.Caption() + ":" + f().display.Caption(); }

  // Let one second pass and report what it showed.
  std::string Second() {
    win.Advance(1000);
    return Shown();
  }

  // The screen-saver command the countdown sends on systems other than Windows 98.
  bool ScreenSaverSent() { return win.Logged("SendMessage(" + Hex(f().hwnd) + ", 0x112, 0xf140, 0)"); }

  static std::string Hex(std::uintptr_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
  }

  // The main window's state when no countdown runs.
  void ExpectIdle() {
    EXPECT_FALSE(f().Timer1.Enabled());
    EXPECT_FALSE(f().Timer2.Enabled());
    EXPECT_TRUE(f().cmdstart.Enabled());
    EXPECT_FALSE(f().cmdstop.Enabled());
    EXPECT_TRUE(f().Text1.Enabled());
    EXPECT_TRUE(f().Text2.Enabled());
    EXPECT_TRUE(f().Text3.Enabled());
    EXPECT_TRUE(f().Check1.Enabled());
    EXPECT_TRUE(f().cmdwav.Visible());
  }
};

}  // namespace tarnby
