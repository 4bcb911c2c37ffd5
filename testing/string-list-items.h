// A string list's items as a vector, for comparing in one assertion.
#ifndef TESTING_STRING_LIST_ITEMS_H
#define TESTING_STRING_LIST_ITEMS_H

#include "platform/components/core/string-list.h"

#include <string>
#include <vector>

namespace testing_support {

inline std::vector<std::string> items(const components::TStringList &list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(list[i]);
  return out;
}

} // namespace testing_support

#endif
