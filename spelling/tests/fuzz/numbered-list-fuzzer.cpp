// The numbered INI lists user dictionaries and the configuration are stored
// in, on any file: reading a list a piece of the section at a time gives what
// one look-up per key gives.
#include "spelling/core/enhanced-ini.h"

#include "testing/memory-file-system.h"
#include "testing/fuzz-harness.h"

#include <vector>

namespace {

// The list by the plain definition; false when the count is too large to
// walk here.
bool listByLookUps(const components::TIniFile &ini, const std::string &section,
                   std::vector<std::string> &out) {
  const int count = ini.ReadInteger(section, "IGN_ListCount", 0);
  if (count > 300)
    return false;
  for (int i = 0; i < count; ++i) {
    std::string item = ini.ReadString(section, "IGN_" + std::to_string(i), "");
    if (!item.empty())
      out.push_back(item);
  }
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  testing_support::MemoryFileSystem files;
  files.put("x.ini", testing_support::textOf(data, size));
  spelling::TEnhancedINI ini("x.ini", files);
  for (const char *section : {"Added", ""}) {
    std::vector<std::string> expected;
    if (!listByLookUps(ini, section, expected))
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
