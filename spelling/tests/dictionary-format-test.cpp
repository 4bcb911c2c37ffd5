// The ".dct" reader and lookup on hand-made files: every child kind, the
// walk's edge cases, opening and closing, and the alphabet as word
// characters.
#include "spelling/core/dictionary.h"
#include "spelling/core/word-chars.h"
#include "spelling/tests/dct-test-bytes.h"

#include "platform/components/core/exception.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using dct_test::Block;
using dct_test::Bytes;
using dct_test::dctFile;
using dct_test::node;
using dct_test::putU16;
using dct_test::scratchFile;

// Writes the bytes to a scratch file and opens them as a dictionary.
struct OpenedFile {
  OpenedFile(const std::string &name, const Bytes &bytes)
      : path(scratchFile(name)), dictionary((dct_test::writeFile(path, bytes), path)) {
    opened = dictionary.Open();
  }
  ~OpenedFile() { std::remove(path.c_str()); }
  std::string path;
  spelling::TDictionary dictionary;
  bool opened = false;
};

struct LookupCase {
  const char *word;
  bool known;
};

void expectLookups(const spelling::TDictionary &dictionary, const std::vector<LookupCase> &cases) {
  for (const LookupCase &c : cases)
    EXPECT_EQ(dictionary.Contains(c.word), c.known) << "word \"" << c.word << "\"";
}

TEST(DictionaryLookup, ComparesByteForByteAndNeedsTheEndOfWordBit) {
  OpenedFile file("lookup-basic", dctFile("Iacrt", {dct_test::catBlock()}));
  ASSERT_TRUE(file.opened);
  expectLookups(file.dictionary, {
                                     {"cat", true},
                                     {"car", true},
                                     {"a", true}, // one-letter word: root with end bit
                                     {"I", true},
                                     {"c", false},    // first letter present, no end bit
                                     {"ca", false},   // prefix of stored words
                                     {"cats", false}, // runs past a node without children
                                     {"Cat", false},  // no case folding
                                     {"CAT", false},
                                     {"A", false},
                                     {"i", false},
                                     {"", false},
                                     {"b", false},   // first letter not in the table
                                     {"cab", false}, // no sibling with that letter
                                 });
}

TEST(DictionaryLookup, CountedListOfLengthZeroEndsTheWalk) {
  Block block;
  block.nodes = {node('o', true, 7, 0)}; // "do", counted list at 0
  block.children = {0};                  // count 0
  block.roots = {{'d', node('d', false, 1, 0)}};
  OpenedFile file("kind7-empty", dctFile("do", {block}));
  ASSERT_TRUE(file.opened);
  expectLookups(file.dictionary, {{"do", true}, {"d", false}, {"dot", false}, {"doo", false}});
}

TEST(DictionaryLookup, EveryChildKindListsItsChildren) {
  Block block;
  for (char letter = 'a'; letter <= 'h'; ++letter)
    block.nodes.push_back(node(letter, true, 0, 0)); // nodes 0..7: a..h
  block.children.push_back(8);                       // offset 0: counted list a..h
  for (std::uint16_t i = 0; i < 8; ++i)
    putU16(block.children, i);
  for (std::uint16_t i : {5, 6, 7}) // offset 17: f g h
    putU16(block.children, i);
  for (std::uint16_t i = 0; i < 6; ++i) // offset 23: a..f
    putU16(block.children, i);
  block.roots = {
      {'x', node('x', false, 7, 0)},  // a..h
      {'u', node('u', false, 2, 17)}, // f g
      {'y', node('y', false, 3, 17)}, // f g h
      {'v', node('v', false, 4, 23)}, // a b c d
      {'w', node('w', false, 5, 23)}, // a..e
      {'z', node('z', false, 6, 23)}, // a..f
      {'t', node('t', false, 1, 6)},  // g
  };
  OpenedFile file("child-kinds", dctFile("abcdefghtuvwxyz", {block}));
  ASSERT_TRUE(file.opened);
  const std::string children[] = {"abcdefgh", "fg", "fgh", "abcd", "abcde", "abcdef", "g"};
  const std::string rootLetters = "xuyvwzt";
  for (std::size_t r = 0; r < rootLetters.size(); ++r) {
    for (char letter = 'a'; letter <= 'j'; ++letter) {
      const std::string word{rootLetters[r], letter};
      const bool listed = children[r].find(letter) != std::string::npos;
      EXPECT_EQ(file.dictionary.Contains(word), listed) << word;
    }
    EXPECT_FALSE(file.dictionary.Contains(std::string(1, rootLetters[r])));
  }
}

TEST(DictionaryLookup, FirstMatchCountsForFirstLettersAndSiblings) {
  Block block;
  block.nodes = {node('u', false, 0, 0), node('u', true, 0, 0)};
  putU16(block.children, 0);
  putU16(block.children, 1);
  block.roots = {
      {'q', node('q', false, 0, 0)}, {'q', node('q', true, 0, 0)}, {'p', node('p', false, 2, 0)}};
  OpenedFile file("first-match", dctFile("pqu", {block}));
  ASSERT_TRUE(file.opened);
  expectLookups(file.dictionary, {{"q", false}, {"pu", false}});
}

TEST(DictionaryLookup, SingleChildReachesBeyondListIndexRange) {
  Block block;
  block.nodes.assign(70000, node('z', false, 0, 0));
  block.nodes[65534] = node('j', true, 0, 0);
  block.nodes[65535] = node('k', true, 0, 0);
  block.nodes[69999] = node('y', true, 0, 0);
  putU16(block.children, 65534);
  putU16(block.children, 65535);
  block.roots = {{'x', node('x', false, 1, 69999)}, {'l', node('l', false, 2, 0)}};
  OpenedFile file("far-child", dctFile("jklxyz", {block}));
  ASSERT_TRUE(file.opened);
  expectLookups(file.dictionary, {{"xy", true}, {"lj", true}, {"lk", true}, {"xz", false}});
}

TEST(DictionaryLookup, WordsLongerThan255AreNeverContained) {
  Block block;
  block.nodes = {node('a', true, 1, 0)}; // loops on itself: every run of a's
  block.roots = {{'a', node('a', true, 1, 0)}};
  OpenedFile file("long-words", dctFile("a", {block}));
  ASSERT_TRUE(file.opened);
  EXPECT_TRUE(file.dictionary.Contains(std::string(1, 'a')));
  EXPECT_TRUE(file.dictionary.Contains(std::string(254, 'a')));
  EXPECT_TRUE(file.dictionary.Contains(std::string(255, 'a')));
  EXPECT_FALSE(file.dictionary.Contains(std::string(256, 'a')));
  EXPECT_FALSE(file.dictionary.Contains(std::string(1000, 'a')));
}

TEST(DictionaryLookup, SecondSubDictionaryIsSearchedToo) {
  Block second;
  second.nodes = {node('o', false, 2, 0), node('g', true, 0, 0), node('w', true, 0, 0)};
  putU16(second.children, 2);
  putU16(second.children, 1);
  second.roots = {{'c', node('c', false, 1, 0)}, {'d', node('d', false, 1, 0)}};
  OpenedFile file("two-blocks", dctFile("Iacdgortw", {dct_test::catBlock(), second}));
  ASSERT_TRUE(file.opened);
  EXPECT_EQ(file.dictionary.SubDictionaries().size(), 2u);
  expectLookups(file.dictionary, {
                                     {"cat", true}, // first block
                                     {"cow", true}, // second block, same first letter
                                     {"cog", true},
                                     {"dog", true}, // second block only
                                     {"dow", true},
                                     {"do", false},
                                     {"co", false},
                                     {"cot", false},
                                 });
  EXPECT_TRUE(file.dictionary.SubDictionaries()[1]->Contains("dog"));
  EXPECT_FALSE(file.dictionary.SubDictionaries()[0]->Contains("dog"));
}

TEST(DictionaryOpen, StartsClosedWithDefaults) {
  spelling::TDictionary dictionary("some/where/english.dct");
  EXPECT_EQ(dictionary.FileName(), "some/where/english.dct");
  EXPECT_FALSE(dictionary.Opened());
  EXPECT_EQ(dictionary.SuggestMask(), 255);
  EXPECT_EQ(dictionary.SuggestLimit(), 30);
  EXPECT_TRUE(dictionary.Alphabet().empty());
  EXPECT_TRUE(dictionary.SubDictionaries().empty());
  EXPECT_FALSE(dictionary.Contains("a"));
}

TEST(DictionaryOpen, MissingFileAnswersFalseAndKnowsNothing) {
  spelling::TDictionary dictionary(scratchFile("does-not-exist"));
  EXPECT_FALSE(dictionary.Open());
  EXPECT_FALSE(dictionary.Opened());
  EXPECT_TRUE(dictionary.SubDictionaries().empty());
  EXPECT_FALSE(dictionary.Contains("cat"));
}

TEST(DictionaryOpen, ReopeningReadsNothingAndCloseKeepsTheAlphabet) {
  const std::string path = scratchFile("reopen");
  dct_test::writeFile(path, dctFile("Iacrt", {dct_test::catBlock()}, "Cats"));
  spelling::TDictionary dictionary(path);
  ASSERT_TRUE(dictionary.Open());
  EXPECT_TRUE(dictionary.Opened());
  EXPECT_EQ(dictionary.Alphabet(), "Iacrt");
  std::remove(path.c_str());
  EXPECT_TRUE(dictionary.Open()); // already open: the file is not read again
  EXPECT_TRUE(dictionary.Contains("cat"));
  dictionary.Close();
  EXPECT_FALSE(dictionary.Opened());
  EXPECT_TRUE(dictionary.SubDictionaries().empty());
  EXPECT_FALSE(dictionary.Contains("cat"));
  EXPECT_EQ(dictionary.Alphabet(), "Iacrt");
  EXPECT_FALSE(dictionary.Open()); // the file is gone now
}

TEST(DictionaryOpen, AlphabetOfAllByteValues) {
  std::string alphabet;
  for (int byte = 1; byte < 256; ++byte)
    alphabet += static_cast<char>(byte);
  Block block;
  block.roots = {{static_cast<char>(0xE9), node(static_cast<char>(0xE9), true, 0, 0)}};
  OpenedFile file("wide-alphabet", dctFile(alphabet, {block}));
  ASSERT_TRUE(file.opened);
  EXPECT_EQ(file.dictionary.Alphabet(), alphabet);
  EXPECT_TRUE(file.dictionary.Contains("\xE9"));
  EXPECT_FALSE(file.dictionary.Contains("\xC9"));
}

TEST(WordChars, AlphabetsInDictionaryOrderEachLetterOnceThenLanguageCharacters) {
  OpenedFile first("chars-first", dctFile("abc'", {dct_test::catBlock()}));
  OpenedFile second("chars-second", dctFile("dab\xE9'", {dct_test::catBlock()}));
  spelling::TDictionary closed("never-opened.dct");
  struct Case {
    std::vector<const spelling::TDictionary *> mains;
    std::string extra;
    std::string expected;
  } cases[] = {
      {{}, "", ""},
      {{}, "-", "-"},
      {{&first.dictionary}, "", "abc'"},
      {{&first.dictionary, &second.dictionary}, "", "abc'd\xE9"},
      {{&second.dictionary, &first.dictionary}, "", "dab\xE9'c"},
      {{&first.dictionary, &closed}, "a-", "abc'a-"}, // language string kept as it is
  };
  for (const Case &c : cases)
    EXPECT_EQ(spelling::GetWordChars(c.mains, c.extra), c.expected);
}

} // namespace
