// The spelling configuration ("VERBA.CFG") on any file, in a folder of two
// main dictionaries and a user dictionary: it loads, and lists no more
// entries than the file has lines (plus the scanned folder's three).
#include "spelling/core/configuration.h"

#include "testing/memory-file-system.h"
#include "spelling/tests/title-only-dictionary.h"
#include "testing/fuzz-harness.h"

#include <algorithm>

namespace {

const char Folder[] = "C:\\Lexitray\\";
const char ConfigPath[] = "C:\\Lexitray\\VERBA.CFG";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using namespace spelling;
  const std::string text = testing_support::textOf(data, size);
  testing_support::MemoryFileSystem files;
  files.put(std::string(Folder) + "english.dct", spelling_tests::dictionaryWithTitle("English"));
  files.put(std::string(Folder) + "medical.dct", spelling_tests::dictionaryWithTitle("Medical"));
  files.put(std::string(Folder) + "default.udt", "");
  files.put(std::string(Folder) + "short.dct", "tiny");
  files.put(ConfigPath, text);
  const TSpellOptions defaults{soInternet, soAutoSuggest, soPrimaryOnly, soRecheck, soRepeated};
  TConfiguration config(ConfigPath, defaults, "default.udt", "english.dct", "verba", files);
  const std::size_t lines =
      1 + std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; });
  FUZZ_CHECK(config.MainEntries().size() + config.UserEntries().size() <= lines + 3);
  config.SetModified(false);
  return 0;
}
