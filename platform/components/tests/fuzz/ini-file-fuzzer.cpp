// The INI reader and writer on any file: every section and key reads, a
// value written reads back, a rewrite leaves no temporary file, and a file
// that had no byte-order mark is never written back starting with one.
#include "platform/components/core/ini-file.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/tests/fuzz/bracketed-names.h"
#include "testing/memory-file-system.h"
#include "testing/fuzz-harness.h"

#include <algorithm>
#include <string>

namespace {

bool startsWithMark(const std::string &text) {
  for (const char *mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
    if (text.compare(0, std::char_traits<char>::length(mark), mark) == 0)
      return true;
  return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string path = "fuzz.ini";
  const std::string original = testing_support::textOf(data, size);
  testing_support::MemoryFileSystem fs;
  fs.put(path, original);
  components::TIniFile ini(path, fs);

  const std::vector<std::string> sections = components_test::bracketedNames(original);
  for (const std::string &section : sections) {
    components::TStringList keys, values;
    ini.ReadSection(section, keys);
    ini.ReadSectionValues(section, values);
    const int keyCount = std::min(keys.Count(), 16);
    for (int k = 0; k < keyCount; ++k) {
      ini.ReadString(section, keys[k], "d");
      ini.ReadInteger(section, keys[k], 0);
      FUZZ_CHECK(ini.ValueExists(section, keys[k]));
    }
  }

  ini.WriteString("Fuzz", "Key", "caf\xE9");
  FUZZ_CHECK(ini.ReadString("fuzz", "key", "missing") == "caf\xE9");
  FUZZ_CHECK(startsWithMark(fs.get(path)) == startsWithMark(original));
  if (!sections.empty())
    ini.EraseSection(sections[0]);
  ini.DeleteKey("fuzz", "key");
  FUZZ_CHECK(!ini.ValueExists("fuzz", "key"));
  FUZZ_CHECK(fs.paths().size() == 1);
  return 0;
}
