// The numbered INI lists user dictionaries and the configuration are stored
// in, on any file: reading a list a piece of the section at a time gives what
// one look-up per key gives, for damaged counts too.
#include "spelling/core/enhanced-ini.h"
#include "spelling/tests/fuzz/numbered-list-model.h"

#include "testing/fuzz-harness.h"
#include "testing/memory-file-system.h"
#include "testing/string-list-items.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  testing_support::MemoryFileSystem files;
  const std::string text = testing_support::textOf(data, size);
  files.put("x.ini", text);
  spelling::TEnhancedINI ini("x.ini", files);
  for (const char *section : {"Added", ""}) {
    std::vector<std::string> expected;
    if (!numbered_list_model::listByLookUps(ini, section, text, expected))
      continue;
    components::TStringList list;
    ini.ReadList(section, "IGN", list);
    FUZZ_CHECK(testing_support::items(list) == expected);
  }
  return 0;
}
