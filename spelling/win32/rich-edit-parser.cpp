// The rich-edit parser: selection, line and length messages in their
// rich-edit forms, which are not limited to 64K characters.
#include "spelling/win32/rich-edit-parser.h"

#include <richedit.h>

namespace spelling {

TCustomRichEditParser::TCustomRichEditParser(components::TCustomRichEdit &richEdit)
    : TCustomMemoParser(&richEdit, richEdit.Handle(), false) {
  setUp();
}

void TCustomRichEditParser::selection(int &start, int &end) {
  CHARRANGE range{0, 0};
  SendMessageA(window_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  start = range.cpMin;
  end = range.cpMax;
}

int TCustomRichEditParser::lineFromChar(int index) {
  return static_cast<int>(SendMessageA(window_, EM_EXLINEFROMCHAR, 0, index));
}

// Counted as the control numbers its characters (a line break is one), so
// that the range end and the positions agree.
int TCustomRichEditParser::textLength() {
  GETTEXTLENGTHEX request{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  return static_cast<int>(
      SendMessageA(window_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
}

} // namespace spelling
