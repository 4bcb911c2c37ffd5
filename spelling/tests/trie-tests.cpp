// Letter tries: byte-exact membership, values, deletion and the lookup
// list's replacements.
#include "spelling/core/trie.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using spelling::TTrie;
using spelling::TTrieLookupList;
using spelling::TTrieStringList;

struct MembershipCase {
  const char *name;
  std::vector<std::string> added;
  std::vector<std::string> deleted;
  std::vector<std::string> found;
  std::vector<std::string> missing;
};

class TrieMembership : public testing::TestWithParam<MembershipCase> {};

TEST_P(TrieMembership, FindsExactlyTheStoredWords) {
  const MembershipCase &c = GetParam();
  TTrie trie;
  for (const std::string &word : c.added)
    trie.Add(word);
  for (const std::string &word : c.deleted)
    trie.Delete(word);
  for (const std::string &word : c.found)
    EXPECT_TRUE(trie.Find(word)) << word;
  for (const std::string &word : c.missing)
    EXPECT_FALSE(trie.Find(word)) << word;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrieMembership,
    testing::Values(
        MembershipCase{
            "LongerThenPrefix", {"cats", "cat"}, {}, {"cats", "cat"}, {"ca", "c", "catss"}},
        MembershipCase{"PrefixThenLonger", {"cat", "cats"}, {}, {"cats", "cat"}, {"ca"}},
        MembershipCase{
            "DeleteLastSibling", {"b", "d", "f"}, {"f"}, {"b", "d"}, {"f", "a", "c", "e"}},
        MembershipCase{"DeleteKeepsLonger", {"cat", "cats"}, {"cat"}, {"cats"}, {"cat"}},
        MembershipCase{"DeleteAbsentChangesNothing", {"dog"}, {"do", "dogs", "x"}, {"dog"}, {}},
        MembershipCase{"CaseSensitive", {"cat"}, {}, {"cat"}, {"Cat", "CAT"}},
        MembershipCase{"InsertBeforeFirstSibling", {"m", "c", "a"}, {}, {"a", "c", "m"}, {"b"}},
        MembershipCase{
            "InsertBetweenSiblings", {"a", "z", "m", "q"}, {}, {"a", "m", "q", "z"}, {"n"}},
        MembershipCase{"HighBytesSortAfterAscii",
                       {"caf\xE9", "cafe", "caf\x7F"},
                       {},
                       {"caf\xE9", "cafe", "caf\x7F"},
                       {"caf\xE8", "caf"}},
        MembershipCase{"EmptyWordNeverStored", {"", "a"}, {}, {"a"}, {""}},
        MembershipCase{"ReAddAfterDelete", {"x", "y"}, {"x"}, {"y"}, {"x"}}),
    [](const testing::TestParamInfo<MembershipCase> &info) {
      return std::string(info.param.name);
    });

TEST(Trie, FindRemembersTheValueOfTheLastFoundWord) {
  TTrie trie;
  EXPECT_EQ(trie.LastValue(), -1);
  trie.AddValue("one", 1);
  trie.AddValue("two", 2);
  trie.AddValue("tw", 7); // a prefix of a stored word takes its own value
  ASSERT_TRUE(trie.Find("two"));
  EXPECT_EQ(trie.LastValue(), 2);
  ASSERT_TRUE(trie.Find("tw"));
  EXPECT_EQ(trie.LastValue(), 7);
  EXPECT_FALSE(trie.Find("three"));
  EXPECT_EQ(trie.LastValue(), 7) << "a failed Find keeps the last found value";
  trie.AddValue("one", 5); // adding again updates the value
  ASSERT_TRUE(trie.Find("one"));
  EXPECT_EQ(trie.LastValue(), 5);
  trie.Clear();
  EXPECT_EQ(trie.LastValue(), -1);
  EXPECT_FALSE(trie.Find("one"));
}

TEST(Trie, AddValueGoesThroughTheSubclassAdd) {
  TTrieStringList list;
  list.AddValue("alpha", 3);
  ASSERT_EQ(list.Words().Count(), 1);
  EXPECT_EQ(list.Words()[0], "alpha");
  ASSERT_TRUE(list.Find("alpha"));
  EXPECT_EQ(list.LastValue(), 3);
}

TEST(TrieStringList, DeleteRemovesTheFirstEqualEntryOnly) {
  TTrieStringList list;
  for (const char *word : {"Cat", "cat", "dog", "cat"})
    list.Add(word);
  list.Delete("cat");
  ASSERT_EQ(list.Words().Count(), 3);
  EXPECT_EQ(list.Words()[0], "Cat");
  EXPECT_EQ(list.Words()[1], "dog");
  EXPECT_EQ(list.Words()[2], "cat");
  EXPECT_FALSE(list.Find("cat"));
  EXPECT_TRUE(list.Find("Cat"));
  list.Clear();
  EXPECT_EQ(list.Words().Count(), 0);
  EXPECT_FALSE(list.Find("dog"));
}

TEST(TrieLookupList, LaterPairForAPrefixGetsItsOwnReplacement) {
  TTrieLookupList pairs;
  pairs.AddPair("tehm", "them");
  pairs.AddPair("teh", "the");
  ASSERT_TRUE(pairs.Find("teh"));
  EXPECT_EQ(pairs.FoundReplacement(), "the");
  ASSERT_TRUE(pairs.Find("tehm"));
  EXPECT_EQ(pairs.FoundReplacement(), "them");
}

TEST(TrieLookupList, DeletingOnePairLeavesEveryOtherReplacement) {
  TTrieLookupList pairs;
  const std::vector<std::pair<std::string, std::string>> all = {
      {"adn", "and"}, {"teh", "the"}, {"hte", "the"}, {"recieve", "receive"}, {"wiht", "with"}};
  for (const auto &pair : all)
    pairs.AddPair(pair.first, pair.second);
  pairs.Delete("teh");
  EXPECT_FALSE(pairs.Find("teh"));
  for (const auto &pair : all) {
    if (pair.first == "teh")
      continue;
    ASSERT_TRUE(pairs.Find(pair.first)) << pair.first;
    EXPECT_EQ(pairs.FoundReplacement(), pair.second) << pair.first;
  }
  // A pair added after the deletion does not take over another's entry.
  pairs.AddPair("teh", "tech");
  ASSERT_TRUE(pairs.Find("teh"));
  EXPECT_EQ(pairs.FoundReplacement(), "tech");
  ASSERT_TRUE(pairs.Find("hte"));
  EXPECT_EQ(pairs.FoundReplacement(), "the");
}

TEST(TrieLookupList, NoReplacementBeforeAnyFindOrAfterClear) {
  TTrieLookupList pairs;
  EXPECT_EQ(pairs.FoundReplacement(), "");
  pairs.AddPair("a", "b");
  ASSERT_TRUE(pairs.Find("a"));
  pairs.Clear();
  EXPECT_EQ(pairs.FoundReplacement(), "");
  EXPECT_FALSE(pairs.Find("a"));
  // A plain Add carries no replacement index of its own.
  pairs.AddValue("x", 99);
  ASSERT_TRUE(pairs.Find("x"));
  EXPECT_EQ(pairs.FoundReplacement(), "");
}

TEST(Trie, ManyWordsStayFindable) {
  // Every two-letter word over a small alphabet, added in an order that
  // forces inserts at the head, middle and tail of each level.
  const std::string letters = "qzamxbyc";
  TTrieStringList trie;
  for (char a : letters)
    for (char b : letters)
      trie.Add(std::string{a, b});
  for (char a : letters)
    for (char b : letters)
      EXPECT_TRUE(trie.Find(std::string{a, b}));
  EXPECT_FALSE(trie.Find("qd"));
  EXPECT_EQ(trie.Words().Count(), 64);
}

} // namespace
