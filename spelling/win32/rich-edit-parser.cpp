// The rich-edit parser: selection, line and length messages in their
// rich-edit forms, which are not limited to 64K characters.
#include "spelling/win32/rich-edit-parser.h"

#include <richedit.h>

#include <algorithm>

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

// Read by character range: the get-line message takes its buffer's size
// in one 16-bit word, so it would cut a line at 65,535 characters, and a
// line here is a whole paragraph when the control does not wrap.
std::string TCustomRichEditParser::lineText(int line) {
  LRESULT start = SendMessageA(window_, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
  if (start < 0)
    return std::string();
  LRESULT length = SendMessageA(window_, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
  if (length <= 0)
    return std::string();
  // One byte per character of the 8-bit text, and the terminator.
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  TEXTRANGEA range{{static_cast<LONG>(start), static_cast<LONG>(start + length)}, &text[0]};
  LRESULT copied = SendMessageA(window_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return text;
}

} // namespace spelling
