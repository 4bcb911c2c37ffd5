// An element of the component XML in memory for the tests of the item
// texts and the page models: attributes in a map, written as
// "NAME=R;SHOWDIM;DIM=ohm" (a name alone has an empty value), and a count
// of every write.
#ifndef PASSIVE_LIB_UIKIT_TESTS_MEMORY_ELEMENT_H
#define PASSIVE_LIB_UIKIT_TESTS_MEMORY_ELEMENT_H

#include "passive-lib/uikit/core/page-element.h"
#include "passive-lib/uikit/core/shown-order.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace passive_test {

class MemoryElement : public passive::PageElement {
public:
  explicit MemoryElement(const std::string &text) {
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = std::min(text.find(';', at), text.size());
      const std::string pair = text.substr(at, end - at);
      const std::size_t equals = pair.find('=');
      attributes_[pair.substr(0, equals)] =
          equals == std::string::npos ? "" : pair.substr(equals + 1);
      at = end + 1;
    }
  }

  bool attribute(const char *name, std::string &value) const override {
    const auto found = attributes_.find(name);
    if (found == attributes_.end())
      return false;
    value = found->second;
    return true;
  }
  void setAttribute(const char *name, const std::string &value) override {
    attributes_[name] = value;
    ++writes;
  }
  void removeAttribute(const char *name) override {
    attributes_.erase(name);
    ++writes;
  }

  int writes = 0;

private:
  std::map<std::string, std::string> attributes_;
};

// A section with its element, items and ORDER read as the sheets read it.
struct MemorySection {
  MemoryElement element;
  std::vector<MemoryElement> items;
  passive::PageSection section;

  MemorySection(const std::string &attributes, const std::vector<std::string> &itemAttributes)
      : element(attributes) {
    for (const std::string &text : itemAttributes)
      items.emplace_back(text);
    section.element = &element;
    for (MemoryElement &item : items)
      section.items.push_back(&item);
    section.shown =
        passive::parseShownOrder(element.get("ORDER").value_or(""), static_cast<int>(items.size()));
  }
};

} // namespace passive_test

#endif
