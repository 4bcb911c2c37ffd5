#include "passive-lib/uikit/core/format-page-model.h"

#include "passive-lib/uikit/core/shown-order.h"

#include <utility>

namespace passive {

int FormatPageModel::rowCount(FormatSide side) const {
  return static_cast<int>(section(side).shown.size());
}

PageElement *FormatPageModel::item(FormatSide side, int row) const {
  const PageSection &s = section(side);
  if (row < 0 || row >= static_cast<int>(s.shown.size()))
    return nullptr;
  const int index = s.shown[static_cast<std::size_t>(row)];
  if (index < 0 || index >= static_cast<int>(s.items.size()))
    return nullptr;
  return s.items[static_cast<std::size_t>(index)];
}

std::string FormatPageModel::rowText(FormatSide side, int row) const {
  const PageElement *element = item(side, row);
  std::string text;
  if (!element || formatItem(*element, &partId_, text) != ItemStatus::Ok)
    return "";
  return text;
}

bool FormatPageModel::layerOn() const { return results_.element && results_.element->has("LAYER"); }

std::optional<ItemSettings> FormatPageModel::load(FormatSide side, int row) const {
  const PageElement *element = item(side, row);
  if (!element)
    return std::nullopt;
  ItemSettings settings;
  settings.numeric = !element->has("TEXTONLY");
  if (settings.numeric) {
    settings.format = shortAttribute(*element, "FORMAT");
    settings.digits = shortAttribute(*element, "DIGITS");
  }
  const std::optional<std::string> changeSign = element->get("CHS");
  settings.changeSignEnabled = changeSign.has_value();
  settings.changeSignChecked = changeSign && shortAttribute(*element, "CHS").value_or(0) != 0;
  settings.showNameChecked = element->has("SHOWNAME");
  settings.showUnitsEnabled = element->has("DIM");
  settings.showUnitsChecked = element->has("SHOWDIM");
  return settings;
}

std::optional<std::string> FormatPageModel::change(FormatSide side, int row, ItemSetting setting,
                                                   int value) {
  PageElement *element = item(side, row);
  if (!element)
    return std::nullopt;
  switch (setting) {
  case ItemSetting::ChangeSign:
    element->setAttribute("CHS", value ? "1" : "0");
    break;
  case ItemSetting::ShowName:
  case ItemSetting::ShowUnits: {
    const char *name = setting == ItemSetting::ShowName ? "SHOWNAME" : "SHOWDIM";
    if (value)
      element->setAttribute(name, "");
    else
      element->removeAttribute(name);
    break;
  }
  case ItemSetting::Format:
    element->setAttribute("FORMAT", std::to_string(value));
    break;
  case ItemSetting::Digits:
    element->setAttribute("DIGITS", std::to_string(value));
    break;
  }
  return rowText(side, row);
}

void FormatPageModel::setLayer(bool on) {
  if (!results_.element)
    return;
  if (on)
    results_.element->setAttribute("LAYER", "Simulation");
  else
    results_.element->removeAttribute("LAYER");
}

std::optional<int> FormatPageModel::move(FormatSide side, int row, int delta) {
  PageSection &s = section(side);
  const std::optional<int> target = moveTarget(row, static_cast<int>(s.shown.size()), delta);
  if (!target)
    return std::nullopt;
  std::swap(s.shown[static_cast<std::size_t>(row)], s.shown[static_cast<std::size_t>(*target)]);
  s.writeOrder();
  return target;
}

} // namespace passive
