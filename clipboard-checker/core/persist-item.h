// One line of the persistence component's Items: fields separated by ";",
// each trimmed of surrounding blanks:
//   0 component name in the owner form, or "(TForm)" for the form itself
//   1 property name, or the pseudo properties "Parent" and "Bounds"
//   2 type code (the property's kind as a number; shown by the setup
//     dialog, unused by loading and saving)
//   3 value name in the store
//   4, 5, 9 carried along
//   6 "1": loaded but never saved
//   7 "1": listed in the setup dialog
//   8 description for the setup dialog
// A line counts only if field 0, 1 or 3 is not empty.
#ifndef CLIPBOARD_CHECKER_CORE_PERSIST_ITEM_H
#define CLIPBOARD_CHECKER_CORE_PERSIST_ITEM_H

#include <string>
#include <vector>

namespace lexitray {

// The owner form's stand-in name in field 0.
extern const char ownerFormName[]; // "(TForm)"

struct PersistItem {
  std::vector<std::string> fields;

  static PersistItem parse(const std::string &line);
  // Field n, empty when the line has fewer.
  std::string field(std::size_t n) const;
  std::string line() const; // fields joined by ";"

  std::string componentName() const { return field(0); }
  std::string propertyName() const { return field(1); }
  std::string valueName() const { return field(3); }
  bool counts() const { return !field(0).empty() || !field(1).empty() || !field(3).empty(); }
  bool loadOnly() const { return field(6) == "1"; }
};

} // namespace lexitray

#endif
