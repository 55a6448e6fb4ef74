// The notification-area icon. One NOTIFYICONDATA record serves every call; an
// icon is known by its owner picture box's window and id 1. The shell's
// callback reaches the owner box as a mouse move whose X carries the message.
// The countdown's notice before the session ends shows as its balloon.
#pragma once

#include <functional>
#include <string>

#include "core/countdown/notice_area.h"
#include "core/forms/forms.h"

namespace tarnby {

class Tray : public NoticeArea {
 public:
  explicit Tray(Platform& platform) : platform_(platform) {}
  Tray(const Tray&) = delete;
  Tray& operator=(const Tray&) = delete;

  void Add(Control& box, const std::string& tip);
  void Remove(Control& box);
  // The shell came back (Explorer restarted), or had not taken the icon yet:
  // put the icon wanted back.
  void AddAgain();
  // While the shell refuses the icon (at logon it may not be ready), this
  // timer runs; each of its ticks should call AddAgain.
  void RetryWith(Timer& timer) { retry_ = &timer; }
  bool Added() const { return added_; }
  // A balloon over the current icon (NIM_MODIFY with NIF_INFO alone, so its
  // picture and tip stay); an empty text takes a shown balloon down.
  void Balloon(const std::string& title, const std::string& text);
  void ShowNotice(const std::string& title, const std::string& text) override { Balloon(title, text); }
  // While a trigger waits its tip says for what, whichever icon shows; an
  // empty tip gives the quick action's back.
  void ShowWaitingTip(const std::string& tip);
  // A click on the balloon, as the shell reports it through the callback.
  std::function<void()> onBalloonClick;

  const NotifyIconData& TrayData() const { return data_; }
  Control* CurrentBox() const { return current_; }

  // One per owner box; kept between callbacks of that box.
  struct Handler {
    bool Busy = false;
    std::int32_t TrayMsg = 0;
  };

  // Decodes one callback. Brings the main window forward first, always; then,
  // unless this box's handler is already busy, runs onDoubleClick for a left
  // double-click, onRightUp for a right-button release, or onBalloonClick.
  void Callback(Handler& handler, Handle mainWindow, int xTwips, const std::function<void()>& onDoubleClick,
                const std::function<void()>& onRightUp);

 private:
  Platform& platform_;
  NotifyIconData data_;
  Control* current_ = nullptr;  // the icon wanted, whether or not the shell has it
  std::string currentTip_;
  std::string waitingTip_;
  bool added_ = false;  // the shell took it
  Timer* retry_ = nullptr;
};

// The tip field: the text and its NUL, padded with blanks and cut at 64.
std::string TipField(const std::string& tip);
// A waiting trigger's tip: the text and its NUL, in the 128 characters of the
// shell's wide tip, cut after a whole character with an ellipsis.
std::string WaitingTipField(const std::string& tip);

}  // namespace tarnby
