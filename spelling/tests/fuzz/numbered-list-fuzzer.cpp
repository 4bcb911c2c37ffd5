// The numbered INI lists user dictionaries and the configuration are stored
// in, on any file: reading a list a piece of the section at a time gives what
// one look-up per key gives, for damaged counts too.
#include "spelling/core/enhanced-ini.h"

#include "testing/memory-file-system.h"
#include "testing/fuzz-harness.h"

#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

// The numbers n for which the text holds "IGN_n" anywhere (any case, no
// leading zero, below the most a list can hold), in order.
std::set<long> numbersNamedIn(const std::string &text) {
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
bool listByLookUps(const components::TIniFile &ini, const std::string &section,
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  testing_support::MemoryFileSystem files;
  const std::string text = testing_support::textOf(data, size);
  files.put("x.ini", text);
  spelling::TEnhancedINI ini("x.ini", files);
  for (const char *section : {"Added", ""}) {
    std::vector<std::string> expected;
    if (!listByLookUps(ini, section, text, expected))
      continue;
    components::TStringList list;
    ini.ReadList(section, "IGN", list);
    std::vector<std::string> read;
    for (int i = 0; i < list.Count(); ++i)
      read.push_back(list[i]);
    FUZZ_CHECK(read == expected);
  }
  return 0;
}
