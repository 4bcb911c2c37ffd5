// The whole-lexicon search: its candidates against the plain generator,
// the half letter set of the two-edit passes, re-casing, the limit, its
// yields counted, and a pending command stopping it before its next
// candidate.
#include "spelling/core/suggestion-search.h"

#include "spelling/core/dictionary.h"
#include "spelling/tests/suggestion-test-support.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace suggestion_test;
using Words = std::vector<std::string>;

spelling::LexiconSearchHooks hooksFor(const std::set<std::string> &known) {
  spelling::LexiconSearchHooks hooks;
  hooks.isKnownWord = [&known](std::string_view w) { return known.count(std::string(w)) != 0; };
  return hooks;
}

// Worked by hand. With the letters "atxyzq" the two-edit passes use
// "atx", and their inner edits "at".
TEST(BuildSuggestions, TwoEditPassesUseHalfTheLetters) {
  const std::string letters = "atxyzq";
  struct Case {
    std::set<std::string> known;
    const char *word;
    bool quick;
    Words expected;
  } cases[] = {
      // Two letters replaced (the last pass): c[x->a][x->t].
      {{"cat"}, "cxx", false, {"cat"}},
      {{"cat"}, "cxx", true, {"cat"}},
      // q lies in the second half of the letters: never put in by a pass.
      {{"cqt"}, "cxx", false, {}},
      // The one-edit methods use every letter: with quick, "cxq" (one
      // replacement) is found; "cqt" needs two and stays out of reach.
      {{"cxq", "cqt"}, "cxx", true, {"cxq"}},
      {{"cxq", "cqt"}, "cxx", false, {}},
      // Insert, then replace: t inserted before "ac", then t put at the
      // front again. Two-letter words get only the insert passes.
      {{"tac"}, "ac", false, {"tac"}},
      // Delete, then replace: "xcat" loses its x, then a letter of the
      // half is put at each place; putting c at place 1 gives "cat".
      {{"cat"}, "xcat", false, {"cat"}},
      // Words of one letter get no two-edit pass.
      {{"ta", "at", "a", "t"}, "x", false, {}},
  };
  for (const Case &c : cases) {
    components::TStringList list;
    const auto end =
        spelling::BuildSuggestions(c.word, list, c.quick, letters, 50, hooksFor(c.known));
    EXPECT_EQ(items(list), c.expected) << c.word << (c.quick ? " quick" : "");
    EXPECT_EQ(end, spelling::SuggestEnd::Completed);
  }
}

// Random word sets and words: the search's list equals the plain
// generator's candidates (the eight methods over every letter when
// quick, then the five two-edit passes), filtered by the same set,
// re-cased after the checked word except for the case candidates, cut
// after the entry that passes the limit.
TEST(BuildSuggestions, MatchesPlainGenerator) {
  std::mt19937 rng(1102);
  const std::string letters = "abcdAB";
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  auto randomWord = [&](std::size_t minLength, std::size_t maxLength) {
    std::string word(minLength + pick(maxLength - minLength + 1), ' ');
    for (char &c : word)
      c = letters[pick(letters.size())];
    return word;
  };
  for (int round = 0; round < 300; ++round) {
    std::set<std::string> known;
    while (known.size() < 200)
      known.insert(randomWord(1, 6));
    const std::string word = randomWord(0, 5);
    std::string current = word;
    for (char &c : current)
      if (pick(2) == 0 && c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    const bool quick = pick(2) == 0;
    const int limit = static_cast<int>(pick(60));

    auto hooks = hooksFor(known);
    hooks.matchCase = [&](const std::string &s) {
      return spelling::MatchSuggestionCase(s, current);
    };
    components::TStringList list;
    const auto end = spelling::BuildSuggestions(word, list, quick, letters, limit, hooks);

    std::vector<Candidate> candidates;
    if (quick)
      candidates = allMethodCandidates(word, letters);
    const auto twoEdits = twoEditCandidates(word, letters);
    candidates.insert(candidates.end(), twoEdits.begin(), twoEdits.end());
    const auto expected = expectedList(
        candidates, [&](const std::string &w) { return known.count(w) != 0; }, limit,
        [&](const std::string &s) { return spelling::MatchSuggestionCase(s, current); });
    ASSERT_EQ(items(list), expected)
        << "word '" << word << "' quick " << quick << " limit " << limit;
    EXPECT_EQ(end, static_cast<int>(expected.size()) > limit ? spelling::SuggestEnd::LimitReached
                                                             : spelling::SuggestEnd::Completed);
  }
}

// A limit of 2 leaves 3 entries, and the search ends there.
TEST(BuildSuggestions, LimitEndsTheSearch) {
  spelling::LexiconSearchHooks hooks;
  int lookups = 0;
  hooks.isKnownWord = [&](std::string_view w) {
    ++lookups;
    return !w.empty();
  };
  components::TStringList list;
  EXPECT_EQ(spelling::BuildSuggestions("abc", list, true, "xyz", 2, hooks),
            spelling::SuggestEnd::LimitReached);
  // Case of one letter: "Abc", "aBc", "abC" are known and distinct in
  // spelling but equal ignoring case: the first is added, the others are
  // present; then the swaps "bac" and "acb".
  EXPECT_EQ(items(list), (Words{"Abc", "bac", "acb"}));
  EXPECT_EQ(lookups, 5);
}

// Yields, counted from the rules: after six of the eight methods and
// before each insert position when quick; before each inserted letter of
// the first three passes, and before each inner position of the last
// three. For n letters, a half of h letters:
//   quick 6 + n; a (n > 2) (n + 1) h; b (n > 1) (n + 1) h;
//   c (n > 1) (n + 1) h (n + 3); d (n > 2) n (n - 1); e (n > 2) n (h - 1) (n - 1).
TEST(BuildSuggestions, YieldsAtTheirPlaces) {
  struct Case {
    const char *word;
    bool quick;
    int yields;
  } cases[] = {
      {"abcd", true, 238},                    // 10 + 20 + 20 + 140 + 12 + 36
      {"abcd", false, 228}, {"ab", true, 80}, // 8 + 12 + 60
      {"ab", false, 72},    {"a", true, 7},   {"a", false, 0}, {"", true, 6}, {"", false, 0},
  };
  for (const Case &c : cases) {
    spelling::LexiconSearchHooks hooks;
    hooks.isKnownWord = [](std::string_view) { return false; };
    int yields = 0;
    hooks.yield = [&] { ++yields; };
    components::TStringList list;
    EXPECT_EQ(spelling::BuildSuggestions(c.word, list, c.quick, "abcdefgh", 50, hooks),
              spelling::SuggestEnd::Completed);
    EXPECT_EQ(yields, c.yields) << c.word << (c.quick ? " quick" : "");
  }
}

// A command that arrives during a yield stops the search before its next
// candidate: no lookup and no yield follows, and the list is left as it
// was at that moment.
TEST(BuildSuggestions, PendingCommandStopsBeforeNextCandidate) {
  for (int stopAt : {1, 2, 7, 8, 50, 150, 237}) {
    spelling::LexiconSearchHooks hooks;
    bool pending = false;
    int lookupsAfter = 0, yields = 0, yieldsAfter = 0;
    hooks.isKnownWord = [&](std::string_view w) {
      lookupsAfter += pending;
      return w.size() == 3; // every three-letter candidate is a word
    };
    hooks.commandPending = [&] { return pending; };
    int listAtStop = -1;
    components::TStringList list;
    hooks.yield = [&] {
      yieldsAfter += pending;
      if (++yields == stopAt) {
        pending = true;
        listAtStop = list.Count();
      }
    };
    EXPECT_EQ(spelling::BuildSuggestions("abcd", list, true, "abcdefgh", 100000, hooks),
              spelling::SuggestEnd::CommandPending)
        << "stop at yield " << stopAt;
    EXPECT_EQ(lookupsAfter, 0) << stopAt;
    EXPECT_EQ(yieldsAfter, 0) << stopAt;
    EXPECT_EQ(list.Count(), listAtStop) << stopAt;
  }
  // Pending from the start: nothing is looked up.
  spelling::LexiconSearchHooks hooks;
  int lookups = 0;
  hooks.isKnownWord = [&](std::string_view) { return ++lookups, true; };
  hooks.commandPending = [] { return true; };
  components::TStringList list;
  EXPECT_EQ(spelling::BuildSuggestions("abcd", list, false, "abcd", 50, hooks),
            spelling::SuggestEnd::CommandPending);
  EXPECT_EQ(lookups, 0);
  EXPECT_EQ(list.Count(), 0);
}

// What runs during a yield may change the strings the caller passed; the
// search goes on with the word and letters it was started with.
TEST(BuildSuggestions, YieldMayChangeCallersStrings) {
  const std::set<std::string> known = {"cat", "cart", "coat", "at"};
  components::TStringList expected;
  spelling::BuildSuggestions("caat", expected, true, "acort", 50, hooksFor(known));

  std::string word = "caat", letters = "acort";
  auto hooks = hooksFor(known);
  hooks.yield = [&] {
    word.assign(300, 'z');
    letters.clear();
  };
  components::TStringList list;
  spelling::BuildSuggestions(word, list, true, letters, 50, hooks);
  EXPECT_EQ(items(list), items(expected));
  // "at" would need two deletions, a method for words of five letters.
  EXPECT_EQ(items(expected), (Words{"cat", "coat", "cart"}));
}

// With primary-only, a word that only the second dictionary knows is not
// among the dictionaries' suggestions, but the search, which asks every
// dictionary, finds it.
TEST(BuildSuggestions, FindsWordsOfEveryDictionary) {
  const auto first = makeDictionary({"cat"});
  const auto second = makeDictionary({"cot"});
  const std::vector<spelling::TDictionary *> both = {first.get(), second.get()};
  components::TStringList list;
  spelling::SuggestFromDictionaries(both, true, "cxt", list);
  EXPECT_EQ(items(list), (Words{"cat"}));

  spelling::LexiconSearchHooks hooks;
  hooks.isKnownWord = [&](std::string_view w) { return first->Contains(w) || second->Contains(w); };
  spelling::BuildSuggestions("cxt", list, true, "acotx", 50, hooks);
  EXPECT_EQ(items(list), (Words{"cat", "cot"}));
}

} // namespace
