#include "semi-lib/core/semi-label.h"

#include "passive-lib/core/item-format.h"

#include <vector>

namespace semi {
namespace {

class ElementItem : public passive::ItemAttributes {
public:
  explicit ElementItem(const xml::Element &element) : element_(element) {}
  bool attribute(const char *name, std::string &value) const override {
    std::optional<std::string> found = element_.getAttribute(name);
    if (!found)
      return false;
    value = *found;
    return true;
  }

private:
  const xml::Element &element_;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

bool composeOrderedItems(const xml::Element &section, const std::string &partId,
                         std::string &text) {
  const std::vector<xml::Element *> items = section.children();
  const std::string order = section.getAttribute("ORDER").value_or("");
  text.clear();
  size_t at = 0;
  while (at < order.size()) {
    if (order[at] == ' ') {
      text += '\n';
      ++at;
    } else if (isDigit(order[at])) {
      size_t index = 0;
      bool inRange = true;
      for (; at < order.size() && isDigit(order[at]); ++at) {
        if (!inRange)
          continue;
        index = index * 10 + static_cast<size_t>(order[at] - '0');
        inRange = index < items.size();
      }
      if (!inRange)
        continue;
      std::string itemText;
      if (passive::formatItem(ElementItem(*items[index]), &partId, itemText) !=
          passive::ItemStatus::Ok)
        return false;
      text += itemText;
    } else {
      break;
    }
  }
  return true;
}

std::string bodyTextFormula(const std::string &text) {
  std::string formula = "\"";
  for (char c : text) {
    if (c == '"')
      formula += '"';
    formula += c;
  }
  formula += '"';
  return formula;
}

} // namespace semi
