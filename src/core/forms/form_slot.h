// A secondary window that exists on first reference, as in the forms model
// Tarnby follows: naming the window loads it (hidden), Unload throws its state
// away, and the next reference builds it afresh with its design-time values.
#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace tarnby {

template <class F>
class FormSlot {
 public:
  // make builds the window afresh, handing it what it uses.
  explicit FormSlot(std::function<std::unique_ptr<F>()> make) : make_(std::move(make)) {}
  FormSlot(const FormSlot&) = delete;
  FormSlot& operator=(const FormSlot&) = delete;

  // The window, loaded (hidden) when it was not.
  F& operator()() {
    if (!form_ || !form_->Loaded()) {
      // Keep the previous object alive one generation longer: its own handler
      // may still be on the stack when it unloads and is referenced again.
      retired_ = std::move(form_);
      form_ = make_();
      form_->Load();
    }
    return *form_;
  }

  bool Loaded() const { return form_ && form_->Loaded(); }
  F* IfLoaded() { return Loaded() ? form_.get() : nullptr; }
  void Unload() {
    if (Loaded()) form_->Unload();
  }

 private:
  std::function<std::unique_ptr<F>()> make_;
  std::unique_ptr<F> form_;
  std::unique_ptr<F> retired_;
};

}  // namespace tarnby
