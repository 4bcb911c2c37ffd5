// Replacement and undo in the buffer and string parsers, driven the way the
// check loop drives them: a word is shown (PushUndo), changed, deleted as a
// repeated word or replaced silently, and Undo Last must give back the text
// exactly as it was.
#include "spelling/core/buffer-parser.h"
#include "spelling/core/string-parser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using spelling::TBufferParser;
using spelling::TParser;
using spelling::TStringParser;

std::string next(TParser &parser) {
  std::string word;
  parser.NextWord(word);
  return word;
}

// Shows the next word as the check loop does for an unknown one.
std::string show(TParser &parser) {
  std::string word = next(parser);
  parser.SelectWord();
  parser.PushUndo();
  return word;
}

// The Delete command on a repeated word: one space in its place, then the
// space after it and the one before it removed.
void deleteRepeated(TParser &parser) {
  parser.ReplaceWord(" ");
  parser.DeleteSpace();
  parser.SetUndoKind(parser.DeleteSpace() ? spelling::UndoDeletedTwoSpaces
                                          : spelling::UndoDeletedOneSpace);
}

TEST(ParserUndo, ChangeThenUndoRestoresTheText) {
  std::string text = "teh cat sat";
  TStringParser parser(text);
  EXPECT_EQ(show(parser), "teh");
  parser.ReplaceWord("the");
  EXPECT_EQ(text, "the cat sat");
  EXPECT_EQ(show(parser), "cat");
  EXPECT_EQ(parser.Position(), 5);
  ASSERT_TRUE(parser.CanUndo());
  auto record = parser.PopUndo();
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Word, "teh");
  EXPECT_EQ(record->Replacement, "the");
  EXPECT_EQ(record->Position, 1);
  EXPECT_EQ(record->Code, -1);
  EXPECT_EQ(text, "teh cat sat");
  EXPECT_EQ(next(parser), "teh"); // read again after the undo
  EXPECT_EQ(parser.Position(), 1);
}

TEST(ParserUndo, ReplacementChangesTheRangeByItsLength) {
  struct Case {
    std::string replacement;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"abcdef", "abcdef cd ef"}, {"a", "a cd ef"}, {"ab", "ab cd ef"}, {"", " cd ef"}};
  for (const Case &c : cases) {
    std::string text = "ab cd ef";
    TStringParser parser(text);
    parser.SetRange(1, 4); // "ab" and "cd"; "ef" lies outside
    EXPECT_EQ(next(parser), "ab");
    parser.ReplaceWord(c.replacement);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(parser.Length(), static_cast<int>(c.replacement.size()));
    EXPECT_EQ(next(parser), "cd") << c.replacement;
    next(parser);
    EXPECT_TRUE(parser.AtEnd()) << c.replacement;
  }
}

TEST(ParserUndo, RecheckReadsTheReplacementAgain) {
  std::string text = "teh cat";
  TStringParser parser(text);
  show(parser);
  parser.ReplaceWord("the dog");
  parser.SetLength(0);
  EXPECT_EQ(next(parser), "the");
  EXPECT_EQ(next(parser), "dog");
  EXPECT_EQ(next(parser), "cat");
}

TEST(ParserUndo, DeletedRepeatedWordComesBack) {
  struct Case {
    std::string text;
    int repeatedIndex; // which word is the repeated one (0-based)
    std::string deleted;
    int code;
  };
  const std::vector<Case> cases = {
      {"the the dog", 1, "the dog", 105},
      {"a the the b", 2, "a the b", 105},
      {"the the. b", 1, "the . b", 5},
      {"x  y  y  z", 2, "x  y   z", 105}, // the two spaces after it go
  };
  for (const Case &c : cases) {
    std::string text = c.text;
    TStringParser parser(text);
    for (int i = 0; i < c.repeatedIndex; ++i)
      show(parser);
    show(parser);
    deleteRepeated(parser);
    EXPECT_EQ(text, c.deleted) << c.text;
    std::string after = show(parser);
    EXPECT_FALSE(parser.AtEnd()) << c.text;
    auto record = parser.PopUndo();
    ASSERT_NE(record, nullptr) << c.text;
    EXPECT_EQ(record->Code, c.code) << c.text;
    EXPECT_EQ(text, c.text);
  }
}

TEST(ParserUndo, RepeatedWordAtTheTextEndComesBack) {
  // Nothing follows the deleted word, so its space is put back alone.
  for (bool isBuffer : {false, true}) {
    std::string text = "a b b";
    char buffer[8] = "a b b";
    std::unique_ptr<TParser> parser;
    if (isBuffer)
      parser = std::make_unique<TBufferParser>(buffer, sizeof buffer);
    else
      parser = std::make_unique<TStringParser>(text);
    show(*parser);
    show(*parser);
    show(*parser);
    deleteRepeated(*parser);
    EXPECT_EQ(isBuffer ? std::string(buffer) : text, "a b ");
    parser->PushUndo(); // the dialog shows the end of the check
    auto record = parser->PopUndo();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Code, 5);
    EXPECT_EQ(isBuffer ? std::string(buffer) : text, "a b b");
  }
}

TEST(ParserUndo, LastWordOfTheRangeIsReadAfterADeletion) {
  // "the the a": deleting the second "the" takes four characters away, and
  // the range end moves by exactly that, so "a" is still inside it.
  std::string text = "the the a";
  TStringParser parser(text);
  show(parser);
  show(parser);
  deleteRepeated(parser);
  EXPECT_EQ(text, "the a");
  EXPECT_EQ(parser.RangeEnd(), 5);
  EXPECT_EQ(show(parser), "a");
  parser.PopUndo();
  EXPECT_EQ(text, "the the a");
  EXPECT_EQ(parser.RangeEnd(), 9);
}

TEST(ParserUndo, SpacesAreOnlyDeletedWhereThereAreSpaces) {
  std::string text = "ab";
  TStringParser parser(text);
  next(parser);
  EXPECT_FALSE(parser.DeleteSpace()); // "a" is no space
  EXPECT_EQ(text, "ab");
  EXPECT_EQ(parser.RangeEnd(), 2);
}

TEST(ParserUndo, SilentReplacementLeavesOtherRecordsAlone) {
  std::string text = "aa bb cc";
  TStringParser parser(text);
  show(parser); // "aa" shown and ignored
  EXPECT_EQ(next(parser), "bb");
  parser.SelectWord(); // change-all pair: replaced without being shown
  parser.ReplaceWord("BB");
  EXPECT_EQ(show(parser), "cc");
  auto record = parser.PopUndo();
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Word, "aa");
  EXPECT_TRUE(record->Replacement.empty());
  EXPECT_EQ(text, "aa BB cc");
}

TEST(ParserUndo, SilentReplacementWithNoRecords) {
  std::string text = "bb cc";
  TStringParser parser(text);
  next(parser);
  parser.ReplaceWord("BB");
  parser.SetUndoKind(4);
  EXPECT_EQ(text, "BB cc");
  EXPECT_FALSE(parser.CanUndo());
  EXPECT_EQ(parser.PopUndo(), nullptr);
}

TEST(ParserUndo, DepthLimitsTheRecords) {
  std::string text = "a b c d e";
  TStringParser parser(text);
  parser.SetUndoDepth(3);
  for (int i = 0; i < 5; ++i)
    show(parser);
  EXPECT_EQ(parser.UndoCount(), 3);
  EXPECT_EQ(parser.PopUndo()->Word, "d");
  EXPECT_FALSE(parser.CanUndo()); // "c" alone is left
  EXPECT_EQ(parser.PopUndo(), nullptr);
}

TEST(ParserUndo, BufferChangeThenUndo) {
  char buffer[32] = "teh the the end";
  TBufferParser parser(buffer, sizeof buffer);
  show(parser);
  parser.ReplaceWord("theee");
  show(parser);
  show(parser);
  deleteRepeated(parser);
  EXPECT_STREQ(buffer, "theee the end");
  show(parser);
  EXPECT_EQ(parser.PopUndo()->Code, 105);
  EXPECT_STREQ(buffer, "theee the the end");
  show(parser); // the second "the" again
  show(parser); // "end"
  parser.PopUndo();
  parser.PopUndo();
  EXPECT_STREQ(buffer, "teh the the end");
}

TEST(ParserUndo, BufferNeverGrowsPastItsCapacity) {
  struct Case {
    std::string replacement;
    bool fits;
    std::string text;
  };
  // "ab cd" in 8 bytes: up to 7 characters and the terminator.
  const std::vector<Case> cases = {{"abcd", true, "abcd cd"},
                                   {"abcde", false, "ab cd"},
                                   {"abcdefghijkl", false, "ab cd"},
                                   {"", true, " cd"},
                                   {"x", true, "x cd"}};
  for (const Case &c : cases) {
    char memory[16];
    std::memset(memory, '#', sizeof memory);
    std::memcpy(memory, "ab cd", 6);
    TBufferParser parser(memory, 8);
    next(parser);
    int rangeEnd = parser.RangeEnd();
    if (c.fits) {
      parser.ReplaceWord(c.replacement);
    } else {
      EXPECT_THROW(parser.ReplaceWord(c.replacement), spelling::EParserError) << c.replacement;
      EXPECT_EQ(parser.RangeEnd(), rangeEnd);
      EXPECT_EQ(parser.Length(), 2);
    }
    EXPECT_STREQ(memory, c.text.c_str()) << c.replacement;
    for (int i = 8; i < 16; ++i)
      EXPECT_EQ(memory[i], '#') << c.replacement << " wrote byte " << i;
  }
}

TEST(ParserUndo, CaretInsideAWordStartsWithTheWholeWord) {
  // A caret before the "w" of "two" is character index 5; taken as a 1-based
  // position it names the "t" before it.
  std::string text = "one two";
  TStringParser parser(text);
  for (int caret : {4, 5, 6, 7}) {
    parser.SetRange(caret, 7);
    parser.SetLength(0);
    EXPECT_EQ(next(parser), "two") << caret;
  }
}

} // namespace
