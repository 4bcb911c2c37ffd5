// The parser over a memo: the walk over the control's lines (line 0-based,
// column 1-based, Position the line's first character index plus the
// column), with the word selected, replaced and scrolled into view in the
// control itself. The rich-edit and edit-window parsers derive from it and
// change how the control is asked.
#ifndef SPELLING_WIN32_MEMO_PARSER_H
#define SPELLING_WIN32_MEMO_PARSER_H

#include "platform/components/win32/std-controls.h"
#include "spelling/core/parser.h"
#include "spelling/win32/parser-window.h"

#include <windows.h>

namespace spelling {

class TCustomMemoParser : public TParser, protected ParserLines {
public:
  // memo must outlive the parser; its window is made if need be.
  explicit TCustomMemoParser(components::TCustomMemo &memo);

  void SetRange(int start, int end) override;
  void StartAtCaret() override;
  void StopAtSelectionEnd() override;
  void NextWord(std::string &word) override;
  void SelectWord() override;
  void ReplaceWord(const std::string &text) override;
  void GetControlRect(TParserRect &rect) override;
  void GetWordRect(TParserRect &rect) override;
  void ShowWord() override;
  void Restart() override;
  bool DeleteSpace() override;
  // At a line's end the character after the position is the line break:
  // the space goes in alone, so that the break is never cut in two.
  void InsertSpace() override;
  void GetWord(std::string &text) override;

  // The line height words are measured with, and half the lines of that
  // height the control shows: ShowWord puts the word's line that far down.
  int HalfVisibleLines() const { return halfVisibleLines_; }

protected:
  // For parsers over any edit window: memo is null, and every question
  // goes to the window by message.
  TCustomMemoParser(components::TCustomMemo *memo, HWND window, bool externalLeading);
  // Measures the control and takes its text length as the range end.
  void setUp();

  // The control's selection as 0-based character indices.
  virtual void selection(int &start, int &end);
  virtual int lineFromChar(int index);
  virtual int textLength();
  virtual PositionForm positionForm() const { return PositionForm::Edit; }

  int lineCount() override;
  int lineStart(int line) override;
  std::string lineText(int line) override;

  components::TCustomMemo *memo_;
  HWND window_;

private:
  bool externalLeading_;
  int lineHeight_ = 1;
  int halfVisibleLines_ = 0;
};

} // namespace spelling

#endif
