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
    if (row.forceBox != nullptr)
      row.forceBox->onClick = [this] {
        if (onPreSelectionChanged) onPreSelectionChanged();
      };
  }
}

void Countdown::PreSelect(Control& button) {
  // The program button opens the selection of the programs first, every time.
  if (&button == &f_.cmdprogram) frmprogram_().ShowInFront();

  const PreSelectRow* chosen = nullptr;
  for (const PreSelectRow& row : preSelects_)
    if (row.button == &button) chosen = &row;
  if (chosen == nullptr) return;
  power_.reset();  // the frame's choice is what runs at zero again

  for (const PreSelectRow& row : preSelects_) {
    row.ring->SetVisible(&row == chosen);
    if (row.forceBox == nullptr) continue;
    // Only the chosen action's own box stays usable and keeps its tick.
    const bool own = row.forceBox == chosen->forceBox;
    row.forceBox->SetEnabled(own);
    if (!own) row.forceBox->SetValue(false);
  }
  if (onPreSelectionChanged) onPreSelectionChanged();
}

void Countdown::PreSelectPower(PowerAction action) {
  ClearPreSelection();
  power_ = action;
  if (onPreSelectionChanged) onPreSelectionChanged();
}

void Countdown::ClearPreSelection() {
  for (const PreSelectRow& row : preSelects_) {
    row.ring->SetVisible(false);
    if (row.forceBox == nullptr) continue;
    row.forceBox->SetValue(false);
    row.forceBox->SetEnabled(true);
  }
}

bool Countdown::AnyRingShown() const {
  for (const PreSelectRow& row : preSelects_)
    if (row.ring->Visible()) return true;
  return false;
}

}  // namespace tarnby
