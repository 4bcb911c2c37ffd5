#include "passive-lib/uikit/core/result-page-model.h"

#include "passive-lib/core/value-format.h"
#include "passive-lib/uikit/core/shown-order.h"

#include <algorithm>

namespace passive {

ItemRow ResultPageModel::row(int row) const {
  const PageElement &item = *section_.items.at(static_cast<std::size_t>(row));
  ItemRow result{item.get("NAME").value_or(""), "ERROR", item.get("DIM").value_or("")};
  if (const std::optional<std::string> ieee = item.get("IEEE")) {
    double value = 0;
    if (parseIeeeText(*ieee, value))
      formatValue(value, static_cast<int>(NumberFormat::Metric), 3, false, result.value);
  } else if (const std::optional<std::string> text = item.get("TEXT")) {
    result.value = *text;
  } else if (const std::optional<std::string> fallback = item.get("DEFAULT")) {
    result.value = *fallback;
  }
  return result;
}

bool ResultPageModel::shown(int row) const {
  return std::find(section_.shown.begin(), section_.shown.end(), row) != section_.shown.end();
}

bool ResultPageModel::checkChanged(int row, bool checked) {
  if (row < 0 || row >= rowCount())
    return false;
  setShown(section_.shown, row, checked);
  section_.writeOrder();
  return true;
}

std::string ResultPageModel::tip(int row, int column) const {
  if (column == 255 || row < 0 || row >= rowCount())
    return checkBoxTip();
  return cellTip(*section_.items[static_cast<std::size_t>(row)]).value_or("");
}

} // namespace passive
