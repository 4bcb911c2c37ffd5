// The flat parsers on random text: a bounded fuzz run of the word parsers'
// harness, which replaces, deletes, inserts and undoes as the input says and
// checks that every word read lies inside the text and that the buffer
// parser stays inside its buffer; and the words of a book chapter beside a
// plain tokeniser written here.
#include "spelling/core/string-parser.h"
#include "testing/fuzz-driver.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using spelling::TStringParser;
using testing_support::Bytes;

TEST(ParserFuzz, RandomTextAndEdits) {
  std::vector<Bytes> seeds;
  for (const char *text :
       {"a b", "<b>bold</b> and http://x.y/z, mail me@host.org now", "don't co-op 123 \xe9t\xe9",
        "the the the end", "  \r\n\t<<>>@@::http:ftp:news:", "word"}) {
    for (std::uint8_t flags : {0, 1, 6, 7, 15, 31}) {
      const auto n = static_cast<std::uint8_t>(seeds.size());
      Bytes seed = {flags, n, static_cast<std::uint8_t>(n * 37)};
      seed.insert(seed.end(), text, text + std::strlen(text));
      seeds.push_back(seed);
    }
  }
  testing_support::FuzzLimits limits;
  limits.seconds = 3.0;
  unsigned tried = testing_support::fuzz(seeds, testing_support::runHarness, limits);
  EXPECT_GE(tried, seeds.size());
}

std::string readChapter() {
  std::ifstream in(testing_support::sharedDataPath("text/moby-dick.txt"), std::ios::binary);
  std::string line, chapter;
  bool inside = false;
  int lines = 0;
  while (std::getline(in, line) && lines < 300) {
    if (line.rfind("Call me Ishmael.", 0) == 0)
      inside = true;
    if (inside) {
      chapter += line + "\n";
      ++lines;
    }
  }
  return chapter;
}

TEST(ParserPeer, BookProseMatchesAPlainTokeniser) {
  std::string chapter = readChapter();
  if (chapter.empty())
    GTEST_SKIP() << "moby-dick.txt is not in the shared data";
  // Words are runs of letters, digits, apostrophes and ampersands.
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'&";
  std::vector<std::pair<int, std::string>> expected;
  for (std::size_t start = chapter.find_first_of(letters); start != std::string::npos;) {
    std::size_t end = chapter.find_first_not_of(letters, start);
    std::size_t count = end == std::string::npos ? chapter.size() - start : end - start;
    expected.emplace_back(static_cast<int>(start) + 1, chapter.substr(start, count));
    start = end == std::string::npos ? end : chapter.find_first_of(letters, end);
  }
  ASSERT_GT(expected.size(), 2000u);

  for (bool modes : {false, true}) {
    std::string text = chapter;
    TStringParser parser(text);
    parser.SetHTMLMode(modes);
    parser.SetInternetMode(modes);
    std::vector<std::pair<int, std::string>> actual;
    std::string word;
    for (parser.NextWord(word); !parser.AtEnd(); parser.NextWord(word))
      actual.emplace_back(parser.Position(), word);
    EXPECT_EQ(actual, expected) << "modes " << modes;
  }
}

} // namespace
