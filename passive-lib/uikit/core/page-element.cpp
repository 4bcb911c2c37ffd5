#include "passive-lib/uikit/core/page-element.h"

#include "passive-lib/core/value-format.h"
#include "passive-lib/uikit/core/shown-order.h"

#include <cmath>

namespace passive {

const std::size_t TipReplyBytes = 80;

void PageSection::writeOrder() const {
  if (element)
    element->setAttribute("ORDER", shownOrderText(shown));
}

std::optional<int> shortAttribute(const PageElement &element, const char *name) {
  const std::optional<std::string> text = element.get(name);
  double value = 0;
  if (!text || !parseWholeNumber(*text, value))
    return std::nullopt;
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -32768 && rounded <= 32767))
    return std::nullopt;
  return static_cast<int>(rounded);
}

std::optional<std::string> cellTip(const PageElement &item) {
  std::optional<std::string> tip = item.get("TIP");
  if (!tip)
    return std::nullopt;
  if (const std::optional<std::string> unit = item.get("DIM"))
    *tip += " [" + *unit + "]";
  return tip->substr(0, TipReplyBytes - 1);
}

const char *checkBoxTip() { return "Use the check box to display item on schematic"; }

std::optional<std::string> identifierText(const PageSection &section) {
  for (const PageElement *item : section.items) {
    if (item->get("NAME") == "ID")
      return item->get("TEXT");
  }
  return std::nullopt;
}

} // namespace passive
