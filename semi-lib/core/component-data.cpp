#include "semi-lib/core/component-data.h"

#include "semi-lib/core/model-library.h"

namespace semi {

bool ComponentData::putDataStr1(const std::string &text, xml::ParseError &error) {
  return loadKeepingRepeats(document_, text, error);
}

void ComponentData::cancelEdit() {
  xml::ParseError error;
  // The undo copy is our own serialisation and parses; should it ever not,
  // the live document stays rather than being lost.
  if (!undo_.empty())
    loadKeepingRepeats(document_, undo_, error);
}

} // namespace semi
