// What the "Results" page does to the RESULT section: its rows (name, last
// value, unit) and the check boxes that choose the results shown on the
// drawing, written to ORDER in the order they were checked.
#ifndef PASSIVE_LIB_UIKIT_CORE_RESULT_PAGE_MODEL_H
#define PASSIVE_LIB_UIKIT_CORE_RESULT_PAGE_MODEL_H

#include "passive-lib/uikit/core/page-element.h"

#include <string>

namespace passive {

struct ItemRow {
  std::string name, value, unit;
};

class ResultPageModel {
public:
  explicit ResultPageModel(PageSection &section) : section_(section) {}

  int rowCount() const { return static_cast<int>(section_.items.size()); }
  // The value in metric format with 3 digits from IEEE; without IEEE the
  // TEXT, else DEFAULT; "ERROR" when none reads.
  ItemRow row(int row) const;
  bool shown(int row) const;
  // A check box changed: ORDER is rewritten; false for a row outside the list.
  bool checkChanged(int row, bool checked);
  // The tooltip of a cell (column 255: the check box).
  std::string tip(int row, int column) const;

private:
  PageSection &section_;
};

} // namespace passive

#endif
