// The section names a fuzz input may hold: the text between each '[' and
// the next ']', up to a limit. Some are real sections of the file, some are
// not (a bracket inside a value); the INI readers must answer both.
#ifndef PLATFORM_COMPONENTS_TESTS_FUZZ_BRACKETED_NAMES_H
#define PLATFORM_COMPONENTS_TESTS_FUZZ_BRACKETED_NAMES_H

#include <cstddef>
#include <string>
#include <vector>

namespace components_test {

inline std::vector<std::string> bracketedNames(const std::string &text, std::size_t limit = 16) {
  std::vector<std::string> names;
  for (std::size_t open = text.find('['); open != std::string::npos && names.size() < limit;
       open = text.find('[', open + 1)) {
    const std::size_t close = text.find(']', open);
    if (close == std::string::npos)
      break;
    names.push_back(text.substr(open + 1, close - open - 1));
  }
  return names;
}

} // namespace components_test

#endif
