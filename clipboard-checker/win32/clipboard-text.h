// The clipboard's Unicode text against the program's 8-bit text: the
// clipboard may hold characters the ANSI code page has no byte for, which
// would come back as "?" or a look-alike; and text that came from a file
// often starts with a byte-order mark, which is no text to check.
#ifndef CLIPBOARD_CHECKER_WIN32_CLIPBOARD_TEXT_H
#define CLIPBOARD_CHECKER_WIN32_CLIPBOARD_TEXT_H

#include <string>

namespace lexitray {

constexpr wchar_t ByteOrderMark = 0xFEFF;

// True when the text converts to the ANSI code page and back unchanged
// (no default character, no best-fit replacement).
bool textFitsCodePage(const std::wstring &text);

// The text in the ANSI code page, and back.
std::string toCodePage(const std::wstring &text);
std::wstring fromCodePage(const std::string &text);

// The clipboard's Unicode text (up to its terminator or the end of its
// block). False when the clipboard has none or cannot be opened.
bool readClipboardUnicode(std::wstring &text);
// Puts Unicode text on the clipboard in place of what it held; the system
// makes the 8-bit form from it for programs that ask for that.
bool writeClipboardUnicode(const std::wstring &text);

} // namespace lexitray

#endif
