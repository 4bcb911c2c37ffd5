// The edit-window parser.
#include "spelling/win32/edit-window-parser.h"

#include <algorithm>

namespace spelling {

TWinAPIEditorSpellParser::TWinAPIEditorSpellParser(HWND window)
    : TCustomMemoParser(nullptr, window, true), positionForm_(positionFormOf(window)) {
  setUp();
}

void TWinAPIEditorSpellParser::NextWord(std::string &word) {
  // The window may have changed since the last word (the user edits while
  // the dialog waits): the remembered line is read again.
  lastLine_ = -1;
  TCustomMemoParser::NextWord(word);
  if (AtEnd()) {
    SendMessageA(window_, WM_PARSER_WORD, static_cast<WPARAM>(-1), static_cast<LPARAM>(-1));
    return;
  }
  if (!SkipWord())
    SendMessageA(window_, WM_PARSER_WORD, static_cast<WPARAM>(column_), static_cast<LPARAM>(line_));
}

void TWinAPIEditorSpellParser::ReplaceWord(const std::string &text) {
  lastLine_ = -1;
  TCustomMemoParser::ReplaceWord(text);
}

void TWinAPIEditorSpellParser::BeginCheck() {
  length_ = 0;
  atEnd_ = false;
}

std::string TWinAPIEditorSpellParser::lineText(int line) {
  if (line != lastLine_) {
    lastLineText_ = readWindowLine(window_, line, LineBufferSize);
    lastLine_ = line;
  }
  return lastLineText_;
}

void TWinAPIEditorSpellParser::lineFinished(int line) {
  SendMessageA(window_, WM_PARSER_LINE_DONE, 0, static_cast<LPARAM>(line));
}

void TWinAPIEditorSpellParser::GetWord(std::string &text) {
  text.clear();
  int start = 0, end = 0;
  selection(start, end);
  if (end <= start)
    return;
  int firstLine = lineFromChar(start), lastLine = lineFromChar(end);
  for (int line = firstLine; line <= lastLine; ++line) {
    int lineBegin = lineStart(line);
    if (lineBegin < 0)
      break;
    std::string lineChars = lineText(line);
    int from = std::max(start - lineBegin, 0);
    int to = std::min(end - lineBegin, static_cast<int>(lineChars.size()));
    if (line > firstLine)
      text += "\r\n";
    if (from < to)
      text += lineChars.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
  }
}

} // namespace spelling
