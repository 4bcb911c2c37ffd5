// Whether the clipboard's text survives the program's 8-bit text: the
// clipboard may hold Unicode text with characters the ANSI code page has
// no byte for, which would come back as "?" or a look-alike.
#ifndef CLIPBOARD_CHECKER_WIN32_CLIPBOARD_TEXT_H
#define CLIPBOARD_CHECKER_WIN32_CLIPBOARD_TEXT_H

#include <string>

namespace lexitray {

// True when the clipboard's Unicode text, if it has one, converts to the
// ANSI code page and back unchanged (no default character, no best-fit
// replacement). False too when the clipboard cannot be opened.
bool clipboardTextFitsCodePage();

// The same test for one Unicode text.
bool textFitsCodePage(const std::wstring &text);

} // namespace lexitray

#endif
