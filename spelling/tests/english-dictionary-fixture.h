// Tests on the shipped English dictionary start from the same two files:
// the dictionary the build made and the builder's ANSI copy of the word
// list it was made from (ENGLISH_DCT and ENGLISH_WORDS, set by the build).
#ifndef SPELLING_TESTS_ENGLISH_DICTIONARY_FIXTURE_H
#define SPELLING_TESTS_ENGLISH_DICTIONARY_FIXTURE_H

#include "spelling/core/dictionary.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

// The words of the list, a line each.
inline std::vector<std::string> readEnglishWords() {
  std::ifstream in(testing_support::hostPath(ENGLISH_WORDS), std::ios::binary);
  std::vector<std::string> words;
  for (std::string line; std::getline(in, line);)
    words.push_back(line);
  return words;
}

class EnglishDictionaryFixture : public ::testing::Test {
protected:
  void SetUp() override {
    words_ = readEnglishWords();
    ASSERT_GT(words_.size(), 50000u) << "word list " << ENGLISH_WORDS;
    ASSERT_TRUE(dictionary_.Open()) << dictionary_.FileName();
  }

  std::vector<std::string> words_;
  spelling::TDictionary dictionary_{testing_support::hostPath(ENGLISH_DCT)};
};

#endif
