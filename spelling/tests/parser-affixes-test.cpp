// Ignored prefixes and suffixes with the component's default lists ("'" and
// "';'s") and a few others; expected words worked out by hand.
#include "spelling/core/parser-affixes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using spelling::splitAffixes;
using spelling::StripAffixes;

TEST(ParserAffixes, SplitKeepsTheNonEmptyItems) {
  using List = std::vector<std::string>;
  EXPECT_EQ(splitAffixes("';'s"), (List{"'", "'s"}));
  EXPECT_EQ(splitAffixes("'"), (List{"'"}));
  EXPECT_EQ(splitAffixes(""), List{});
  EXPECT_EQ(splitAffixes(";;a;;b;"), (List{"a", "b"}));
}

TEST(ParserAffixes, DefaultsStripApostrophes) {
  const auto prefixes = splitAffixes("'");
  const auto suffixes = splitAffixes("';'s");
  struct Case {
    const char *word;
    const char *stripped;
  };
  const std::vector<Case> cases = {
      {"'tis", "tis"},
      {"John's", "John"}, // "'" occurs first before the "s": only "'s" applies
      {"cats'", "cats"},
      {"''tis''", "tis''"}, // the first "'" after "tis" does not end it
      {"'", ""},
      {"''", ""},
      {"", ""},
      {"don't", "don't"},
      {"rock'n'roll's", "rock'n'roll"},
      {"a's'b's", "a's'b's"}, // the first "'s" does not end the word
      {"'s's", "s"},
      {"it's'", "it's'"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(StripAffixes(c.word, prefixes, suffixes), c.stripped) << c.word;
}

TEST(ParserAffixes, ItemsAreTriedInOrder) {
  EXPECT_EQ(StripAffixes("unredo", {"re", "un"}, {}), "do");
  EXPECT_EQ(StripAffixes("walking", {}, {"ing", "k"}), "wal");
  EXPECT_EQ(StripAffixes("word", {""}, {""}), "word");
}

} // namespace
