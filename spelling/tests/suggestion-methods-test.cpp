// A main dictionary's suggestions: each edit method against tables worked
// out by hand and against the plain generator of the test support, the
// list limit, re-casing and the dialog's two-pass list.
#include "spelling/core/dictionary.h"
#include "spelling/core/suggestions.h"
#include "spelling/tests/suggestion-test-support.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace suggestion_test;
using Words = std::vector<std::string>;

Words suggest(const spelling::TDictionary &dictionary, const std::string &word) {
  components::TStringList list;
  dictionary.Suggest(word, list);
  return items(list);
}

// Every expected list here was derived by hand from the methods, in order:
// case, swap neighbours, delete, insert (after the first letter), replace,
// swap across one, delete two, split.
TEST(DictionarySuggest, HandWorkedTables) {
  const auto cats = makeDictionary({"act", "at", "cat", "cart", "coat", "cot", "Tac"});
  // Most used letters first, ties in byte order: a, c and t six times each.
  ASSERT_EQ(cats->Alphabet(), "actoTr");
  const auto phrases = makeDictionary({"in", "the", "inn", "he"});
  const auto letters = makeDictionary({"X", "xa", "a"});
  struct Case {
    const spelling::TDictionary *dictionary;
    const char *word;
    Words expected;
  } cases[] = {
      {cats.get(), "cta", {"cat"}},                  // swap neighbours
      {cats.get(), "caat", {"cat", "coat", "cart"}}, // delete, then replace twice
      {cats.get(), "tac", {"Tac", "cat"}},           // case of one letter, swap across
      {cats.get(), "cattt", {"cat"}},                // delete two
      {cats.get(), "ct", {"cat", "cot", "at"}},      // insert after the first letter, replace
      {cats.get(), "zzz", {}},
      {cats.get(), "", {}},
      {phrases.get(), "inthe", {"the", "in the"}}, // delete two, split
      {phrases.get(), "inhe", {"in he"}},          // split only
      {letters.get(), "x", {"X", "xa", "a"}},      // one letter: case, insert, replace
  };
  for (const Case &c : cases)
    EXPECT_EQ(suggest(*c.dictionary, c.word), c.expected) << c.word;
}

// One-letter words get no swaps, splits or double deletes; a word of n
// letters gets swaps across one only when n > 2, delete two when n > 4,
// splits when n > 3.
TEST(DictionarySuggest, MethodsNeedLongEnoughWords) {
  const auto knowsAll = [](std::string_view word) { return !word.empty(); };
  struct Case {
    std::uint8_t method;
    const char *word;
    int count; // candidates offered to a collector that knows everything
  } cases[] = {
      {spelling::SuggestSwapNeighbours, "a", 0}, {spelling::SuggestSwapNeighbours, "ab", 1},
      {spelling::SuggestSwapAcrossOne, "ab", 0}, {spelling::SuggestSwapAcrossOne, "abc", 1},
      {spelling::SuggestDeleteTwo, "abcd", 0},   {spelling::SuggestDeleteTwo, "abcde", 10},
      {spelling::SuggestSplit, "abc", 0},        {spelling::SuggestSplit, "abcd", 1},
      {spelling::SuggestDeleteOne, "a", 0},      {spelling::SuggestInsertOne, "a", 2},
      {spelling::SuggestReplaceOne, "a", 2},     {spelling::SuggestCaseOfOne, "a1", 1},
  };
  for (const Case &c : cases) {
    components::TStringList list;
    list.SetDuplicates(components::TDuplicates::dupAccept);
    spelling::CandidateCollector collector(list, 1000, knowsAll);
    spelling::runEditMethod(c.method, c.word, "ab", collector);
    // Equal candidates count once: "abcde" minus two letters gives 10
    // distinct strings of the 20 made.
    EXPECT_EQ(list.Count(), c.count) << int(c.method) << " " << c.word;
  }
}

// Each method alone, with a collector that knows every word, against the
// plain generator: same candidates, same order.
TEST(DictionarySuggest, EachMethodMatchesPlainGenerator) {
  const Words words = {"", "a", "Q", "ab", "aB", "abc", "abca", "abcde", "xAbCdEf", "a-b"};
  const std::string letters = "abAc";
  const auto knowsAll = [](const std::string &) { return true; };
  for (int method = 1; method <= 0x80; method <<= 1) {
    for (const std::string &word : words) {
      components::TStringList list;
      spelling::CandidateCollector collector(list, 100000, [](std::string_view) { return true; });
      spelling::runEditMethod(static_cast<std::uint8_t>(method), word, letters, collector);
      EXPECT_EQ(items(list),
                expectedList(methodCandidates(method, word, letters), knowsAll, 100000))
          << "method " << method << " word '" << word << "'";
    }
  }
}

// Random dictionaries over a small alphabet (so that many candidates are
// words), random words and limits: the dictionary's whole suggestion run
// equals the plain generator filtered by the same word set.
TEST(DictionarySuggest, MatchesPlainGeneratorOnRandomDictionaries) {
  std::mt19937 rng(1102);
  const std::string letters = "abcAB";
  auto randomWord = [&](std::size_t minLength, std::size_t maxLength) {
    std::string word(std::uniform_int_distribution<std::size_t>(minLength, maxLength)(rng), ' ');
    for (char &c : word)
      c = letters[std::uniform_int_distribution<std::size_t>(0, letters.size() - 1)(rng)];
    return word;
  };
  for (int round = 0; round < 20; ++round) {
    std::set<std::string> set;
    while (set.size() < 150)
      set.insert(randomWord(1, 6));
    const auto dictionary = makeDictionary(Words(set.begin(), set.end()));
    const auto known = [&](const std::string &w) { return set.count(w) != 0; };
    for (int i = 0; i < 50; ++i) {
      const std::string word = randomWord(0, 7);
      const int limit = std::uniform_int_distribution<int>(0, 15)(rng);
      dictionary->SetSuggestLimit(limit);
      EXPECT_EQ(suggest(*dictionary, word),
                expectedList(allMethodCandidates(word, dictionary->Alphabet()), known, limit))
          << "word '" << word << "' limit " << limit;
    }
  }
}

// The generator stops after the addition that takes the list past the
// limit: a limit of 2 shows at most 3 entries.
TEST(DictionarySuggest, LimitAllowsOneEntryMore) {
  const auto dictionary = makeDictionary({"act", "at", "cat", "cart", "coat", "cot", "Tac"});
  const std::pair<int, Words> cases[] = {
      {0, {"cat"}},
      {1, {"cat", "coat"}},
      {2, {"cat", "coat", "cart"}},
      {30, {"cat", "coat", "cart"}},
  };
  for (const auto &c : cases) {
    dictionary->SetSuggestLimit(c.first);
    EXPECT_EQ(suggest(*dictionary, "caat"), c.second) << "limit " << c.first;
  }
  // A list already past the limit takes one more entry, then stops.
  dictionary->SetSuggestLimit(2);
  components::TStringList list;
  for (const char *entry : {"x", "y", "z", "w"})
    list.Add(entry);
  dictionary->Suggest("caat", list);
  EXPECT_EQ(items(list), (Words{"x", "y", "z", "w", "cat"}));
}

// Entries already in the list, in any case, are not added again.
TEST(DictionarySuggest, PresenceIgnoresCase) {
  const auto dictionary = makeDictionary({"the", "tech", "ten", "eh"});
  components::TStringList list;
  list.Add("THE");
  list.Add("Ten");
  dictionary->Suggest("teh", list);
  EXPECT_EQ(items(list), (Words{"THE", "Ten", "eh", "tech"}));
}

TEST(MatchSuggestionCase, ExamplesAndEdges) {
  struct Case {
    const char *suggestion, *word, *expected;
  } cases[] = {
      {"the", "teh", "the"},
      {"the", "Teh", "The"},
      {"the", "TEH", "THE"},
      {"hello", "HELO", "HELLO"},
      {"hello", "HELo", "HELlo"},
      {"hello", "HeLO", "HeLLO"},
      {"in the", "INTHE", "IN THE"},
      {"a", "AB", "A"},
      {"abc", "", "abc"},
      {"", "ABC", ""},
      {"x-ray", "XRAY", "X-RAY"},
      {"\xE9t\xE9", "ETE", "\xE9T\xE9"},
      {"Mcdonald", "mCDONALDS", "MCDONALD"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(spelling::MatchSuggestionCase(c.suggestion, c.word), c.expected)
        << c.suggestion << " after " << c.word;
}

TEST(MergeSuggestions, RecasesOnlyLowerCaseEntriesAndSorts) {
  components::TStringList list;
  list.SetSorted(true);
  for (const char *entry : {"the", "Tea", "ten", "eh", "t-bar"})
    list.Add(entry);
  spelling::MergeSuggestions(list, "Teh");
  EXPECT_TRUE(list.Sorted());
  EXPECT_EQ(items(list), (Words{"Eh", "T-bar", "Tea", "Ten", "The"}));

  // The component's own case events, when assigned, decide instead.
  components::TStringList other;
  other.Add("abc");
  other.Add("ABD");
  spelling::MergeSuggestions(
      other, "x", [](const std::string &s) { return s == "ABD" ? s : std::string("?"); },
      [](const std::string &s, const std::string &w) { return s + w; });
  EXPECT_EQ(items(other), (Words{"abc", "ABDx"}));
}

// The dialog's list for "Teh": the lower-case pass re-cased ("The" among
// them), then the exact pass, whose "eh" is already listed as "Eh".
TEST(CollectDialogSuggestions, LowerCasePassIsRecased) {
  const auto dictionary = makeDictionary({"the", "tech", "ten", "eh"});
  const auto getSuggestions = [&](const std::string &word, components::TStringList &list) {
    dictionary->Suggest(word, list);
  };
  components::TStringList list;
  spelling::CollectDialogSuggestions("Teh", list, getSuggestions);
  EXPECT_EQ(items(list), (Words{"Eh", "Tech", "Ten", "The"}));
  spelling::CollectDialogSuggestions("teh", list, getSuggestions);
  EXPECT_EQ(items(list), (Words{"eh", "tech", "ten", "the"}));
  spelling::CollectDialogSuggestions("TEH", list, getSuggestions);
  EXPECT_EQ(items(list), (Words{"EH", "TECH", "TEN", "THE"}));
}

// Only the first dictionary when primary-only, else each in order.
TEST(SuggestFromDictionaries, PrimaryOnly) {
  const auto first = makeDictionary({"cat"});
  const auto second = makeDictionary({"cot", "cat"});
  const std::vector<spelling::TDictionary *> both = {first.get(), second.get()};
  components::TStringList list;
  spelling::SuggestFromDictionaries(both, true, "cxt", list);
  EXPECT_EQ(items(list), (Words{"cat"}));
  list.Clear();
  spelling::SuggestFromDictionaries(both, false, "cxt", list);
  EXPECT_EQ(items(list), (Words{"cat", "cot"}));
}

} // namespace
