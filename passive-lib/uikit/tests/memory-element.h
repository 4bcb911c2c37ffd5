// An element of the component XML in memory for the page models' tests:
// attributes in a map and a count of every write.
#ifndef PASSIVE_LIB_UIKIT_TESTS_MEMORY_ELEMENT_H
#define PASSIVE_LIB_UIKIT_TESTS_MEMORY_ELEMENT_H

#include "passive-lib/uikit/core/page-element.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace passive_test {

class MemoryElement : public passive::PageElement {
public:
  MemoryElement() = default;
  explicit MemoryElement(std::map<std::string, std::string> attributes)
      : attributes_(std::move(attributes)) {}

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

  const std::map<std::string, std::string> &attributes() const { return attributes_; }
  int writes = 0;

private:
  std::map<std::string, std::string> attributes_;
};

// A section with its element, items and ORDER read as the sheets read it.
struct MemorySection {
  MemoryElement element;
  std::vector<MemoryElement> items;
  passive::PageSection section;

  MemorySection(std::map<std::string, std::string> attributes,
                std::vector<std::map<std::string, std::string>> itemAttributes);
};

} // namespace passive_test

#endif
