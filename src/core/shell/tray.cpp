#include "core/shell/tray.h"

#include <cmath>

#include "core/system/folders.h"
#include "core/system/scoped.h"

namespace tarnby {

namespace {
constexpr std::uint32_t kRecordSize = 88;
constexpr std::size_t kTipField = 64;
constexpr std::size_t kWaitingTipUnits = 127;  // NOTIFYICONDATAW's tip with its NUL
constexpr char kEllipsis[] = "\xE2\x80\xA6";      // U+2026, one unit
}  // namespace

std::string TipField(const std::string& tip) {
  std::string field = tip;
  field.push_back('\0');
  field.resize(kTipField, ' ');
  return field;
}

std::string WaitingTipField(const std::string& tip) {
  // A waiting tip names a program, which may be long: it takes the whole
  // tip the shell has, and a longer one ends in an ellipsis after a whole
  // character.
  std::string field = tip;
  if (BytesWithinUtf16Units(tip, kWaitingTipUnits) < tip.size())
    field = tip.substr(0, BytesWithinUtf16Units(tip, kWaitingTipUnits - 1)) + kEllipsis;
  field.push_back('\0');
  return field;
}

void Tray::Add(Control& box, const std::string& tip) {
  data_.cbSize = kRecordSize;
  data_.hWnd = box.hwnd;
  data_.uID = 1;
  data_.uFlags = w::kNifMessage | w::kNifIcon | w::kNifTip;
  data_.uCallbackMessage = w::kWmMouseMove;
  data_.hIcon = box.pictureHandle;
  data_.szTip = waitingTip_.empty() ? TipField(tip) : WaitingTipField(waitingTip_);
  // An icon the shell still shows (it announces itself again on some
  // changes of its own) refuses NIM_ADD but takes NIM_MODIFY.
  added_ = platform_.Shell_NotifyIcon(w::kNimAdd, data_) || platform_.Shell_NotifyIcon(w::kNimModify, data_);
  current_ = &box;
  currentTip_ = tip;
  if (retry_) retry_->SetEnabled(!added_);
}

void Tray::Remove(Control& box) {
  data_.cbSize = kRecordSize;
  data_.hWnd = box.hwnd;
  data_.uID = 1;
  platform_.Shell_NotifyIcon(w::kNimDelete, data_);
  if (current_ != &box) return;
  current_ = nullptr;
  added_ = false;
  if (retry_) retry_->SetEnabled(false);
}

void Tray::Balloon(const std::string& title, const std::string& text) {
  if (current_ == nullptr) return;
  data_.cbSize = kRecordSize;
  data_.hWnd = current_->hwnd;
  data_.uID = 1;
  // A balloon the shell cannot show now (Do Not Disturb, a game, a
  // presentation) is dropped: "in 60 seconds" shown later would be untrue.
  data_.uFlags = w::kNifInfo | w::kNifRealtime;
  data_.szInfo = text;
  data_.szInfoTitle = title;
  data_.dwInfoFlags = w::kNiifWarning;
  platform_.Shell_NotifyIcon(w::kNimModify, data_);
}

void Tray::ShowWaitingTip(const std::string& tip) {
  waitingTip_ = tip;
  if (current_ == nullptr) return;
  data_.cbSize = kRecordSize;
  data_.hWnd = current_->hwnd;
  data_.uID = 1;
  data_.uFlags = w::kNifTip;
  data_.szTip = tip.empty() ? TipField(currentTip_) : WaitingTipField(tip);
  platform_.Shell_NotifyIcon(w::kNimModify, data_);
}

void Tray::AddAgain() {
  if (current_ != nullptr) Add(*current_, currentTip_);
}

void Tray::Callback(Handler& handler, Handle mainWindow, int xTwips, const std::function<void()>& onDoubleClick,
                    const std::function<void()>& onRightUp) {
  platform_.SetForegroundWindow(mainWindow);
  // The tray boxes lie on the main window: its factors turned the message into twips.
  const int twipsPerPixel = platform_.ScaleOf(mainWindow).twipsPerPixelX;
  handler.TrayMsg = twipsPerPixel > 0
                        ? static_cast<std::int32_t>(std::nearbyint(static_cast<double>(xTwips) / twipsPerPixel))
                        : 0;
  const ReentryGuard guard(handler.Busy);
  if (!guard.Entered()) return;
  if (handler.TrayMsg == static_cast<std::int32_t>(w::kWmLButtonDblClk)) {
    if (onDoubleClick) onDoubleClick();
  } else if (handler.TrayMsg == static_cast<std::int32_t>(w::kWmRButtonUp)) {
    if (onRightUp) onRightUp();
  } else if (handler.TrayMsg == static_cast<std::int32_t>(w::kNinBalloonUserClick)) {
    if (onBalloonClick) onBalloonClick();
  }
}

}  // namespace tarnby
