// The parser over a rich edit: the memo's line walk in the rich edit's own
// character numbering, where a line break counts as one character.
#ifndef SPELLING_WIN32_RICH_EDIT_PARSER_H
#define SPELLING_WIN32_RICH_EDIT_PARSER_H

#include "spelling/win32/memo-parser.h"

namespace spelling {

class TCustomRichEditParser : public TCustomMemoParser {
public:
  // richEdit must outlive the parser; its window is made if need be.
  explicit TCustomRichEditParser(components::TCustomRichEdit &richEdit);

protected:
  void selection(int &start, int &end) override;
  int lineFromChar(int index) override;
  int textLength() override;
  std::string lineText(int line) override;
  PositionForm positionForm() const override { return PositionForm::RichEdit; }
};

} // namespace spelling

#endif
