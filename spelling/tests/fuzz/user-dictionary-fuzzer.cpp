// User dictionaries (".udt") on any file: the file loads, words and
// replacements stay paired, nothing is invented, and after a word is added
// and saved every word and pair reads back, whatever the file held before.
#include "spelling/core/user-dictionary.h"

#include "testing/memory-file-system.h"
#include "testing/fuzz-harness.h"
#include "testing/string-list-items.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> pairsOf(const spelling::TUserDictionary &dictionary) {
  std::vector<std::string> pairs;
  for (int i = 0; i < dictionary.AutoCorrectWords().Count(); ++i)
    pairs.push_back(dictionary.AutoCorrectWords()[i] + "|" +
                    dictionary.AutoCorrectReplacements()[i]);
  return pairs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string text = testing_support::textOf(data, size);
  testing_support::MemoryFileSystem files;
  files.put("u.udt", text);
  std::vector<std::string> words, pairs;
  {
    spelling::TUserDictionary dictionary("u.udt", files);
    const std::size_t lines =
        1 + std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; });
    FUZZ_CHECK(static_cast<std::size_t>(dictionary.Words().Count()) <= lines);
    FUZZ_CHECK(dictionary.AutoCorrectWords().Count() ==
               dictionary.AutoCorrectReplacements().Count());
    dictionary.AddWord("zymurgist");
    dictionary.Save();
    words = testing_support::items(dictionary.Words());
    pairs = pairsOf(dictionary);
  }
  // The save loses, hides and changes nothing: every word and pair the
  // dictionary held reads back.
  spelling::TUserDictionary again("u.udt", files);
  // Listed without regard to case: a word the file held in other case
  // stands for it.
  FUZZ_CHECK(again.Words().IndexOf("zymurgist") >= 0);
  FUZZ_CHECK(testing_support::items(again.Words()) == words);
  FUZZ_CHECK(pairsOf(again) == pairs);
  return 0;
}
