// Where the countdown's notice before the session ends appears: over the tray
// icon. The shell, which owns the icon, also calls the countdown (on exit the
// machine may sleep on its own again); this interface is the one call that
// runs the other way, from the countdown up to the icon.
#pragma once

#include <string>

namespace tarnby {

class NoticeArea {
 public:
  // An empty text takes a notice that still shows down.
  virtual void ShowNotice(const std::string& title, const std::string& text) = 0;

 protected:
  ~NoticeArea() = default;
};

}  // namespace tarnby
