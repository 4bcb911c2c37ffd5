// What the in-place editors of a list's cell share: their window made over
// the cell, with the list's font, and the end of an edit reported to the
// list's parent as the list's own LVN_ENDLABELEDITA.
#ifndef PASSIVE_LIB_UIKIT_IN_PLACE_CELL_H
#define PASSIVE_LIB_UIKIT_IN_PLACE_CELL_H

#include <windows.h>

#include <string>

namespace uikit {

// A child window of list over rect, or null.
HWND createCellWindow(const char *className, DWORD style, const RECT &rect, HWND list, UINT id);

// Gives window the list's font.
void useListFont(HWND window, HWND list);

// Sends the end of the edit of (row, column) with text (null: the edit
// was escaped); true when the parent refuses the text, so the editor stays.
bool reportCellEdit(HWND list, int row, int column, const std::string *text);

} // namespace uikit

#endif
