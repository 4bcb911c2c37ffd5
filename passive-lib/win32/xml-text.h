// The component XML crosses between wide text and the 8-bit document as
// the ANSI code page has it. Sizes come from the conversions themselves, so
// nothing is cut off; a character the code page lacks travels as a numeric
// character reference and comes back as the character.
#ifndef PASSIVE_LIB_XML_TEXT_H
#define PASSIVE_LIB_XML_TEXT_H

#include <windows.h>

#include <string>

namespace passive {

// The bytes of text (length characters) in the ANSI code page.
std::string xmlBytesOfText(const wchar_t *text, UINT length);
// The wide text of the document's bytes.
std::wstring textOfXmlBytes(const std::string &bytes);

} // namespace passive

#endif
