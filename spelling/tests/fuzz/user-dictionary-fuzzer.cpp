// User dictionaries (".udt") on any file: the file loads, words and
// replacements stay paired, nothing is invented, and a word added and saved
// reads back, whatever the file held before.
#include "spelling/core/user-dictionary.h"

#include "testing/memory-file-system.h"
#include "testing/fuzz-harness.h"

#include <algorithm>

namespace {

bool listed(const components::TStringList &list, const std::string &word) {
  for (int i = 0; i < list.Count(); ++i)
    if (list[i] == word)
      return true;
  return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string text = testing_support::textOf(data, size);
  testing_support::MemoryFileSystem files;
  files.put("u.udt", text);
  {
    spelling::TUserDictionary dictionary("u.udt", files);
    const std::size_t lines =
        1 + std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; });
    FUZZ_CHECK(static_cast<std::size_t>(dictionary.Words().Count()) <= lines);
    FUZZ_CHECK(dictionary.AutoCorrectWords().Count() ==
               dictionary.AutoCorrectReplacements().Count());
    dictionary.AddWord("zymurgist");
    dictionary.Save();
  }
  spelling::TUserDictionary again("u.udt", files);
  FUZZ_CHECK(listed(again.Words(), "zymurgist"));
  return 0;
}
