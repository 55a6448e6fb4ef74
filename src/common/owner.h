// The one owner of a handle, for tarnby.exe, restart.exe, tarnby.com and the
// core alike. It gives its handle back exactly once (when it goes out of
// scope, is reset or is given another) and can be moved but never copied, so
// neither a leak nor a double free can be written with it. What a kind of
// handle is and how it is given back is its Release: a one-line alias per
// kind sits beside the calls that free it.
#pragma once

#include <type_traits>
#include <utility>

namespace tarnby {

// Release has `Type`, a static `Empty()` and `Free(Type)`; it may carry what
// freeing needs beside the handle (the platform the core got it from).
template <class Release>
class Owned {
 public:
  using Type = typename Release::Type;

  Owned() noexcept = default;
  explicit Owned(Type handle) noexcept
    requires std::is_empty_v<Release>
      : handle_(handle) {}
  // A handle whose release needs its source (the platform) is given it first.
  template <class Source>
    requires requires(Source& source) { Release{&source}; }
  Owned(Source& source, Type handle) noexcept : release_{&source}, handle_(handle) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : release_(other.release_), handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      reset();
      release_ = other.release_;
      handle_ = other.release();
    }
    return *this;
  }

  Type get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Release::Empty(); }
  // Hands the handle to someone else (the system, say), who frees it from now on.
  Type release() noexcept { return std::exchange(handle_, Release::Empty()); }
  // Frees the handle held (unless it is the one given) and holds the one given.
  void reset(Type handle = Release::Empty()) noexcept {
    const Type old = std::exchange(handle_, handle);
    if (old != Release::Empty() && old != handle) release_.Free(old);
  }

 private:
  Release release_{};
  Type handle_ = Release::Empty();
};

}  // namespace tarnby
