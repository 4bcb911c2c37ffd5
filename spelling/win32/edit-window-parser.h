// The parser over any window that answers the platform's edit-control
// messages (an editor's own window, say). It walks lines as the memo
// parser does but reads them itself, each cut to 4,096 characters, and
// tells the window where the walk is: message 0x1635 (0, line) when it
// leaves a line, 0x1634 (column, line) after each word it reads, or
// (-1, -1) at the end. Words that are addresses or URLs are not announced.
#ifndef SPELLING_WIN32_EDIT_WINDOW_PARSER_H
#define SPELLING_WIN32_EDIT_WINDOW_PARSER_H

#include "spelling/win32/memo-parser.h"

namespace spelling {

// The messages an editor window may handle to follow the check.
constexpr UINT WM_PARSER_WORD = 0x1634;
constexpr UINT WM_PARSER_LINE_DONE = 0x1635;

class TWinAPIEditorSpellParser : public TCustomMemoParser {
public:
  // The longest line the parser reads; longer lines are cut.
  static constexpr int LineBufferSize = 4096;

  // window must outlive the parser.
  explicit TWinAPIEditorSpellParser(HWND window);

  void NextWord(std::string &word) override;
  void ReplaceWord(const std::string &text) override;
  void BeginCheck() override;
  // The selected text, read line by line and joined by CR LF.
  void GetWord(std::string &text) override;

protected:
  PositionForm positionForm() const override { return positionForm_; }
  std::string lineText(int line) override;
  void lineFinished(int line) override;

private:
  PositionForm positionForm_;
  int lastLine_ = -1; // the line in lastLineText_, -1 for none
  std::string lastLineText_;
};

} // namespace spelling

#endif
