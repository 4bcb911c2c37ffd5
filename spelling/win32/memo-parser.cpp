// The memo parser and the line walk shared with the rich-edit and
// edit-window parsers.
#include "spelling/win32/memo-parser.h"

#include <algorithm>
#include <limits>

namespace spelling {

TCustomMemoParser::TCustomMemoParser(components::TCustomMemo &memo)
    : TCustomMemoParser(&memo, memo.Handle(), false) {
  setUp();
}

TCustomMemoParser::TCustomMemoParser(components::TCustomMemo *memo, HWND window,
                                     bool externalLeading)
    : TParser(0), memo_(memo), window_(window), externalLeading_(externalLeading) {
  line_ = 0;
}

// Virtual calls are not dispatched to a derived class from the base's
// constructor: each parser calls this from its own.
void TCustomMemoParser::setUp() {
  lineHeight_ = systemFontLineHeight(externalLeading_);
  halfVisibleLines_ = halfVisibleLines(window_, lineHeight_);
  setRangeEnd(textLength());
}

void TCustomMemoParser::selection(int &start, int &end) {
  DWORD first = 0, last = 0;
  SendMessageA(window_, EM_GETSEL, reinterpret_cast<WPARAM>(&first),
               reinterpret_cast<LPARAM>(&last));
  start = static_cast<int>(first);
  end = static_cast<int>(last);
}

int TCustomMemoParser::lineFromChar(int index) {
  return static_cast<int>(SendMessageA(window_, EM_LINEFROMCHAR, static_cast<WPARAM>(index), 0));
}

int TCustomMemoParser::textLength() {
  return static_cast<int>(SendMessageA(window_, WM_GETTEXTLENGTH, 0, 0));
}

int TCustomMemoParser::lineCount() { return windowLineCount(window_); }

int TCustomMemoParser::lineStart(int line) {
  return static_cast<int>(SendMessageA(window_, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
}

std::string TCustomMemoParser::lineText(int line) {
  return readWindowLine(window_, line, std::numeric_limits<int>::max());
}

// A 0-based character index from the selection, taken as a 1-based
// position, stands for the character before it: the column is counted so
// that Restart backs up to the start of the word at the caret.
void TCustomMemoParser::SetRange(int start, int end) {
  int index = std::max(start, 0);
  line_ = std::max(lineFromChar(index), 0);
  column_ = start - std::max(lineStart(line_), 0);
  TParser::SetRange(start, end);
}

void TCustomMemoParser::StartAtCaret() {
  int start = 0, end = 0;
  selection(start, end);
  SetRange(start, RangeEnd());
}

void TCustomMemoParser::StopAtSelectionEnd() {
  int start = 0, end = 0;
  selection(start, end);
  SetRange(position_, end);
}

void TCustomMemoParser::NextWord(std::string &word) { nextLineWord(*this, word); }

void TCustomMemoParser::SelectWord() {
  SendMessageA(window_, EM_SETSEL, static_cast<WPARAM>(position_ - 1),
               static_cast<LPARAM>(position_ - 1 + length_));
}

void TCustomMemoParser::ReplaceWord(const std::string &text) {
  // Undo allowed: the control's own undo takes the replacement back too.
  SendMessageA(window_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  TParser::ReplaceWord(text);
  length_ = static_cast<int>(text.size());
}

void TCustomMemoParser::GetControlRect(TParserRect &rect) { rect = windowClientRect(window_); }

void TCustomMemoParser::GetWordRect(TParserRect &rect) {
  int start = 0, end = 0;
  selection(start, end);
  rect = wordRect(window_, positionForm(), start, end, lineHeight_);
}

void TCustomMemoParser::ShowWord() {
  int start = 0, end = 0;
  selection(start, end);
  scrollLineToMiddle(window_, lineFromChar(start), halfVisibleLines_);
}

void TCustomMemoParser::Restart() { restartLine(*this); }

bool TCustomMemoParser::DeleteSpace() {
  if (line_ < 0 || line_ >= linesCount(*this))
    return false;
  const std::string &text = lineTextOf(*this, line_);
  if (column_ < 1 || column_ > static_cast<int>(text.size()) ||
      text[static_cast<std::size_t>(column_ - 1)] != ' ')
    return false;
  return TParser::DeleteSpace();
}

void TCustomMemoParser::InsertSpace() {
  const bool inLine = line_ >= 0 && line_ < linesCount(*this) && column_ >= 1 &&
                      column_ <= static_cast<int>(lineTextOf(*this, line_).size());
  if (inLine) {
    TParser::InsertSpace();
    return;
  }
  bool replacing = Replacing();
  SetReplacing(true);
  length_ = 0;
  try {
    SelectWord();
    ReplaceWord(" ");
  } catch (...) {
    SetReplacing(replacing);
    throw;
  }
  SetReplacing(replacing);
}

void TCustomMemoParser::GetWord(std::string &text) {
  text = memo_ ? memo_->SelText() : std::string();
}

} // namespace spelling
