// The "Pre-Selects" frame: the choice is nothing but what the frame shows,
// the one red ring and the ticked force boxes; the engine reads them at zero.
#include "core/actions/frmprogram.h"
#include "core/countdown/countdown.h"

namespace tarnby {

void Countdown::WirePreSelection() {
  for (const CatalogueRow& row : kCatalogue) {
    Control& control = f_.*row.preSelection;
    control.toolTip = row.preSelectionTip;
    if (row.picture != 0) control.SetPicture(row.picture);
  }
  for (const PreSelectRow& row : preSelects_) {
    Control* button = row.button;
    button->onClick = [this, button] { PreSelect(*button); };
  }
}

void Countdown::PreSelect(Control& button) {
  // The program button opens the selection of the programs first, every time.
  if (&button == &f_.cmdprogram) frmprogram_().ShowInFront();

  const PreSelectRow* chosen = nullptr;
  for (const PreSelectRow& row : preSelects_)
    if (row.button == &button) chosen = &row;
  if (chosen == nullptr) return;
  // The frame's choice is what runs at zero again, starting from the user's
  // own as it was before a power countdown hid it.
  DropPowerAction();

  for (const PreSelectRow& row : preSelects_) {
    row.ring->SetVisible(&row == chosen);
    if (row.forceBox == nullptr) continue;
    // Only the chosen action's own box stays usable and keeps its tick.
    const bool own = row.forceBox == chosen->forceBox;
    row.forceBox->SetEnabled(own);
    if (!own) row.forceBox->SetValue(false);
  }
}

void Countdown::TakePowerAction(PowerAction action) {
  power_ = action;
  // A power countdown has no ring: nothing in the frame may claim to be what
  // runs. The user's choice is kept aside, once, however often a power
  // countdown replaces another, and comes back when the last one is over.
  if (!heldPreSelection_) {
    HeldPreSelection& held = heldPreSelection_.emplace();
    for (std::size_t i = 0; i < preSelects_.size(); ++i) {
      const PreSelectRow& row = preSelects_[i];
      held[i] = {row.ring->Visible(), row.forceBox != nullptr && row.forceBox->Enabled(),
                 row.forceBox != nullptr && row.forceBox->Value()};
    }
  }
  for (const PreSelectRow& row : preSelects_) {
    row.ring->SetVisible(false);
    if (row.forceBox == nullptr) continue;
    row.forceBox->SetValue(false);
    row.forceBox->SetEnabled(false);
  }
}

void Countdown::DropPowerAction() {
  power_.reset();
  if (!heldPreSelection_) return;
  for (std::size_t i = 0; i < preSelects_.size(); ++i) {
    const PreSelectRow& row = preSelects_[i];
    const HeldRow& held = (*heldPreSelection_)[i];
    row.ring->SetVisible(held.ringShown);
    if (row.forceBox == nullptr) continue;
    row.forceBox->SetEnabled(held.boxEnabled);
    row.forceBox->SetValue(held.boxTicked);
  }
  heldPreSelection_.reset();
}

bool Countdown::AnyRingShown() const {
  for (const PreSelectRow& row : preSelects_)
    if (row.ring->Visible()) return true;
  return false;
}

}  // namespace tarnby
