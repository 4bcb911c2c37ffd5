// The lines of a memo, read from and written to its window.
#include "platform/components/win32/memo-lines.h"
#include "platform/components/win32/custom-memo.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

int TMemoLines::Count() const {
  HWND window = memo_.Handle();
  int count = static_cast<int>(SendMessageA(window, EM_GETLINECOUNT, 0, 0));
  if (count > 0) {
    LRESULT lastStart = SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(count - 1), 0);
    if (SendMessageA(window, EM_LINELENGTH, static_cast<WPARAM>(lastStart), 0) == 0)
      --count;
  }
  return count;
}

std::string TMemoLines::Strings(int index) const {
  HWND window = memo_.Handle();
  LRESULT start = SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
  if (start < 0)
    return std::string();
  int length = static_cast<int>(SendMessageA(window, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
  // EM_GETLINE takes the buffer size in the buffer's first word and does
  // not terminate the text.
  std::string line(static_cast<std::size_t>(std::max(length, 1)) + 1, '\0');
  *reinterpret_cast<WORD *>(&line[0]) = static_cast<WORD>(line.size());
  int copied = static_cast<int>(SendMessageA(window, EM_GETLINE, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(&line[0])));
  line.resize(static_cast<std::size_t>(std::min(copied, length)));
  return line;
}

void TMemoLines::Add(const std::string &line) {
  std::string text = memo_.Caption();
  std::string insert = line + "\r\n";
  bool endsWithBreak = !text.empty() && (text.back() == '\n' || text.back() == '\r');
  if (!text.empty() && !endsWithBreak)
    insert = "\r\n" + insert;
  int end = memo_.GetTextLen();
  SendMessageA(memo_.Handle(), EM_SETSEL, end, end);
  SendMessageA(memo_.Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(insert.c_str()));
}

void TMemoLines::Clear() { memo_.SetText(""); }

std::string TMemoLines::Text() const { return memo_.Caption(); }

void TMemoLines::SetText(const std::string &text) { memo_.SetText(text); }

} // namespace components
