// The native side of the forms: one real window per form and one real control
// per model control. It makes no decisions: it creates, keeps the real
// controls in step with the model, and turns window messages into the
// model's events.
#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class NativeHost {
 public:
  virtual ~NativeHost() = default;
  virtual void CreateFormWindow(Form& form) = 0;
  virtual void DestroyFormWindow(Form& form) = 0;
  virtual void FormChanged(Form& form) = 0;
  virtual void ControlChanged(Control& control) = 0;
  virtual void TimerChanged(Timer& timer) = 0;
  virtual int TrackPopupMenu(Menu& menu, Handle owner) = 0;
  virtual void ClearPicture(Control& picture) = 0;
  virtual TextSize MeasureText(const Control& label) = 0;
  virtual void DoEvents() = 0;
};

}  // namespace tarnby
