// The walk over lines that the memo, rich-edit and edit-window parsers
// share, run on lines held in memory: quoted lines, tags across lines, words
// and addresses cut at the line end, and the line-finished notices.
#include "spelling/core/parser.h"
#include "testing/growth-check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using spelling::TParser;

// Lines as an edit control holds them, each line break two characters.
class MemoryLines : public spelling::ParserLines {
public:
  explicit MemoryLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  int lineCount() override {
    if (lines_.size() == 1 && lines_[0].empty())
      return 0;
    return static_cast<int>(lines_.size());
  }
  int lineStart(int line) override {
    int start = 0;
    for (int i = 0; i < line; ++i)
      start += static_cast<int>(lines_[static_cast<std::size_t>(i)].size()) + 2;
    return start;
  }
  std::string lineText(int line) override { return lines_[static_cast<std::size_t>(line)]; }
  const std::string &line(int line) const { return lines_[static_cast<std::size_t>(line)]; }
  void lineFinished(int line) override { finished.push_back(line); }
  // Replaces count characters of the line from a 1-based column.
  void replace(int line, int column, int count, const std::string &text) {
    lines_[static_cast<std::size_t>(line)].replace(static_cast<std::size_t>(column - 1),
                                                   static_cast<std::size_t>(count), text);
  }

  std::vector<int> finished;

private:
  std::vector<std::string> lines_;
};

// A parser over memory lines, standing in for the control parsers.
class LineParser : public TParser {
public:
  explicit LineParser(MemoryLines &lines) : TParser(1), lines_(lines) {
    line_ = 0;
    setRangeEnd(1 << 20);
  }
  void NextWord(std::string &word) override { nextLineWord(lines_, word); }
  void Restart() override { restartLine(lines_); }
  void ReplaceWord(const std::string &text) override {
    lines_.replace(line_, column_, length_, text);
    TParser::ReplaceWord(text);
    length_ = static_cast<int>(text.size());
  }
  void place(int line, int column, int position) {
    line_ = line;
    column_ = column;
    position_ = position;
  }
  using TParser::setRangeEnd;

private:
  MemoryLines &lines_;
};

struct Word {
  int line, column, position;
  std::string text;
  bool skip = false;
  bool noRepeat = false;
  bool operator==(const Word &o) const {
    return line == o.line && column == o.column && position == o.position && text == o.text &&
           skip == o.skip && noRepeat == o.noRepeat;
  }
};

std::ostream &operator<<(std::ostream &out, const Word &w) {
  return out << w.line << "/" << w.column << "@" << w.position << ":\"" << w.text << "\""
             << (w.skip ? " skip" : "") << (w.noRepeat ? " norepeat" : "");
}

std::vector<Word> walk(LineParser &parser) {
  std::vector<Word> words;
  std::string word;
  for (int guard = 0; guard < 1000; ++guard) {
    parser.NextWord(word);
    if (parser.AtEnd())
      return words;
    words.push_back({parser.Line(), parser.Column(), parser.Position(), word, parser.SkipWord(),
                     parser.NoRepeatCheck()});
  }
  ADD_FAILURE() << "the walk did not end";
  return words;
}

struct LineCase {
  const char *name;
  std::vector<std::string> lines;
  bool html, internet, quoted;
  std::string quoteChars;
  std::vector<Word> words;
};

TEST(ParserLines, WordsOfEachText) {
  const std::vector<LineCase> cases = {
      {"words never cross lines",
       {"ab", "cd"},
       false,
       false,
       false,
       ">",
       {{0, 1, 1, "ab"}, {1, 1, 5, "cd"}}},
      {"no lines", {}, false, false, false, ">", {}},
      {"one empty line counts as none", {""}, false, false, false, ">", {}},
      {"empty lines between",
       {"a", "", "", " b"},
       false,
       false,
       false,
       ">",
       {{0, 1, 1, "a"}, {3, 2, 9, "b"}}},
      {"quoted line skipped",
       {"> quoted words", "plain text"},
       false,
       false,
       true,
       ">",
       {{1, 1, 17, "plain"}, {1, 7, 23, "text"}}},
      {"quoted line read without quoted mode",
       {"> quoted", "plain"},
       false,
       false,
       false,
       ">",
       {{0, 3, 3, "quoted"}, {1, 1, 11, "plain"}}},
      {"only the quote characters given mark a quote",
       {"> x", "| y"},
       false,
       false,
       true,
       "|",
       {{0, 3, 3, "x"}}},
      {"a quote mark inside a line quotes nothing",
       {"a > b"},
       false,
       false,
       true,
       ">",
       {{0, 1, 1, "a"}, {0, 5, 5, "b"}}},
      {"tag across lines",
       {"a <span", "class=x> b"},
       true,
       false,
       false,
       ">",
       {{0, 1, 1, "a"}, {1, 10, 19, "b", false, true}}},
      {"tag across lines read without HTML mode",
       {"a <span", "class=x> b"},
       false,
       false,
       false,
       ">",
       {{0, 1, 1, "a"}, {0, 4, 4, "span"}, {1, 1, 10, "class"}, {1, 7, 16, "x"}, {1, 10, 19, "b"}}},
      {"unclosed tag ends the walk", {"a <b", "c d"}, true, false, false, ">", {{0, 1, 1, "a"}}},
      {"URL ends at the line end",
       {"see http://x.y", "next"},
       false,
       true,
       false,
       ">",
       {{0, 1, 1, "see"}, {0, 5, 5, "http://x.y", true, true}, {1, 1, 17, "next"}}},
      {"ftp and news start URLs",
       {"ftp:a news:b"},
       false,
       true,
       false,
       ">",
       {{0, 1, 1, "ftp:a", true, true}, {0, 7, 7, "news:b", true, true}}},
      {"e-mail address",
       {"to me@x.org,"},
       false,
       true,
       false,
       ">",
       {{0, 1, 1, "to"}, {0, 4, 4, "me@x.org", true, true}}},
  };
  for (const LineCase &c : cases) {
    MemoryLines lines(c.lines);
    LineParser parser(lines);
    parser.SetHTMLMode(c.html);
    parser.SetInternetMode(c.internet);
    parser.SetQuotedMode(c.quoted);
    parser.SetQuoteChars(c.quoteChars);
    EXPECT_EQ(walk(parser), c.words) << c.name;
  }
}

TEST(ParserLines, EveryLineLeftIsReported) {
  MemoryLines lines({"a", "", "b"});
  LineParser parser(lines);
  walk(parser);
  EXPECT_EQ(lines.finished, (std::vector<int>{0, 1, 2}));
}

TEST(ParserLines, RangeEndStopsTheWalk) {
  MemoryLines lines({"ab cd", "ef"});
  LineParser parser(lines);
  parser.setRangeEnd(4); // "cd" begins at 4, "ef" at 8
  EXPECT_EQ(walk(parser), (std::vector<Word>{{0, 1, 1, "ab"}, {0, 4, 4, "cd"}}));
}

TEST(ParserLines, RestartBacksUpToTheStartOfTheWord) {
  MemoryLines lines({"x", "one two"});
  for (int column : {5, 6, 7}) {
    LineParser parser(lines);
    parser.place(1, column, 3 + column);
    parser.Restart();
    EXPECT_EQ(parser.Column(), 5) << column;
    EXPECT_EQ(parser.Position(), 8) << column;
    std::string word;
    parser.NextWord(word);
    EXPECT_EQ(word, "two");
  }
}

// One line of n words and of 8n words, read from a source that copies the
// line for every question, as a control does: the walk takes about 8
// times as long, not 64. Replacements that change the line's length on
// the way leave every later word where the changed line has it.
TEST(ParserLines, ALongLineIsWalkedInTimeLinearInItsLength) {
  auto lineOf = [](int words) {
    std::string line;
    for (int i = 0; i < words; ++i)
      line += i == 1 || i == words / 2 || i == words - 2 ? "teh " : "word ";
    return line;
  };
  int read = 0;
  std::vector<std::string> misplaced;
  const double ratio = testing_support::growthFrom(4000, lineOf, [&](const std::string &text) {
    MemoryLines lines({text});
    LineParser parser(lines);
    read = 0;
    misplaced.clear();
    std::string word;
    for (parser.NextWord(word); !parser.AtEnd(); parser.NextWord(word)) {
      ++read;
      if (lines.line(0).compare(static_cast<std::size_t>(parser.Position() - 1), word.size(),
                                word) != 0)
        misplaced.push_back(word + "@" + std::to_string(parser.Position()));
      if (word == "teh")
        parser.ReplaceWord("the quick");
    }
  });
  EXPECT_EQ(read, 32000);
  EXPECT_TRUE(misplaced.empty()) << misplaced.size() << " words misplaced, first "
                                 << misplaced.front();
  EXPECT_LT(ratio, testing_support::MostLinearGrowth)
      << "8 times the line took " << ratio << " times as long";
}

} // namespace
