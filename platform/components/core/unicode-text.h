// Conversions between the ANSI text (Windows-1252) that the component
// library speaks and the Unicode encodings a stored text file may use.
// Internally Unicode text is UTF-8 that may also hold lone surrogates (as
// a UTF-16 file can), encoded like any other character.
#ifndef COMPONENTS_UNICODE_TEXT_H
#define COMPONENTS_UNICODE_TEXT_H

#include <string>

namespace components {

// Each ANSI byte as UTF-8.
std::string ansiToUtf8(const std::string &text);

// Unicode text as the ANSI text the platform hands out: '?' for what the
// code page lacks, "??" for a character outside the basic plane (its two
// UTF-16 halves). The platform also maps some letters to a look-alike
// (a with macron to a); those read as '?' here.
std::string unicodeTextToAnsi(const std::string &text);

// UTF-8 as ANSI text, exactly: false when the text is not well-formed
// UTF-8 or holds a character the code page lacks (ansi then holds the
// characters before it). The five bytes Windows-1252 leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of the same
// value both ways, as in the platform's table, so every byte survives a
// round trip through ansiToUtf8.
bool utf8ToAnsiExact(const std::string &text, std::string &ansi);

// UTF-8 with every malformed sequence replaced by U+FFFD.
std::string cleanUtf8(const std::string &text);

// UTF-16 bytes (without their mark) as text, and back; a last odd byte is
// dropped, lone surrogates are kept.
std::string utf16ToText(const std::string &bytes, bool bigEndian);
std::string textToUtf16(const std::string &text, bool bigEndian);

} // namespace components

#endif
