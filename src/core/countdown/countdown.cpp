#include "core/countdown/countdown.h"

#include <cmath>

#include <cctype>

#include "core/app.h"

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

Countdown::PreSelectRow Countdown::PreSelectOf(Frmstart& f, const CatalogueRow& row, Control& ring) {
  // The forced twin's pre-selection is the force box under the button.
  Control* forceBox = row.forcedTwin ? &(f.*Catalogued(*row.forcedTwin).preSelection) : nullptr;
  return {&(f.*row.preSelection), &ring, forceBox};
}

Countdown::Countdown(App& app)
    : app_(app),
      f_(app.frmstart),
      preSelects_{PreSelectOf(f_, Catalogued(ActionCode::dos), f_.shados),
                  PreSelectOf(f_, kRunProgramsRow, f_.shaprogram),
                  PreSelectOf(f_, Catalogued(ActionCode::screen), f_.shascreen),
                  PreSelectOf(f_, Catalogued(ActionCode::sleep), f_.shasleep),
                  PreSelectOf(f_, Catalogued(ActionCode::restartw), f_.shacd),
                  PreSelectOf(f_, Catalogued(ActionCode::restart), f_.sharestart),
                  PreSelectOf(f_, Catalogued(ActionCode::log), f_.shalog),
                  PreSelectOf(f_, Catalogued(ActionCode::shut), f_.shashut)},
      // At zero the first test that holds wins: a ticked force box before
      // its own ring, and the rows in this order.
      zeroOrder_{{&f_.chkrestart, AtZero::EndAtOnce, ActionCode::restartf},
                 {&f_.sharestart, AtZero::EndAtOnce, ActionCode::restart},
                 {&f_.shaprogram, AtZero::RunPrograms, ActionCode::screen},
                 {&f_.shacd, AtZero::EndAtOnce, ActionCode::restartw},
                 {&f_.shascreen, AtZero::ScreenSaver, ActionCode::screen},
                 {&f_.chkshut, AtZero::EndAtOnce, ActionCode::shutf},
                 {&f_.shashut, AtZero::EndAtOnce, ActionCode::shut},
                 {&f_.shados, AtZero::EndAtOnce, ActionCode::dos},
                 {&f_.chklog, AtZero::EndAtOnce, ActionCode::logf},
                 {&f_.shalog, AtZero::EndAtOnce, ActionCode::log},
                 {&f_.shasleep, AtZero::Suspend, ActionCode::sleep}} {
  WirePreSelection();
  WireEntry();
  WireEngine();
  WireAlarm();
}

bool Countdown::Running() const { return f_.Timer1.Enabled(); }

}  // namespace tarnby
