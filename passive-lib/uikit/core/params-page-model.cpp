#include "passive-lib/uikit/core/params-page-model.h"

#include "passive-lib/core/value-format.h"
#include "passive-lib/uikit/core/shown-order.h"
#include "passive-lib/uikit/core/value-stepping.h"

#include <algorithm>

namespace passive {
namespace {

const char *const PassiveEntries[] = {"std. 20%",   "std. 10%",  "std. 5%",   "std. 1%",
                                      "std. \xBD%", "2nd digit", "3rd digit", "4th digit"};
const char *const SourceEntries[] = {"2nd digit", "3rd digit", "4th digit"};

} // namespace

const char *const *roundEntries(ParamsFlavour flavour, int &count) {
  if (flavour == ParamsFlavour::Passive) {
    count = 8;
    return PassiveEntries;
  }
  count = 3;
  return SourceEntries;
}

int defaultRoundIndex(ParamsFlavour flavour) { return flavour == ParamsFlavour::Passive ? 2 : 0; }

PageElement *ParamsPageModel::item(int row) const {
  if (row < 0 || row >= rowCount())
    return nullptr;
  return section_.items[static_cast<std::size_t>(row)];
}

ItemRow ParamsPageModel::row(int row) const {
  const PageElement &element = *item(row);
  const char *none = flavour_ == ParamsFlavour::Passive ? "ERROR" : "";
  ItemRow result{element.get("NAME").value_or(""), none, element.get("DIM").value_or("")};
  if (const std::optional<std::string> ieee = element.get("IEEE")) {
    double value = 0;
    if (parseIeeeText(*ieee, value))
      formatValue(value, static_cast<int>(NumberFormat::Engineering), 3, false, result.value);
  } else if (result.name == "ID" && !partId_.empty() &&
             element.get("TEXT").value_or("?").find('?') != std::string::npos) {
    result.value = partId_;
  } else if (const std::optional<std::string> text = element.get("TEXT")) {
    result.value = *text;
  } else if (const std::optional<std::string> fallback = element.get("DEFAULT")) {
    result.value = *fallback;
  }
  return result;
}

bool ParamsPageModel::shown(int row) const {
  return std::find(section_.shown.begin(), section_.shown.end(), row) != section_.shown.end();
}

int ParamsPageModel::selectedAtStart() const {
  for (int r = 0; r < rowCount(); ++r) {
    if (item(r)->has("SELECT"))
      return r;
  }
  return -1;
}

bool ParamsPageModel::numeric(int row) const {
  const PageElement *element = item(row);
  return element && !element->has("TEXTONLY");
}

std::optional<int> ParamsPageModel::round(int row) const {
  if (!numeric(row))
    return std::nullopt;
  return shortAttribute(*item(row), "ROUND");
}

void ParamsPageModel::selectionChanged(int row, bool selected) {
  PageElement *element = item(row);
  if (!element)
    return;
  if (selected)
    element->setAttribute("SELECT", "");
  else
    element->removeAttribute("SELECT");
}

bool ParamsPageModel::checkChanged(int row, bool checked) {
  if (!item(row))
    return false;
  setShown(section_.shown, row, checked);
  section_.writeOrder();
  return true;
}

AdjustTip ParamsPageModel::refreshAdjust(int selectedRow, int roundIndex) {
  AdjustTip tip;
  if (!numeric(selectedRow))
    return tip;
  if (roundIndex < 0) {
    tip.kind = AdjustTip::TipsOff;
    return tip;
  }
  item(selectedRow)->setAttribute("ROUND", std::to_string(roundIndex));
  const std::string value = row(selectedRow).value;
  tip.kind = AdjustTip::Text;
  tip.text = flavour_ == ParamsFlavour::Passive ? passiveAdjustText(value, roundIndex)
                                                : sourceAdjustText(value, roundIndex);
  return tip;
}

std::optional<std::string> ParamsPageModel::step(int selectedRow, int roundIndex, int delta) {
  if (!numeric(selectedRow) || roundIndex < 0)
    return std::nullopt;
  PageElement &element = *item(selectedRow);
  element.setAttribute("ROUND", std::to_string(roundIndex));
  const std::string value = row(selectedRow).value;
  const std::optional<SteppedValue> stepped = flavour_ == ParamsFlavour::Passive
                                                  ? passiveStep(value, roundIndex, delta > 0)
                                                  : sourceStep(value, roundIndex, delta > 0);
  if (!stepped)
    return std::nullopt;
  element.setAttribute("TEXT", stepped->text);
  element.removeAttribute("IEEE");
  if (const std::optional<std::string> digits =
          raisedDigits(element.get("DIGITS"), stepped->digits))
    element.setAttribute("DIGITS", *digits);
  return stepped->text;
}

EntryOutcome ParamsPageModel::endEdit(int row, const char *text) {
  EntryOutcome outcome;
  PageElement *element = item(row);
  if (!element || !text)
    return outcome;
  const std::optional<std::string> range = element->get("RANGE");
  const EntryRule rule = flavour_ == ParamsFlavour::Passive
                             ? passiveEntryRule(range)
                             : sourceEntryRule(range, element->has("TEXTONLY"));
  const EntryVerdict verdict = checkEntry(rule, text);
  if (verdict != EntryVerdict::Accepted) {
    outcome.kind = EntryOutcome::Refused;
    outcome.message = entryMessage(verdict);
    return outcome;
  }
  element->setAttribute("TEXT", text);
  element->removeAttribute("IEEE");
  outcome.kind = EntryOutcome::Accepted;
  return outcome;
}

} // namespace passive
