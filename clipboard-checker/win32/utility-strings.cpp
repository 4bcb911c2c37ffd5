// The utility string table of the program module.
#include "clipboard-checker/win32/utility-strings.h"

#include "clipboard-checker/win32/string-resource.h"

namespace lexitray {

namespace {

const TzmStringResource &utilityStrings() {
  static const TzmStringResource table(GetModuleHandleA(nullptr), "BASEKIT_STRINGS_ENGLISH");
  return table;
}

} // namespace

void openUtilityStrings() { utilityStrings(); }

std::string BkLoadStr(int id) { return utilityStrings().GetString(id); }

} // namespace lexitray
