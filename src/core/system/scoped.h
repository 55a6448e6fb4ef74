// Guards for state that holds only while a handler is on the stack; each puts
// things back when it goes, an exception included.
#pragma once

#include <utility>

namespace tarnby {

// A handler that must not run inside itself: the guard marks it busy for as
// long as it is on the stack, and tells a second entry meanwhile that it must
// do nothing.

class ReentryGuard {
 public:
  explicit ReentryGuard(bool& busy) : busy_(busy), entered_(!busy) { busy_ = true; }
  ~ReentryGuard() {
    if (entered_) busy_ = false;
  }
  ReentryGuard(const ReentryGuard&) = delete;
  ReentryGuard& operator=(const ReentryGuard&) = delete;

  // False when the handler was already running: the caller returns at once.
  bool Entered() const { return entered_; }

 private:
  bool& busy_;
  bool entered_;
};

// A variable that holds another value while the guard lives, then its old one.
template <class T>
class ScopedValue {
 public:
  ScopedValue(T& variable, T value) : variable_(variable), old_(std::exchange(variable, std::move(value))) {}
  ~ScopedValue() { variable_ = std::move(old_); }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

 private:
  T& variable_;
  T old_;
};

}  // namespace tarnby
