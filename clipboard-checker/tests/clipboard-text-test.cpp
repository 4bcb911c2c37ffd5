// Which Unicode texts the program's 8-bit code page holds unchanged (the
// Wine prefix's ANSI code page is Windows-1252).
#include "clipboard-checker/win32/clipboard-text.h"

#include <gtest/gtest.h>

#include <string>

using lexitray::textFitsCodePage;

TEST(ClipboardText, TextTheCodePageHoldsFits) {
  for (const std::wstring &text : {std::wstring(), std::wstring(L"plain words\r\nand lines"),
                                   std::wstring(L"caf\x00E9 cr\x00E8me, Gr\x00FC\x00DF"
                                                L"e \x20AC 5"),
                                   std::wstring(1, L'\x00FF')})
    EXPECT_TRUE(textFitsCodePage(text));
}

TEST(ClipboardText, TextWithCharactersOutsideTheCodePageDoesNot) {
  // Japanese, a Polish letter that a best fit would turn into "l", and a
  // Greek letter: none has a byte of its own in the code page.
  for (const std::wstring &text :
       {std::wstring(L"\x65E5\x672C"), std::wstring(L"\x0142\x00F3d\x017A"),
        std::wstring(L"words and \x03A9")})
    EXPECT_FALSE(textFitsCodePage(text));
}
