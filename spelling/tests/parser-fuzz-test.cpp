// The flat parsers on random text: a bounded fuzz run that replaces, deletes,
// inserts and undoes at random and checks that every word read lies inside
// the text and that the buffer parser stays inside its buffer; and the words
// of a book chapter beside a plain tokeniser written here.
#include "spelling/core/buffer-parser.h"
#include "spelling/core/string-parser.h"
#include "testing/fuzz-driver.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using spelling::TBufferParser;
using spelling::TParser;
using spelling::TStringParser;
using testing_support::Bytes;

constexpr std::size_t BufferCapacity = 96;
constexpr std::size_t GuardBytes = 16;
constexpr char Guard = '\x5a';

// The text the parser walks, as it is now.
struct Source {
  bool isBuffer = false;
  std::string text;         // the string parser's variable
  std::vector<char> memory; // the buffer and its guard bytes
  std::string current() const {
    if (!isBuffer)
      return text;
    return std::string(memory.data(), strnlen(memory.data(), BufferCapacity));
  }
};

void checkWord(const TParser &parser, const Source &source, const std::string &word) {
  std::string text = source.current();
  int at = parser.Position() - (source.isBuffer ? 0 : 1);
  ASSERT_GE(at, 0);
  ASSERT_GT(parser.Length(), 0);
  ASSERT_LE(static_cast<std::size_t>(at) + word.size(), text.size());
  ASSERT_EQ(text.compare(static_cast<std::size_t>(at), word.size(), word), 0);
  ASSERT_TRUE(parser.IsWordChar(word[0]));
}

void checkGuards(const Source &source) {
  if (!source.isBuffer)
    return;
  for (std::size_t i = BufferCapacity; i < source.memory.size(); ++i)
    ASSERT_EQ(source.memory[i], Guard) << "byte " << i << " written";
}

// Byte 0 picks the parser and modes, byte 1 seeds the edits, the rest is text.
void runOne(const Bytes &input) {
  if (input.size() < 2)
    return;
  unsigned flags = input[0];
  std::mt19937 rng(input[1]);
  Source source;
  source.isBuffer = flags & 1;
  std::string text(input.begin() + 2, input.end());
  std::unique_ptr<TParser> parser;
  if (source.isBuffer) {
    source.memory.assign(BufferCapacity + GuardBytes, Guard);
    std::size_t copied = std::min(text.size(), BufferCapacity - 1);
    std::memcpy(source.memory.data(), text.data(), copied);
    source.memory[copied] = '\0';
    parser = std::make_unique<TBufferParser>(source.memory.data(), BufferCapacity);
  } else {
    source.text = text;
    parser = std::make_unique<TStringParser>(source.text);
  }
  parser->SetHTMLMode(flags & 2);
  parser->SetInternetMode(flags & 4);
  if (flags & 8)
    parser->SetWordCharacters(std::string(spelling::DefaultWordChars) + "\x80\xe9\xff-");
  if (flags & 16)
    parser->SetRange(static_cast<int>(rng() % 40) - 2, static_cast<int>(rng() % 60) - 2);
  parser->SetUndoDepth(static_cast<int>(rng() % 5));

  const char *replacements[] = {"", " ", "x", "replacement", "a b", "<", "@"};
  std::string word;
  for (int step = 0; step < 400; ++step) {
    parser->NextWord(word);
    if (parser->AtEnd())
      break;
    checkWord(*parser, source, word);
    if (testing::Test::HasFatalFailure())
      return;
    parser->PushUndo();
    switch (rng() % 8) {
    case 0:
    case 1:
      try {
        parser->ReplaceWord(replacements[rng() % 7]);
      } catch (const spelling::EParserError &) {
        ASSERT_TRUE(source.isBuffer) << "only a full buffer refuses a replacement";
      }
      break;
    case 2:
      try {
        parser->ReplaceWord(" ");
        parser->DeleteSpace();
        parser->SetUndoKind(parser->DeleteSpace() ? 105 : 5);
      } catch (const spelling::EParserError &) {
        ASSERT_TRUE(source.isBuffer);
      }
      break;
    case 3:
      try {
        parser->PopUndo();
      } catch (const spelling::EParserError &) {
        ASSERT_TRUE(source.isBuffer);
      }
      break;
    case 4:
      parser->SetLength(0);
      break;
    default:
      break;
    }
    checkGuards(source);
  }
  checkGuards(source);
}

TEST(ParserFuzz, RandomTextAndEdits) {
  std::vector<Bytes> seeds;
  for (const char *text :
       {"a b", "<b>bold</b> and http://x.y/z, mail me@host.org now", "don't co-op 123 \xe9t\xe9",
        "the the the end", "  \r\n\t<<>>@@::http:ftp:news:", "word"}) {
    for (std::uint8_t flags : {0, 1, 6, 7, 15, 31}) {
      Bytes seed = {flags, static_cast<std::uint8_t>(seeds.size())};
      seed.insert(seed.end(), text, text + std::strlen(text));
      seeds.push_back(seed);
    }
  }
  testing_support::FuzzLimits limits;
  limits.seconds = 3.0;
  unsigned tried = testing_support::fuzz(seeds, runOne, limits);
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
