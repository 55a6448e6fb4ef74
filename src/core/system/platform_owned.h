// Owners of the handles the core gets from the platform: registry keys, file
// searches, shell item lists, icons, processes, waits and device contexts.
// Each gives its handle back exactly once, when it goes out of scope or is
// reset, and can be moved but not copied.
#pragma once

#include "common/owner.h"
#include "core/platform.h"

namespace tarnby {

namespace platform_owned {

// Given back through the platform the core got the handle from.
template <auto Call, Handle kEmpty = 0>
struct Release {
  using Type = Handle;
  Platform* platform = nullptr;
  static constexpr Handle Empty() { return kEmpty; }
  void Free(Handle handle) const { (platform->*Call)(handle); }
};

}  // namespace platform_owned

using PlatformKey = Owned<platform_owned::Release<&Platform::RegCloseKey>>;
using PlatformSearch = Owned<platform_owned::Release<&Platform::FindClose, w::kInvalidHandle>>;
using PlatformShellMemory = Owned<platform_owned::Release<&Platform::CoTaskMemFree>>;
using PlatformIcon = Owned<platform_owned::Release<&Platform::DestroyIcon>>;
using PlatformProcess = Owned<platform_owned::Release<&Platform::CloseHandle>>;
using PlatformWait = Owned<platform_owned::Release<&Platform::UnregisterWait>>;

// A window's device context, released to the window it came from.
class PlatformDc {
 public:
  PlatformDc(Platform& platform, Handle window) : platform_(platform), window_(window), dc_(platform.GetDC(window)) {}
  ~PlatformDc() {
    if (dc_ != 0) platform_.ReleaseDC(window_, dc_);
  }
  PlatformDc(const PlatformDc&) = delete;
  PlatformDc& operator=(const PlatformDc&) = delete;

  Handle get() const { return dc_; }
  explicit operator bool() const { return dc_ != 0; }

 private:
  Platform& platform_;
  Handle window_;
  Handle dc_;
};

}  // namespace tarnby
