// Owners of the handles the core gets from the platform: registry keys, file
// searches, shell item lists, icons, processes, waits and device contexts.
// Each gives its handle back exactly once, when it goes out of scope or is
// reset, and can be moved but not copied.
#pragma once

#include <utility>

#include "core/platform.h"

namespace tarnby {

template <class Traits>
class PlatformOwned {
 public:
  PlatformOwned(Platform& platform, Handle handle) : platform_(&platform), handle_(handle) {}
  ~PlatformOwned() { reset(); }
  PlatformOwned(const PlatformOwned&) = delete;
  PlatformOwned& operator=(const PlatformOwned&) = delete;
  // Moved, the handle goes with it and the one left behind owns nothing.
  PlatformOwned(PlatformOwned&& other) noexcept
      : platform_(other.platform_), handle_(std::exchange(other.handle_, Traits::kEmpty)) {}
  PlatformOwned& operator=(PlatformOwned&& other) noexcept {
    if (this != &other) {
      reset();
      platform_ = other.platform_;
      handle_ = std::exchange(other.handle_, Traits::kEmpty);
    }
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::kEmpty; }
  // Gives the handle back now.
  void reset() {
    if (handle_ != Traits::kEmpty) Traits::Free(*platform_, std::exchange(handle_, Traits::kEmpty));
  }

 private:
  Platform* platform_;
  Handle handle_;
};

namespace platform_owned {

struct RegistryKey {
  static constexpr Handle kEmpty = 0;
  static void Free(Platform& platform, Handle key) { platform.RegCloseKey(key); }
};

struct Search {
  static constexpr Handle kEmpty = w::kInvalidHandle;
  static void Free(Platform& platform, Handle search) { platform.FindClose(search); }
};

struct ShellMemory {
  static constexpr Handle kEmpty = 0;
  static void Free(Platform& platform, Handle memory) { platform.CoTaskMemFree(memory); }
};

struct Icon {
  static constexpr Handle kEmpty = 0;
  static void Free(Platform& platform, Handle icon) { platform.DestroyIcon(icon); }
};

struct Process {
  static constexpr Handle kEmpty = 0;
  static void Free(Platform& platform, Handle process) { platform.CloseHandle(process); }
};

struct Wait {
  static constexpr Handle kEmpty = 0;
  static void Free(Platform& platform, Handle wait) { platform.UnregisterWait(wait); }
};

}  // namespace platform_owned

using PlatformKey = PlatformOwned<platform_owned::RegistryKey>;
using PlatformSearch = PlatformOwned<platform_owned::Search>;
using PlatformShellMemory = PlatformOwned<platform_owned::ShellMemory>;
using PlatformIcon = PlatformOwned<platform_owned::Icon>;
using PlatformProcess = PlatformOwned<platform_owned::Process>;
using PlatformWait = PlatformOwned<platform_owned::Wait>;

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
