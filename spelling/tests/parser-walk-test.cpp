// The word walk of the buffer and string parsers: which words a text yields
// and where, with each option on and off. The string parser numbers
// characters from 1, the buffer parser from 0; the tables give 1-based
// positions, worked out by hand from the texts.
#include "spelling/core/buffer-parser.h"
#include "spelling/core/string-parser.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using spelling::TBufferParser;
using spelling::TParser;
using spelling::TStringParser;

struct Word {
  int position; // 1-based
  std::string text;
  bool skip = false;
  bool noRepeat = false;
  bool operator==(const Word &o) const {
    return position == o.position && text == o.text && skip == o.skip && noRepeat == o.noRepeat;
  }
};

std::ostream &operator<<(std::ostream &out, const Word &w) {
  return out << w.position << ":\"" << w.text << "\"" << (w.skip ? " skip" : "")
             << (w.noRepeat ? " norepeat" : "");
}

struct Modes {
  bool html = false;
  bool internet = true;
  bool quoted = false;
  std::string extraWordChars;
};

void setModes(TParser &parser, const Modes &modes) {
  parser.SetHTMLMode(modes.html);
  parser.SetInternetMode(modes.internet);
  parser.SetQuotedMode(modes.quoted);
  if (!modes.extraWordChars.empty())
    parser.SetWordCharacters(spelling::DefaultWordChars + modes.extraWordChars);
}

// Every word up to the end, each checked to be the text at its position;
// positions are returned 1-based whatever the parser's numbering.
std::vector<Word> walk(TParser &parser, const std::string &text, int firstPosition) {
  std::vector<Word> words;
  std::string word;
  for (int guard = 0; guard < 1000; ++guard) {
    parser.NextWord(word);
    if (parser.AtEnd())
      return words;
    int at = parser.Position() - firstPosition;
    EXPECT_EQ(text.substr(static_cast<std::size_t>(at), word.size()), word);
    EXPECT_EQ(parser.Length(), static_cast<int>(word.size()));
    words.push_back({at + 1, word, parser.SkipWord(), parser.NoRepeatCheck()});
  }
  ADD_FAILURE() << "the walk did not end";
  return words;
}

std::vector<Word> walkString(const std::string &text, const Modes &modes) {
  std::string source = text;
  TStringParser parser(source);
  setModes(parser, modes);
  return walk(parser, text, 1);
}

std::vector<Word> walkBuffer(const std::string &text, const Modes &modes) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  TBufferParser parser(buffer.data(), buffer.size());
  setModes(parser, modes);
  return walk(parser, text, 0);
}

struct WalkCase {
  const char *name;
  std::string text;
  Modes modes;
  std::vector<Word> words;
};

Modes plain() { return Modes{false, false, false, ""}; }
Modes internet() { return Modes{false, true, false, ""}; }
Modes html() { return Modes{true, false, false, ""}; }
Modes quoted() { return Modes{false, false, true, ""}; }
Modes highLetters() { return Modes{false, false, false, "\xe9\xef"}; }

// Texts on which both parsers agree.
const std::vector<WalkCase> &commonCases() {
  static const std::vector<WalkCase> cases = {
      {"two one-letter words", "a b", plain(), {{1, "a"}, {3, "b"}}},
      {"empty", "", plain(), {}},
      {"separators only", " ,. ;-\t\r\n", plain(), {}},
      {"apostrophe joins, hyphen splits",
       "don't co-op",
       plain(),
       {{1, "don't"}, {7, "co"}, {10, "op"}}},
      {"digits are word characters",
       "abc123 12345 x9",
       plain(),
       {{1, "abc123"}, {8, "12345"}, {14, "x9"}}},
      {"ampersand", "AT&T rocks", plain(), {{1, "AT&T"}, {6, "rocks"}}},
      {"text ends mid-word", "the qu", plain(), {{1, "the"}, {5, "qu"}}},
      {"leading separators", "  ..word", plain(), {{5, "word"}}},
      {"high bytes split words by default",
       "caf\xe9 na\xefve",
       plain(),
       {{1, "caf"}, {6, "na"}, {9, "ve"}}},
      {"high bytes as word characters",
       "caf\xe9 na\xefve",
       highLetters(),
       {{1, "caf\xe9"}, {6, "na\xefve"}}},
      {"e-mail address is one skipped word",
       "mail john@example.com now",
       internet(),
       {{1, "mail"}, {6, "john@example.com", true, true}, {23, "now"}}},
      {"e-mail address without internet mode",
       "mail john@example.com now",
       plain(),
       {{1, "mail"}, {6, "john"}, {11, "example"}, {19, "com"}, {23, "now"}}},
      {"e-mail address runs to the text end", "x@y", internet(), {{1, "x@y", true, true}}},
      {"URL ends before a comma and a closing parenthesis",
       "see http://a.b/c,d (http://x.y) ok",
       internet(),
       {{1, "see"},
        {5, "http://a.b/c", true, true},
        {18, "d"},
        {21, "http://x.y", true, true},
        {33, "ok"}}},
      {"URL without internet mode",
       "see http://a.b/c,d (http://x.y) ok",
       plain(),
       {{1, "see"},
        {5, "http"},
        {12, "a"},
        {14, "b"},
        {16, "c"},
        {18, "d"},
        {21, "http"},
        {28, "x"},
        {30, "y"},
        {33, "ok"}}},
      {"URL scheme in any case", "HtTp://Q", internet(), {{1, "HtTp://Q", true, true}}},
      {"URL ends before an apostrophe",
       "http://x'y",
       internet(),
       {{1, "http://x", true, true}, {9, "'y"}}},
      {"a colon after another word is no URL",
       "note: this",
       internet(),
       {{1, "note"}, {7, "this"}}},
      {"word between tags",
       "<b>bold</b> text",
       html(),
       {{4, "bold", false, true}, {13, "text", false, true}}},
      {"tags read as words without HTML mode",
       "<b>bold</b> text",
       plain(),
       {{2, "b"}, {4, "bold"}, {10, "b"}, {13, "text"}}},
      {"a word after no tag may repeat",
       "<p>a</p> b c",
       html(),
       {{4, "a", false, true}, {10, "b", false, true}, {12, "c"}}},
      {"tag attributes are skipped",
       "<a href=\"x y\">link</a>",
       html(),
       {{15, "link", false, true}}},
      {"unclosed tag runs to the end", "a <b c", html(), {{1, "a"}}},
      {"a lone closing bracket is a separator", "a > b", html(), {{1, "a"}, {5, "b"}}},
      // Quoted lines are a matter for the parsers that walk lines.
      {"quoted lines are read by flat parsers",
       "> quoted\nplain",
       quoted(),
       {{3, "quoted"}, {10, "plain"}}},
  };
  return cases;
}

TEST(ParserWalk, StringParserYieldsTheWordsOfEachText) {
  for (const WalkCase &c : commonCases())
    EXPECT_EQ(walkString(c.text, c.modes), c.words) << c.name;
}

TEST(ParserWalk, BufferParserYieldsTheWordsOfEachText) {
  for (const WalkCase &c : commonCases())
    EXPECT_EQ(walkBuffer(c.text, c.modes), c.words) << c.name;
}

TEST(ParserWalk, OnlyTheStringParserKnowsFtpAndNews) {
  struct Case {
    std::string text;
    std::vector<Word> string;
    std::vector<Word> buffer;
  };
  const std::vector<Case> cases = {
      {"FTP:x", {{1, "FTP:x", true, true}}, {{1, "FTP"}, {5, "x"}}},
      {"news:alt.x", {{1, "news:alt.x", true, true}}, {{1, "news"}, {6, "alt"}, {10, "x"}}},
      {"http:x", {{1, "http:x", true, true}}, {{1, "http:x", true, true}}},
      {"https:x", {{1, "https"}, {7, "x"}}, {{1, "https"}, {7, "x"}}},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(walkString(c.text, internet()), c.string) << c.text;
    EXPECT_EQ(walkBuffer(c.text, internet()), c.buffer) << c.text;
  }
}

TEST(ParserWalk, RangeEndIsInclusiveAndNeverCutsAWord) {
  struct Case {
    int start, end; // 1-based
    std::vector<Word> words;
  };
  // "one " 1-4, "two" 5-7, " " 8, "three" 9-13
  const std::string text = "one two three";
  const std::vector<Case> cases = {
      {1, 13, {{1, "one"}, {5, "two"}, {9, "three"}}},
      {6, 8, {{5, "two"}}},               // starts inside a word: the whole word
      {6, 9, {{5, "two"}, {9, "three"}}}, // a word may begin at the range end
      {4, 4, {}},
      {1, 1, {{1, "one"}}},
      {12, 13, {{9, "three"}}},
      {14, 20, {}},
  };
  for (const Case &c : cases) {
    std::string source = text;
    TStringParser stringParser(source);
    stringParser.SetRange(c.start, c.end);
    EXPECT_EQ(walk(stringParser, text, 1), c.words) << "string " << c.start << ".." << c.end;

    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    TBufferParser bufferParser(buffer.data(), buffer.size());
    bufferParser.SetRange(c.start - 1, c.end - 1);
    EXPECT_EQ(walk(bufferParser, text, 0), c.words) << "buffer " << c.start << ".." << c.end;
  }
}

TEST(ParserWalk, InitialStateOfEachParser) {
  std::string text = "ab cd";
  TStringParser stringParser(text);
  EXPECT_EQ(stringParser.Position(), 1);
  EXPECT_EQ(stringParser.RangeEnd(), 5);
  EXPECT_EQ(stringParser.WordChars(),
            "abcdefghijklmnopqrstuvwxyz'ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890&");
  EXPECT_EQ(stringParser.UndoDepth(), 20);
  EXPECT_FALSE(stringParser.HTMLMode());
  EXPECT_TRUE(stringParser.InternetMode());
  EXPECT_FALSE(stringParser.QuotedMode());
  EXPECT_EQ(stringParser.QuoteChars(), ">");
  EXPECT_FALSE(stringParser.AtEnd());
  EXPECT_FALSE(stringParser.CanUndo());

  char buffer[] = "ab cd";
  TBufferParser bufferParser(buffer, sizeof buffer);
  EXPECT_EQ(bufferParser.Position(), 0);
  EXPECT_EQ(bufferParser.RangeEnd(), 4);
  spelling::TParserRect rect;
  rect.Left = 7;
  bufferParser.GetWordRect(rect);
  EXPECT_EQ(rect.Left, -1);
}

TEST(ParserWalk, OptionsSetTheModes) {
  std::string text;
  TStringParser parser(text);
  spelling::applySpellOptions(parser, spelling::TSpellOptions{spelling::soHTML, spelling::soQuoted},
                              "|>");
  EXPECT_TRUE(parser.HTMLMode());
  EXPECT_FALSE(parser.InternetMode());
  EXPECT_TRUE(parser.QuotedMode());
  EXPECT_EQ(parser.QuoteChars(), "|>");
  spelling::applySpellOptions(parser, spelling::TSpellOptions{spelling::soInternet}, ">");
  EXPECT_FALSE(parser.HTMLMode());
  EXPECT_TRUE(parser.InternetMode());
  EXPECT_FALSE(parser.QuotedMode());
}

TEST(ParserWalk, FactoryMakesTheFlatParsers) {
  std::string text = "x";
  char buffer[] = "y";
  spelling::TParserBuffer source{buffer, sizeof buffer};
  EXPECT_NE(dynamic_cast<TStringParser *>(spelling::CreateParserForSource(1, &text).get()),
            nullptr);
  EXPECT_NE(dynamic_cast<TStringParser *>(spelling::CreateParserForSource(129, &text).get()),
            nullptr);
  EXPECT_NE(dynamic_cast<TBufferParser *>(spelling::CreateParserForSource(0, &source).get()),
            nullptr);
  EXPECT_EQ(spelling::CreateParserForSource(6, &text), nullptr);
  EXPECT_EQ(spelling::CreateParserForSource(1, nullptr), nullptr);
}

TEST(ParserWalk, PositionsFarOutsideTheTextEndTheWalk) {
  std::string text = "ab";
  TStringParser parser(text);
  std::string word;
  parser.NextWord(word);
  parser.SetRange(2147483647, 2147483647);
  parser.SetLength(5);
  parser.NextWord(word);
  EXPECT_TRUE(parser.AtEnd());
  EXPECT_TRUE(word.empty());
  parser.SetRange(-100, 10); // begins with the text
  parser.SetLength(0);
  parser.NextWord(word);
  EXPECT_EQ(word, "ab");
}

TEST(ParserWalk, BufferWithoutTerminatorIsReadOnlyToItsCapacity) {
  char memory[6] = {'a', 'b', ' ', 'c', 'X', '\0'};
  TBufferParser parser(memory, 4); // "ab c", the rest is not the parser's
  EXPECT_EQ(walk(parser, "ab c", 0), (std::vector<Word>{{1, "ab"}, {4, "c"}}));
}

} // namespace
