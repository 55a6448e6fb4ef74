#include "core/countdown/preselect_names.h"

#include "core/actions/catalogue.h"

namespace tarnby {

namespace {
constexpr PreSelectName NameOf(const CatalogueRow& row) {
  const CatalogueRow* forced = row.forcedTwin ? &Catalogued(*row.forcedTwin) : nullptr;
  return {row.switchName,
          row.preSelection,
          forced ? forced->preSelection : nullptr,
          row.status,
          forced ? forced->status : nullptr,
          row.notice,
          forced ? forced->notice : nullptr};
}

constexpr std::array<PreSelectName, kOwnBoxes> PreSelectNames() {
  std::array<PreSelectName, kOwnBoxes> names{};
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = NameOf(Catalogued(kPreSelectOrder[i]));
  return names;
}
}  // namespace

const std::array<PreSelectName, kOwnBoxes> kPreSelectNames = PreSelectNames();

const PreSelectName* PreSelectNamed(const Control& button, const Frmstart& f) {
  for (const PreSelectName& name : kPreSelectNames)
    if (&(f.*name.button) == &button) return &name;
  return nullptr;
}

const char* StatusOf(const PreSelectName& name, bool forced) {
  return forced && name.forcedStatus ? name.forcedStatus : name.status;
}

const char* NoticeOf(const PreSelectName& name, bool forced) {
  return forced && name.forcedNotice ? name.forcedNotice : name.notice;
}

std::string NoticeText(const char* what, std::int64_t secondsLeft) {
  if (what == nullptr) return {};
  return std::string("Tarnby will ") + what + " in " + std::to_string(secondsLeft) +
         (secondsLeft == 1 ? " second." : " seconds.");
}

}  // namespace tarnby
