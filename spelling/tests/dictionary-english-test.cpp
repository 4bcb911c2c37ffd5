// The shipped English dictionary against the word list it was made from:
// every word of the list is known, and 10,000 near misses that are not in
// the list are unknown. The list is the builder's ANSI copy of the system
// word list; a script test checks that copy and a sample of lookups against
// iconv and grep.
#include "spelling/tests/english-dictionary-fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

class EnglishDictionary : public EnglishDictionaryFixture {};

TEST_F(EnglishDictionary, KnowsEveryWordOfItsList) {
  std::size_t missing = 0;
  for (const std::string &word : words_) {
    if (!dictionary_.Contains(word) && ++missing <= 10)
      ADD_FAILURE() << "unknown: " << word;
  }
  EXPECT_EQ(missing, 0u);
}

TEST_F(EnglishDictionary, Knows10000NonWordsAsUnknown) {
  const std::unordered_set<std::string> list(words_.begin(), words_.end());
  const std::string letters = "abcdefghijklmnopqrstuvwxyz'ABCDEFGHIJKLMNOPQRSTUVWXYZ\xE9";
  std::mt19937 rng(4242);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  // Near misses of real words (one letter changed, added, dropped or two
  // swapped, or a case changed) and a few random strings: the mistakes a
  // lookup could wrongly accept.
  std::vector<std::string> nonWords;
  std::size_t attempts = 0;
  while (nonWords.size() < 10000 && ++attempts < 1000000) {
    std::string word = words_[pick(words_.size())];
    switch (pick(6)) {
    case 0:
      word[pick(word.size())] = letters[pick(letters.size())];
      break;
    case 1:
      word.insert(word.begin() + static_cast<std::ptrdiff_t>(pick(word.size() + 1)),
                  letters[pick(letters.size())]);
      break;
    case 2:
      word.erase(pick(word.size()), 1);
      break;
    case 3:
      if (word.size() > 1)
        std::swap(word[0], word[1 + pick(word.size() - 1)]);
      break;
    case 4:
      word[0] = static_cast<char>(word[0] ^ 0x20);
      break;
    default:
      word.clear();
      for (std::size_t n = 1 + pick(10); n > 0; --n)
        word += letters[pick(letters.size())];
      break;
    }
    if (word.empty() || list.count(word))
      continue;
    nonWords.push_back(word);
  }
  ASSERT_EQ(nonWords.size(), 10000u);
  std::size_t accepted = 0;
  for (const std::string &word : nonWords) {
    if (dictionary_.Contains(word) && ++accepted <= 10)
      ADD_FAILURE() << "known but not in the list: " << word;
  }
  EXPECT_EQ(accepted, 0u);
}

TEST_F(EnglishDictionary, AlphabetIsTheLettersOfTheListApostropheIncluded) {
  std::string letters;
  bool used[256] = {};
  for (const std::string &word : words_)
    for (char c : word)
      used[static_cast<unsigned char>(c)] = true;
  for (int byte = 0; byte < 256; ++byte)
    if (used[byte])
      letters += static_cast<char>(byte);
  std::string alphabet = dictionary_.Alphabet();
  // The common lower-case letters lead, not the capitals: the suggestion
  // search's two-edit passes try only the first half of the alphabet.
  for (char c : alphabet.substr(0, 20))
    EXPECT_TRUE((c >= 'a' && c <= 'z') || c == '\'') << alphabet;
  std::sort(alphabet.begin(), alphabet.end(), [](char a, char b) {
    return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
  });
  EXPECT_EQ(alphabet, letters);
  EXPECT_NE(dictionary_.Alphabet().find('\''), std::string::npos);
  EXPECT_NE(dictionary_.Alphabet().find('\xE9'), std::string::npos); // from "café" and others
}

TEST_F(EnglishDictionary, TitleNamesTheDictionary) {
  std::ifstream in(testing_support::hostPath(ENGLISH_DCT), std::ios::binary);
  std::string header(113, '\0');
  in.read(&header[0], 113);
  EXPECT_EQ(header.substr(88, 25), "American English         ");
}

} // namespace
