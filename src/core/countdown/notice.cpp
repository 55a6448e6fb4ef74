// The notice before the session ends: a balloon over the tray icon when a
// countdown that shuts down, restarts, logs off, restarts Windows, exits to
// DOS, sleeps or hibernates has a minute or less to go. The alarm still
// sounds as before. Do Not Disturb, a game or a presentation swallows a
// balloon, so before the session ends the main window itself comes up too.
#include "core/app_title.h"
#include "core/countdown/countdown.h"
#include "core/countdown/preselect_names.h"

namespace tarnby {

namespace {
constexpr std::int64_t kNoticeSeconds = 60;
}

void Countdown::NoticeBeforeEnd() {
  if (noticed_ || !Running()) return;
  const std::int64_t left = SecondsLeft();
  if (left <= 0 || left > kNoticeSeconds) return;
  const ZeroAction due = DueAction();
  const char* what = due.power ? PowerNamed(*due.power).notice : due.name ? NoticeOf(*due.name, due.forced) : nullptr;
  const std::string text = NoticeText(what, left);
  if (text.empty()) return;
  noticed_ = true;
  noticeUp_ = true;
  notice_.ShowNotice(kAppTitle, text);
  // Its time left and its "&Pause" above every window, once: hidden again,
  // it stays hidden. The focus stays where the user is typing. Sleep and
  // hibernate leave the session as it is: the balloon is enough.
  if (due.name != nullptr && !f_.Visible()) f_.ShowOnTopWithoutFocus();
}

void Countdown::TakeNoticeDown() {
  // "... in 60 seconds" is no longer true once the countdown stops.
  if (!noticeUp_) return;
  noticeUp_ = false;
  notice_.ShowNotice("", "");
}

}  // namespace tarnby
