#include "core/countdown/countdown.h"

#include <cmath>

#include <cctype>


namespace tarnby {

std::optional<double> BoxValue(const std::string& text) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::nullopt;
  const std::size_t end = text.find_last_not_of(' ') + 1;
  std::size_t i = begin;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  double value = 0;
  double scale = 1;
  bool digits = false, point = false;
  for (; i < end; ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      digits = true;
      if (point) {
        scale /= 10;
        value += (c - '0') * scale;
      } else {
        value = value * 10 + (c - '0');
      }
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  return negative ? -value : value;
}

std::optional<std::int32_t> WholeBoxValue(const std::string& text, double limit) {
  const std::optional<double> value = BoxValue(text);
  if (!value || *value < 0 || *value > limit || *value != std::floor(*value)) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

void FilterDigits(int& keyAscii) {
  if ((keyAscii < '0' || keyAscii > '9') && keyAscii != kKeyBackspace) keyAscii = 0;
}

Countdown::Countdown(Platform& platform, Frmstart& frmstart, FormSlot<Frmhrs>& frmhrs, FormSlot<Frmtime>& frmtime,
                     FormSlot<Frmprogram>& frmprogram, Actions& actions, NoticeArea& notice)
    : platform_(platform),
      f_(frmstart),
      frmhrs_(frmhrs),
      frmtime_(frmtime),
      frmprogram_(frmprogram),
      actions_(actions),
      notice_(notice) {
  for (std::size_t i = 0; i < kOwnBoxes; ++i) {
    const CatalogueRow& row = *kOwnBoxRows[i];
    // The forced twin's pre-selection is the force box under the button.
    Control* forceBox = row.forcedTwin ? &(f_.*Catalogued(*row.forcedTwin).preSelection) : nullptr;
    preSelects_[i] = {&(f_.*row.preSelection), &(f_.*row.ring), forceBox};
  }
  for (std::size_t i = 0; i < kZeroOrder.size(); ++i) {
    const CatalogueRow& row = Catalogued(kZeroOrder[i]);
    // A forced form is due when its box is ticked, any other when its ring shows.
    zeroOrder_[i] = {IsForcedForm(row) ? &(f_.*row.preSelection) : &(f_.*row.ring), &row};
  }
  WirePreSelection();
  WireEntry();
  WireEngine();
  WireAlarm();
}

bool Countdown::Running() const { return f_.Timer1.Enabled(); }

}  // namespace tarnby
