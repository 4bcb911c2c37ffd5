// A numbered INI list as the plain definition reads it, one look-up per
// key: what reading it a piece of the section at a time must give.
#ifndef SPELLING_TESTS_FUZZ_NUMBERED_LIST_MODEL_H
#define SPELLING_TESTS_FUZZ_NUMBERED_LIST_MODEL_H

#include "platform/components/core/ini-file.h"

#include <limits>
#include <set>
#include <string>
#include <vector>

namespace numbered_list_model {

// The numbers n for which the text holds "IGN_n" anywhere (any case, no
// leading zero, below the most a list can hold), in order.
inline std::set<long> numbersNamedIn(const std::string &text) {
  std::set<long> numbers;
  for (std::size_t at = 0; at + 4 < text.size(); ++at) {
    if (!components::SameText(text.substr(at, 4), "IGN_"))
      continue;
    std::size_t digit = at + 4;
    if (text[digit] == '0') {
      numbers.insert(0);
      continue;
    }
    long long number = 0;
    for (; digit < text.size() && text[digit] >= '0' && text[digit] <= '9'; ++digit) {
      number = number * 10 + (text[digit] - '0');
      if (number >= std::numeric_limits<int>::max())
        break;
    }
    if (digit > at + 4 && number < std::numeric_limits<int>::max())
      numbers.insert(static_cast<long>(number));
  }
  return numbers;
}

// The list by the plain definition, one look-up per key: the items 0 to
// the stored count, or, where the count is one no writer gives (negative,
// not a number, missing), every numbered item the file holds. False when
// the count is too large to walk here.
inline bool listByLookUps(const components::TIniFile &ini, const std::string &section,
                          const std::string &text, std::vector<std::string> &out) {
  const int count = ini.ReadInteger(section, "IGN_ListCount", -1);
  if (count > 300)
    return false;
  std::set<long> numbers;
  if (count < 0)
    numbers = numbersNamedIn(text);
  for (int i = 0; i < count; ++i)
    numbers.insert(i);
  for (long i : numbers) {
    std::string item = ini.ReadString(section, "IGN_" + std::to_string(i), "");
    if (!item.empty())
      out.push_back(item);
  }
  return true;
}

} // namespace numbered_list_model

#endif
