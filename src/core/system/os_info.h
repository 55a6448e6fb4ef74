// Which Windows this is: the 9x family splits into 95 (minor version below 10)
// and 98 (10 or more); on NT-family systems both answers are false.
#pragma once

#include "core/platform.h"

namespace tarnby {

class COpSysInfo {
 public:
  explicit COpSysInfo(Platform& platform);
  bool IsWin95() const { return isWin95_; }
  bool IsWin98() const { return isWin98_; }

 private:
  bool isWin95_ = false;
  bool isWin98_ = false;
};

}  // namespace tarnby
