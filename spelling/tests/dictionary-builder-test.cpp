// The dictionary builder: exact bytes for small lists (worked out by hand
// from the file layout), agreement of lookups with the word set for larger
// lists, splitting into sub-dictionaries, repeatable output, and the word
// and text checks of its input.
#include "spelling/core/dictionary.h"
#include "spelling/tests/dct-test-bytes.h"
#include "spelling/tools/dct-build.h"

#include "platform/components/core/stream.h"
#include "platform/components/core/unicode-text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using dct_test::Bytes;
using spelling::dct::buildDictionary;

// Loads built bytes through the engine's reader.
void load(spelling::TDictionary &dictionary, const Bytes &bytes) {
  components::TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), bytes.size());
  dictionary.loadFrom(stream);
}

std::vector<std::string> randomWords(std::size_t count, std::size_t minLength,
                                     std::size_t maxLength, const std::string &letters,
                                     std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<std::size_t> length(minLength, maxLength);
  std::uniform_int_distribution<std::size_t> letter(0, letters.size() - 1);
  std::vector<std::string> words;
  for (std::size_t i = 0; i < count; ++i) {
    std::string word;
    for (std::size_t n = length(rng); n > 0; --n)
      word += letters[letter(rng)];
    words.push_back(word);
  }
  return words;
}

TEST(DictionaryBuilder, SmallListsGiveTheBytesOfTheLayout) {
  // "a", "ab": root a (end of word, one child: node 0), node 0 = b (end).
  Bytes expected = dct_test::dctFile("ab", {}, "Tiny                     ");
  expected[278] = 1;
  for (std::uint8_t byte :
       {1, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x80, 0x62, 1, 0x61, 0x00, 0x00, 0x90, 0x61})
    expected.push_back(byte);
  spelling::dct::BuildOptions options;
  options.title = "Tiny";
  EXPECT_EQ(buildDictionary({"ab", "a"}, options).file, expected);

  // "ab", "ac": root a (kind 2, list at 0), nodes b and c (end), list 0 1.
  expected = dct_test::dctFile("abc", {}, "Tiny                     ");
  expected[278] = 1;
  for (std::uint8_t byte : {2,    0,    0,    0, 4, 0, 0, 0, 0x00, 0x00, 0x80, 0x62, 0x00,
                            0x00, 0x80, 0x63, 0, 0, 1, 0, 1, 0x61, 0x00, 0x00, 0x20, 0x61})
    expected.push_back(byte);
  EXPECT_EQ(buildDictionary({"ac", "ab"}, options).file, expected);
}

TEST(DictionaryBuilder, TitleIsPaddedOrCutTo25Bytes) {
  struct Case {
    std::string title, stored;
  } cases[] = {
      {"", std::string(25, ' ')},
      {"American English", "American English         "},
      {"A title of more than twenty-five", "A title of more than twen"},
  };
  for (const Case &c : cases) {
    spelling::dct::BuildOptions options;
    options.title = c.title;
    const Bytes file = buildDictionary({"x"}, options).file;
    EXPECT_EQ(std::string(file.begin() + 88, file.begin() + 113), c.stored);
  }
}

TEST(DictionaryBuilder, LookupsAgreeWithTheWordSet) {
  std::vector<std::string> words = randomWords(5000, 1, 12, "abcdefgh'\xE9", 7);
  words.push_back(std::string(255, 'z'));
  const std::set<std::string> stored(words.begin(), words.end());
  spelling::TDictionary dictionary("built.dct");
  load(dictionary, buildDictionary(words, {}).file);
  // Every letter used, once; the rarest ("z", in one word only) last.
  std::string letters = dictionary.Alphabet();
  EXPECT_EQ(letters.back(), 'z');
  std::sort(letters.begin(), letters.end(), [](char a, char b) {
    return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
  });
  EXPECT_EQ(letters, "'abcdefghz\xE9");
  for (const std::string &word : stored)
    EXPECT_TRUE(dictionary.Contains(word)) << word;
  for (const std::string &probe : randomWords(20000, 1, 8, "abcdefghiz'\xE9", 8))
    EXPECT_EQ(dictionary.Contains(probe), stored.count(probe) == 1) << probe;
}

TEST(DictionaryBuilder, ForcedSplitGivesTwoSubDictionaries) {
  const std::vector<std::string> words = randomWords(400, 3, 7, "abcdef", 11);
  const std::set<std::string> stored(words.begin(), words.end());
  const auto whole = buildDictionary(words, {});
  ASSERT_EQ(whole.nodesPerBlock.size(), 1u);
  spelling::dct::BuildOptions options;
  options.maxNodes = whole.nodesPerBlock[0] - 1;
  const auto split = buildDictionary(words, options);
  ASSERT_EQ(split.nodesPerBlock.size(), 2u);
  EXPECT_EQ(split.file[278], 2);

  spelling::TDictionary dictionary("split.dct");
  load(dictionary, split.file);
  ASSERT_EQ(dictionary.SubDictionaries().size(), 2u);
  std::size_t onlyInSecond = 0;
  for (const std::string &word : stored) {
    EXPECT_TRUE(dictionary.Contains(word)) << word;
    onlyInSecond += !dictionary.SubDictionaries()[0]->Contains(word) &&
                    dictionary.SubDictionaries()[1]->Contains(word);
  }
  EXPECT_GT(onlyInSecond, 0u);
  for (const std::string &probe : randomWords(5000, 1, 8, "abcdefg", 12))
    EXPECT_EQ(dictionary.Contains(probe), stored.count(probe) == 1) << probe;
}

TEST(DictionaryBuilder, GraphsBeyondListIndexRangeAreSplit) {
  // Random words share few endings, so their graph has far more than
  // 65,536 nodes reached through child lists.
  const std::vector<std::string> words = randomWords(60000, 6, 9, "abcdefghijklmnopqrstuvwxyz", 21);
  const auto built = buildDictionary(words, {});
  EXPECT_GE(built.nodesPerBlock.size(), 2u);
  spelling::TDictionary dictionary("big.dct");
  load(dictionary, built.file);
  std::size_t missing = 0;
  for (const std::string &word : words)
    missing += !dictionary.Contains(word);
  EXPECT_EQ(missing, 0u);
}

TEST(DictionaryBuilder, SameWordsGiveTheSameBytes) {
  std::vector<std::string> words = randomWords(2000, 1, 10, "abcdefghij", 3);
  const Bytes first = buildDictionary(words, {}).file;
  std::mt19937 rng(5);
  std::shuffle(words.begin(), words.end(), rng);
  const std::vector<std::string> duplicates(words.begin(), words.begin() + 100);
  words.insert(words.end(), duplicates.begin(), duplicates.end());
  EXPECT_EQ(buildDictionary(words, {}).file, first);
}

TEST(DictionaryBuilder, MergesSharedEndings) {
  // Ten words ending in "ation" share one chain of nodes for the ending.
  std::vector<std::string> words;
  for (const char *stem : {"cre", "rel", "neg", "don", "rot", "not", "sed", "dur", "neb", "vac"})
    words.push_back(std::string(stem) + "ation");
  const auto built = buildDictionary(words, {});
  // A trie needs 10 x 7 nodes below the roots; merged, the endings are one.
  EXPECT_LT(built.nodesPerBlock[0], 40u);
}

TEST(DictionaryBuilder, RejectsWordsThatCannotBeStored) {
  struct Case {
    std::string word;
    bool accepted;
  } cases[] = {
      {"don't", true},
      {"\xC9migr\xE9", true},
      {std::string(255, 'a'), true},
      {"", false},
      {std::string(256, 'a'), false},
      {"two words", false},
      {"tab\there", false},
      {"del\x7F", false},
      {std::string("nul\0", 4), false},
      {"a\x81", false}, // the code page's unassigned bytes: C1 controls
      {"\x8D", false},
      {"\x8Fx", false},
      {"\x90", false},
      {"\x9D", false},
      {"\x80\x8E\x9F", true}, // euro sign, Z with caron, Y with diaeresis
  };
  for (const Case &c : cases)
    EXPECT_EQ(spelling::dct::rejectionReason(c.word).empty(), c.accepted) << c.word;
  EXPECT_THROW(buildDictionary({"good", "bad word"}, {}), spelling::dct::BuildError);
}

// The builder reads word lists by the table the program converts its texts
// by: every byte comes back from its UTF-8 form unchanged, the unassigned
// ones included (as C1 controls), and is then judged as a letter.
TEST(DictionaryBuilder, ConvertsByTheProgramsOwnTable) {
  for (int byte = 0; byte < 256; ++byte) {
    std::string ansi(1, static_cast<char>(byte)), back;
    std::string utf8 = components::ansiToUtf8(ansi);
    EXPECT_TRUE(spelling::dct::utf8ToAnsi(utf8, back)) << byte;
    EXPECT_EQ(back, ansi) << byte;
    EXPECT_EQ(components::unicodeTextToAnsi(utf8), ansi) << byte;
  }
  std::string word;
  ASSERT_TRUE(spelling::dct::utf8ToAnsi("x\xC2\x9D", word));
  EXPECT_EQ(spelling::dct::rejectionReason(word),
            "holds the character code 157, which cannot be a letter");
}

TEST(DictionaryBuilder, ConvertsUtf8ToTheAnsiCodePage) {
  struct Case {
    std::string utf8;
    bool converts;
    std::string ansi;
  } cases[] = {
      {"plain", true, "plain"},
      {"caf\xC3\xA9", true, "caf\xE9"}, // U+00E9
      {"\xC3\x85ngstr\xC3\xB6m", true, "\xC5ngstr\xF6m"},
      {"\xE2\x82\xAC", true, "\x80"}, // euro sign
      {"\xC5\x93uvre", true,
       "\x9C"
       "uvre"},                       // U+0153
      {"\xE2\x80\x99", true, "\x92"}, // right single quotation mark
      {"\xC4\x81", false, ""},        // U+0101, not in the code page
      {"\xE6\x97\xA5", false, ""},    // CJK
      {"\xC2\x81", true, "\x81"},     // U+0081: the unassigned slot's C1 control
      {"\xC3", false, ""},            // cut sequence
      {"\xC3\x28", false, ""},        // bad continuation
      {"\xC0\xAF", false, ""},        // overlong
      {"\xFF", false, ""},
  };
  for (const Case &c : cases) {
    std::string ansi;
    EXPECT_EQ(spelling::dct::utf8ToAnsi(c.utf8, ansi), c.converts) << c.utf8;
    if (c.converts) {
      EXPECT_EQ(ansi, c.ansi) << c.utf8;
    }
  }
}

} // namespace
