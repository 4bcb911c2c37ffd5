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

class EnglishDictionaryFixture : public ::testing::Test {
protected:
  void SetUp() override {
    words_ = readWords(testing_support::hostPath(ENGLISH_WORDS));
    ASSERT_GT(words_.size(), 50000u) << "word list " << ENGLISH_WORDS;
    ASSERT_TRUE(dictionary_.Open()) << dictionary_.FileName();
  }

  static std::vector<std::string> readWords(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> words;
    std::string line;
    while (std::getline(in, line))
      words.push_back(line);
    return words;
  }

  std::vector<std::string> words_;
  spelling::TDictionary dictionary_{testing_support::hostPath(ENGLISH_DCT)};
};

#endif
