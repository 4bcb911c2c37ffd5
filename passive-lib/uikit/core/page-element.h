// An element of the component XML as the property pages edit it: read
// attributes by name, set them, remove them. The Win32 pages wrap the XML
// object model's elements; tests use elements in memory.
#ifndef PASSIVE_LIB_UIKIT_CORE_PAGE_ELEMENT_H
#define PASSIVE_LIB_UIKIT_CORE_PAGE_ELEMENT_H

#include "passive-lib/core/item-format.h"

#include <optional>
#include <string>
#include <vector>

namespace passive {

class PageElement : public ItemAttributes {
public:
  virtual void setAttribute(const char *name, const std::string &value) = 0;
  virtual void removeAttribute(const char *name) = 0;

  std::optional<std::string> get(const char *name) const {
    std::string value;
    if (!attribute(name, value))
      return std::nullopt;
    return value;
  }
  bool has(const char *name) const { return get(name).has_value(); }
};

// A section of the component XML as a page holds it: the PARAMS or RESULT
// element, its ITEM elements in document order, and the shown indices
// (its ORDER). The opener of the sheet fills it; the elements outlive the
// page's use of them.
struct PageSection {
  PageElement *element = nullptr;
  std::vector<PageElement *> items;
  std::vector<int> shown;

  // Writes ORDER from the shown list.
  void writeOrder() const;
};

// The TEXT of the section's identifier item (NAME "ID"): the identifier
// the user typed; nothing when there is no such item or it has no TEXT.
std::optional<std::string> identifierText(const PageSection &section);

// A 16-bit integer attribute as the pages read FORMAT, DIGITS and ROUND;
// nothing when absent or not such a number.
std::optional<int> shortAttribute(const PageElement &element, const char *name);

// The list tooltip of an item's cell: TIP, and " [DIM]" when the item has a
// unit; nothing without TIP. Cut to fit an 80-byte reply with its
// terminator.
std::optional<std::string> cellTip(const PageElement &item);
// Over a row's check box.
const char *checkBoxTip();

} // namespace passive

#endif
