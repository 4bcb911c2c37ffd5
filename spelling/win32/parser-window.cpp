// Measuring, scrolling and line reading for the control parsers, by the
// platform's edit-control messages.
#include "spelling/win32/parser-window.h"

#include "platform/base/win32/gdi-owners.h"

#include <richedit.h>

#include <algorithm>
#include <cctype>
#include <climits>

namespace spelling {

int systemFontLineHeight(bool externalLeading) {
  base::WindowDC screen(nullptr);
  if (!screen)
    return 16;
  base::SelectedObject font(screen.get(), GetStockObject(SYSTEM_FONT));
  TEXTMETRICA metrics{};
  if (!GetTextMetricsA(screen.get(), &metrics))
    return 16;
  int height = metrics.tmHeight + (externalLeading ? metrics.tmExternalLeading : 0);
  // A zero height would divide the visible lines by nothing.
  return std::max(height, 1);
}

TParserRect windowClientRect(HWND window) {
  TParserRect rect;
  RECT client{};
  POINT origin{0, 0};
  if (!GetClientRect(window, &client) || !ClientToScreen(window, &origin))
    return rect;
  rect.Left = origin.x;
  rect.Top = origin.y;
  rect.Right = origin.x + client.right;
  rect.Bottom = origin.y + client.bottom;
  return rect;
}

PositionForm positionFormOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  std::string lower(name);
  for (char &c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find("richedit") != std::string::npos ? PositionForm::RichEdit : PositionForm::Edit;
}

bool characterPoint(HWND window, PositionForm form, int index, POINT &point) {
  if (index < 0)
    return false;
  if (form == PositionForm::RichEdit) {
    POINTL where{LONG_MIN, LONG_MIN};
    SendMessageA(window, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&where), index);
    if (where.x == LONG_MIN || where.y == LONG_MIN)
      return false;
    point = POINT{where.x, where.y};
  } else {
    LRESULT packed = SendMessageA(window, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    // An index past the text gives -1 rather than a point.
    if (packed == -1 || static_cast<DWORD>(packed) == 0xFFFFFFFFu)
      return false;
    point = POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
  }
  return ClientToScreen(window, &point) != FALSE;
}

TParserRect wordRect(HWND window, PositionForm form, int start, int end, int lineHeight) {
  TParserRect rect;
  POINT first{};
  if (!characterPoint(window, form, start, first))
    return rect;
  POINT last = first;
  if (!characterPoint(window, form, end, last))
    last = first;
  rect.Left = first.x;
  rect.Top = first.y;
  rect.Right = last.x;
  rect.Bottom = last.y + lineHeight;
  return rect;
}

int halfVisibleLines(HWND window, int lineHeight) {
  RECT client{};
  if (lineHeight <= 0 || !GetClientRect(window, &client))
    return 0;
  return client.bottom / lineHeight / 2;
}

void scrollLineToMiddle(HWND window, int line, int halfVisible) {
  int first = static_cast<int>(SendMessageA(window, EM_GETFIRSTVISIBLELINE, 0, 0));
  int delta = line - halfVisible - first;
  if (delta != 0)
    SendMessageA(window, EM_LINESCROLL, 0, delta);
}

std::string readWindowLine(HWND window, int line, int maxLength) {
  LRESULT start = SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
  if (start < 0)
    return std::string();
  int length = static_cast<int>(SendMessageA(window, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
  // The get-line message takes the buffer's size in its first word, so no
  // more than 65535 characters come back at once.
  length = std::min({std::max(length, 0), maxLength, 0xFFFC});
  if (length == 0)
    return std::string();
  // The copy is not terminated, and a rich edit adds the line break.
  std::string text(static_cast<std::size_t>(std::max(length, 2)) + 2, '\0');
  *reinterpret_cast<WORD *>(&text[0]) = static_cast<WORD>(text.size());
  LRESULT copied = SendMessageA(window, EM_GETLINE, static_cast<WPARAM>(line),
                                reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return text;
}

int windowLineCount(HWND window) {
  int count = static_cast<int>(SendMessageA(window, EM_GETLINECOUNT, 0, 0));
  if (count == 1 && SendMessageA(window, EM_LINELENGTH, 0, 0) == 0)
    return 0;
  return std::max(count, 0);
}

} // namespace spelling
