// What the control parsers ask of an edit window beyond its text: the line
// height they measure words with, the control's and a character's place on
// the screen, and scrolling a line to the middle of the control.
#ifndef SPELLING_WIN32_PARSER_WINDOW_H
#define SPELLING_WIN32_PARSER_WINDOW_H

#include "spelling/core/parser.h"

#include <windows.h>

#include <string>

namespace spelling {

// The height of a line of the system font; with externalLeading, the
// space the font puts between lines too.
int systemFontLineHeight(bool externalLeading);

// The window's client area in screen coordinates.
TParserRect windowClientRect(HWND window);

// How a window answers the position-from-character message: an edit
// control packs the client point into the result, a rich edit fills a
// point passed by address.
enum class PositionForm { Edit, RichEdit };

// The form for a window: rich edits by their class name, every other
// window as an edit control.
PositionForm positionFormOf(HWND window);

// The screen point of the character at a 0-based index; false when the
// window gives none (an index past the text, for an edit control).
bool characterPoint(HWND window, PositionForm form, int index, POINT &point);

// The rectangle from the character at start to the one at end, with the
// end's line below it; an end point the window cannot give (past the text)
// is taken as the start point.
TParserRect wordRect(HWND window, PositionForm form, int start, int end, int lineHeight);

// Half the lines of lineHeight that the window's client area shows,
// rounded toward zero.
int halfVisibleLines(HWND window, int lineHeight);

// Scrolls so that line comes halfVisible lines below the first visible one.
void scrollLineToMiddle(HWND window, int line, int halfVisible);

// A line of an edit window by the line-index, line-length and get-line
// messages, cut to maxLength characters; empty for a line it does not have.
std::string readWindowLine(HWND window, int line, int maxLength);

// A window's line count by message; a window holding one empty line has
// none.
int windowLineCount(HWND window);

} // namespace spelling

#endif
