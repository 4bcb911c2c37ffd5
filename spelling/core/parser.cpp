// The word parser base: shared state, undo records and the walk over flat
// text. See parser.h for how the parsers divide the work.
#include "spelling/core/parser.h"

#include "spelling/core/buffer-parser.h"
#include "spelling/core/string-parser.h"

#include <algorithm>
#include <limits>

namespace spelling {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowerAscii(const std::string &text) {
  std::string lower = text;
  for (char &c : lower)
    c = lowerAscii(c);
  return lower;
}

// Restores the Replacing flag on every way out, an exception included.
class ReplacingScope {
public:
  explicit ReplacingScope(TParser &parser) : parser_(parser), saved_(parser.Replacing()) {
    parser_.SetReplacing(true);
  }
  ~ReplacingScope() { parser_.SetReplacing(saved_); }

private:
  TParser &parser_;
  bool saved_;
};

} // namespace

TParser::TParser(int firstPosition) : firstPosition_(firstPosition), position_(firstPosition) {
  SetWordCharacters(DefaultWordChars);
}

TParser::~TParser() = default;

void TParser::SetHTMLMode(bool on) { htmlMode_ = on; }

void TParser::SetWordCharacters(const std::string &chars) {
  wordChars_ = chars;
  std::fill(std::begin(isWordChar_), std::end(isWordChar_), false);
  for (char c : chars)
    isWordChar_[static_cast<unsigned char>(c)] = true;
}

void TParser::SetUndoDepth(int depth) {
  undoDepth_ = depth;
  while (!undo_.empty() && static_cast<int>(undo_.size()) > std::max(undoDepth_, 0))
    undo_.pop_front();
}

// A range that begins before the text begins with the text.
void TParser::SetRange(int start, int end) {
  forgetLines();
  position_ = std::max(start, firstPosition_);
  rangeEnd_ = end;
  Restart();
}

void TParser::SetRangeXY(int start, int end) { SetRange(start, end); }
void TParser::StartAtCaret() {}
void TParser::StopAtSelectionEnd() {}
void TParser::NextWord(std::string &) {}
void TParser::SelectWord() {}

void TParser::ReplaceWord(const std::string &text) {
  // Every change of the text (spaces included) comes through here, and may
  // move the breaks of a wrapped control's lines as well.
  forgetLines();
  rangeEnd_ += static_cast<int>(text.size()) - length_;
  RecordReplacement(text);
}

void TParser::GetControlRect(TParserRect &rect) { rect.Left = -1; }
void TParser::GetWordRect(TParserRect &rect) { rect.Left = -1; }
void TParser::ShowWord() {}
void TParser::Restart() {}
void TParser::BeginCheck() {}

// The range end moves only by the replacement's own change of length: one
// character less for a deleted space, one more for an inserted one, so that
// the last word of the range is still read after a repeated word is deleted.
bool TParser::DeleteSpace() {
  length_ = 1;
  ReplacingScope replacing(*this);
  SelectWord();
  ReplaceWord("");
  return true;
}

void TParser::InsertSpace() {
  length_ = 1;
  ReplacingScope replacing(*this);
  SelectWord();
  std::string text;
  GetWord(text);
  ReplaceWord(" " + text);
}

void TParser::GetWord(std::string &text) { text = currentWord_; }

void TParser::SetUndoKind(int code) {
  if (!undo_.empty())
    undo_.back().Code = code;
}

void TParser::RecordReplacement(const std::string &text) {
  if (replacing_ || !recordIsCurrent_ || undo_.empty())
    return;
  undo_.back().Word = currentWord_;
  undo_.back().Replacement = text;
  undo_.back().Replaced = true;
}

void TParser::RestoreUndoSelection(const TUndo &) {}

// The word now goes to the user, who may edit the control before the
// next one is read.
void TParser::PushUndo() {
  forgetLines();
  TUndo record;
  record.Column = column_;
  record.Line = line_;
  record.Position = position_;
  record.Length = length_;
  record.Word = currentWord_;
  undo_.push_back(record);
  recordIsCurrent_ = true;
  while (!undo_.empty() && static_cast<int>(undo_.size()) > std::max(undoDepth_, 0))
    undo_.pop_front();
}

std::unique_ptr<TUndo> TParser::PopUndo() {
  if (!CanUndo())
    return nullptr;
  undo_.pop_back(); // the word on show
  forgetLines();
  auto record = std::make_unique<TUndo>(undo_.back());
  undo_.pop_back();
  recordIsCurrent_ = false;
  atEnd_ = false;
  column_ = record->Column;
  line_ = record->Line;
  position_ = record->Position;
  length_ = 0;
  if (record->Code == UndoDeletedOneSpace || record->Code == UndoDeletedTwoSpaces)
    InsertSpace();
  if (record->Code == UndoDeletedTwoSpaces)
    InsertSpace();
  if (record->Replaced) {
    length_ = static_cast<int>(record->Replacement.size());
    ReplacingScope replacing(*this);
    RestoreUndoSelection(*record);
    SelectWord();
    ReplaceWord(record->Word);
  }
  length_ = 0;
  return record;
}

bool TParser::CanUndo() const { return undo_.size() > 1; }

bool TParser::hasCharAt(int) const { return false; }
char TParser::charAt(int) const { return '\0'; }
void TParser::replaceText(int, int, const std::string &) {}

bool TParser::isTerminator(char c) const {
  switch (c) {
  case '\r':
  case '\n':
  case '\t':
  case ' ':
  case '"':
  case '(':
  case ')':
  case '[':
  case ']':
  case '{':
  case '}':
  case ',':
  case '<':
  case '>':
  case '\'':
    return true;
  default:
    return false;
  }
}

bool TParser::inWalk(int position) const { return position <= rangeEnd_ && hasCharAt(position); }

bool TParser::startsInternetWord() const {
  int after = position_ + length_;
  if (!hasCharAt(after))
    return false;
  if (charAt(after) == '@')
    return true;
  if (charAt(after) != ':')
    return false;
  return isSchemeWord(currentWord_, knowsAllSchemes());
}

bool TParser::isSchemeWord(const std::string &word, bool allSchemes) const {
  std::string lower = lowerAscii(word);
  if (lower == "http")
    return true;
  return allSchemes && (lower == "ftp" || lower == "news");
}

void TParser::nextFlatWord(std::string &word) {
  skipWord_ = false;
  noRepeatCheck_ = false;
  recordIsCurrent_ = false;
  word.clear();
  // A position set from outside may lie anywhere; never step past INT_MAX.
  if (length_ > 0 && position_ > std::numeric_limits<int>::max() - length_) {
    atEnd_ = true;
    currentWord_.clear();
    return;
  }
  position_ += length_;
  length_ = 0;
  while (inWalk(position_)) {
    char c = charAt(position_);
    if (IsWordChar(c))
      break;
    if (htmlMode_ && c == '<') {
      noRepeatCheck_ = true;
      while (hasCharAt(position_) && charAt(position_) != '>')
        ++position_;
    }
    ++position_;
  }
  if (!inWalk(position_)) {
    atEnd_ = true;
    currentWord_.clear();
    return;
  }
  // The range end only says where a word may begin; the word runs on.
  length_ = 1;
  while (hasCharAt(position_ + length_) && IsWordChar(charAt(position_ + length_)))
    ++length_;
  currentWord_.clear();
  for (int i = 0; i < length_; ++i)
    currentWord_ += charAt(position_ + i);
  if (internetMode_ && startsInternetWord()) {
    while (hasCharAt(position_ + length_) && !isTerminator(charAt(position_ + length_)))
      currentWord_ += charAt(position_ + length_++);
    skipWord_ = true;
    noRepeatCheck_ = true;
  }
  word = currentWord_;
}

void TParser::restartFlat() {
  while (position_ > firstPosition_ && hasCharAt(position_) && IsWordChar(charAt(position_)))
    --position_;
  if (position_ > firstPosition_ && position_ < std::numeric_limits<int>::max())
    ++position_;
}

bool TParser::deleteFlatSpace() {
  if (!hasCharAt(position_) || charAt(position_) != ' ')
    return false;
  return TParser::DeleteSpace();
}

// The character at Position is taken out and put back after a space; at the
// end of the text there is none, and the space alone is appended.
void TParser::insertFlatSpace() {
  bool atTextEnd = !hasCharAt(position_);
  std::string text = " ";
  if (!atTextEnd)
    text += charAt(position_);
  length_ = atTextEnd ? 0 : 1;
  ReplacingScope replacing(*this);
  SelectWord();
  ReplaceWord(text);
}

// Moves the column from a "<" past the next ">", crossing lines; false when
// the lines run out first.
bool TParser::skipLineTag(ParserLines &lines, int lineCount) {
  for (;;) {
    std::size_t close = lineTextOf(lines, line_).find('>', static_cast<std::size_t>(column_ - 1));
    if (close != std::string::npos) {
      column_ = static_cast<int>(close) + 2;
      return true;
    }
    lines.lineFinished(line_);
    ++line_;
    column_ = 1;
    if (line_ >= lineCount)
      return false;
  }
}

int TParser::linesCount(ParserLines &lines) {
  if (!keptLine_.count)
    keptLine_.count = lines.lineCount();
  return *keptLine_.count;
}

const std::string &TParser::lineTextOf(ParserLines &lines, int line) {
  if (keptLine_.line != line) {
    keptLine_.text = lines.lineText(line);
    keptLine_.line = line;
    keptLine_.start.reset();
  }
  return keptLine_.text;
}

int TParser::lineStartOf(ParserLines &lines, int line) {
  lineTextOf(lines, line);
  if (!keptLine_.start)
    keptLine_.start = lines.lineStart(line);
  return *keptLine_.start;
}

void TParser::forgetLines() {
  keptLine_.count.reset();
  keptLine_.line = -1;
  keptLine_.start.reset();
}

void TParser::nextLineWord(ParserLines &lines, std::string &word) {
  skipWord_ = false;
  noRepeatCheck_ = false;
  recordIsCurrent_ = false;
  word.clear();
  int lineCount = linesCount(lines);
  if (lineCount <= 0 || line_ >= lineCount || line_ < 0) {
    atEnd_ = true;
    return;
  }
  if (length_ > 0 && column_ > std::numeric_limits<int>::max() - length_) {
    atEnd_ = true;
    return;
  }
  column_ = std::max(column_ + length_, 1);
  length_ = 0;
  for (;;) {
    const std::string &text = lineTextOf(lines, line_);
    if (column_ > static_cast<int>(text.size())) {
      lines.lineFinished(line_);
      ++line_;
      column_ = 1;
      if (line_ >= lineCount) {
        atEnd_ = true;
        return;
      }
      continue;
    }
    if (quotedMode_ && !text.empty() && quoteChars_.find(text[0]) != std::string::npos) {
      column_ = static_cast<int>(text.size()) + 1;
      continue;
    }
    char c = text[static_cast<std::size_t>(column_ - 1)];
    if (htmlMode_ && c == '<') {
      noRepeatCheck_ = true;
      if (!skipLineTag(lines, lineCount)) {
        atEnd_ = true;
        return;
      }
      continue;
    }
    if (!IsWordChar(c)) {
      ++column_;
      continue;
    }
    position_ = lineStartOf(lines, line_) + column_;
    if (position_ > rangeEnd_) {
      atEnd_ = true;
      return;
    }
    std::size_t start = static_cast<std::size_t>(column_ - 1);
    std::size_t end = start + 1;
    while (end < text.size() && IsWordChar(text[end]))
      ++end;
    currentWord_ = text.substr(start, end - start);
    if (internetMode_ && end < text.size() &&
        (text[end] == '@' || (text[end] == ':' && isSchemeWord(currentWord_, true)))) {
      while (end < text.size() && !isTerminator(text[end]))
        ++end;
      currentWord_ = text.substr(start, end - start);
      skipWord_ = true;
      noRepeatCheck_ = true;
    }
    length_ = static_cast<int>(end - start);
    word = currentWord_;
    return;
  }
}

void TParser::restartLine(ParserLines &lines) {
  if (line_ < 0 || line_ >= linesCount(lines))
    return;
  const std::string &text = lineTextOf(lines, line_);
  auto wordCharAt = [&](int column) {
    return column >= 1 && column <= static_cast<int>(text.size()) &&
           IsWordChar(text[static_cast<std::size_t>(column - 1)]);
  };
  while (column_ > 1 && wordCharAt(column_)) {
    --column_;
    --position_;
  }
  if (column_ > 1 && column_ <= static_cast<int>(text.size()) &&
      position_ < std::numeric_limits<int>::max()) {
    ++column_;
    ++position_;
  }
}

void applySpellOptions(TParser &parser, TSpellOptions options, const std::string &quoteChars) {
  parser.SetHTMLMode(options.contains(soHTML));
  parser.SetInternetMode(options.contains(soInternet));
  parser.SetQuotedMode(options.contains(soQuoted));
  parser.SetQuoteChars(quoteChars);
}

std::unique_ptr<TParser> CreateParserForSource(int kind, void *source) {
  if (!source)
    return nullptr;
  switch (kind % 128) {
  case 0: {
    auto *buffer = static_cast<TParserBuffer *>(source);
    if (!buffer->Text || buffer->Capacity == 0)
      return nullptr;
    return std::make_unique<TBufferParser>(buffer->Text, buffer->Capacity);
  }
  case 1:
    return std::make_unique<TStringParser>(*static_cast<std::string *>(source));
  default:
    return nullptr;
  }
}

} // namespace spelling
