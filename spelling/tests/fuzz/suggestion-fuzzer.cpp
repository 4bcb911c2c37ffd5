// Suggestions for any word of any text, from a dictionary of every
// twentieth word of the system's English word list: suggesting returns, and
// every suggestion is a known word or two.
#include "spelling/core/dictionary.h"
#include "spelling/core/suggestion-search.h"
#include "spelling/core/suggestions.h"
#include "spelling/tools/dct-build.h"

#include "platform/components/core/stream.h"
#include "platform/components/core/string-list.h"
#include "testing/fuzz-harness.h"

#include <fstream>
#include <memory>

namespace {

std::unique_ptr<spelling::TDictionary> dictionary;

std::vector<std::string> someEnglishWords() {
  std::vector<std::string> words = {"receive", "believe", "weird",  "the",   "their",
                                    "a",       "I",       "cannot", "can't", "co-op"};
  std::ifstream list("/usr/share/dict/american-english");
  std::string word;
  for (int line = 0; std::getline(list, word); ++line)
    if (line % 20 == 0 && spelling::dct::rejectionReason(word).empty())
      words.push_back(word);
  return words;
}

bool known(const std::string &entry) {
  const std::size_t space = entry.find(' ');
  if (space == std::string::npos)
    return dictionary->Contains(entry);
  return dictionary->Contains(entry.substr(0, space)) &&
         dictionary->Contains(entry.substr(space + 1));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  const spelling::dct::Bytes file =
      spelling::dct::buildDictionary(someEnglishWords(), spelling::dct::BuildOptions()).file;
  components::TMemoryStream stream;
  stream.WriteBuffer(file.data(), file.size());
  dictionary = std::make_unique<spelling::TDictionary>("english.dct");
  dictionary->loadFrom(stream);
  return 0;
}

// Byte 0 chooses the quick search; the rest is the word.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0)
    return 0;
  const std::string word = testing_support::textOf(data + 1, size - 1);
  components::TStringList list;
  dictionary->Suggest(word, list);
  for (int i = 0; i < list.Count(); ++i)
    FUZZ_CHECK(known(list[i]));
  // The search's two-edit passes grow with the square of the length.
  if (word.size() > 8)
    return 0;
  spelling::LexiconSearchHooks hooks;
  hooks.isKnownWord = [](std::string_view w) { return dictionary->Contains(w); };
  hooks.matchCase = [&](const std::string &c) { return spelling::MatchSuggestionCase(c, word); };
  components::TStringList searched;
  spelling::BuildSuggestions(word, searched, data[0] & 1, dictionary->Alphabet(), 50, hooks);
  FUZZ_CHECK(searched.Count() <= 51);
  return 0;
}
