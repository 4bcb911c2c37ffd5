// The single-line edit parser.
#include "spelling/win32/edit-parser.h"

#include "spelling/win32/parser-window.h"

#include <algorithm>

namespace spelling {

TCustomEditParser::TCustomEditParser(components::TCustomEdit &edit)
    : TParser(1), edit_(edit), lineHeight_(systemFontLineHeight(false)) {
  readText();
  setRangeEnd(static_cast<int>(text_.size()));
}

void TCustomEditParser::readText() {
  text_ = edit_.Text();
  textMayHaveChanged_ = false;
}

// A caret before the first character has no character before it: the walk
// then starts at the first, as a range that begins before the text does.
void TCustomEditParser::StartAtCaret() {
  position_ = std::max(edit_.SelStart(), firstPosition_);
  Restart();
}

void TCustomEditParser::StopAtSelectionEnd() { setRangeEnd(edit_.SelStart() + edit_.SelLength()); }

void TCustomEditParser::NextWord(std::string &word) {
  if (textMayHaveChanged_)
    readText();
  nextFlatWord(word);
}

void TCustomEditParser::SelectWord() {
  SendMessageA(edit_.Handle(), EM_SETSEL, static_cast<WPARAM>(position_ - 1),
               static_cast<LPARAM>(position_ - 1 + length_));
}

void TCustomEditParser::ReplaceWord(const std::string &text) {
  edit_.SetSelText(text);
  TParser::ReplaceWord(text);
  length_ = static_cast<int>(text.size());
  readText();
}

void TCustomEditParser::GetControlRect(TParserRect &rect) {
  rect = windowClientRect(edit_.Handle());
}

void TCustomEditParser::GetWordRect(TParserRect &rect) {
  int start = edit_.SelStart();
  rect =
      wordRect(edit_.Handle(), PositionForm::Edit, start, start + edit_.SelLength(), lineHeight_);
}

void TCustomEditParser::Restart() {
  readText();
  restartFlat();
}

bool TCustomEditParser::DeleteSpace() {
  readText();
  return deleteFlatSpace();
}

void TCustomEditParser::InsertSpace() {
  readText();
  insertFlatSpace();
}

void TCustomEditParser::GetWord(std::string &text) { text = edit_.SelText(); }

void TCustomEditParser::PushUndo() {
  TParser::PushUndo();
  textMayHaveChanged_ = true;
}

bool TCustomEditParser::hasCharAt(int position) const {
  return position >= 1 && static_cast<std::size_t>(position) <= text_.size();
}

char TCustomEditParser::charAt(int position) const {
  return text_[static_cast<std::size_t>(position - 1)];
}

} // namespace spelling
