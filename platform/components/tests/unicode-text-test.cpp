// The one Windows-1252 table and UTF-8 decoder of the tree: exact
// conversion to ANSI text refuses what the code page lacks and malformed
// UTF-8; the unassigned bytes stand for the C1 controls of the same value.
// Under Wine the whole table is compared with the platform's own.
#include "platform/components/core/unicode-text.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace components;

TEST(UnicodeText, ExactAnsiConversionRefusesWhatTheCodePageLacks) {
  struct Case {
    const char *utf8;
    bool exact;
    std::string ansi;
  } cases[] = {
      {"plain", true, "plain"},
      {"caf\xC3\xA9", true, "caf\xE9"},
      {"\xE2\x82\xAC\xE2\x80\x99", true, "\x80\x92"}, // euro sign, right quotation mark
      {"\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", true, "\x81\x8D\x8F\x90\x9D"},
      {"\xC2\x80", false, ""},         // U+0080: 0x80 is the euro sign
      {"ab\xC4\x81", false, "ab"},     // U+0101, not in the code page
      {"\xF0\x9F\x98\x80", false, ""}, // beyond the basic plane
      {"\xED\xA0\x80", false, ""},     // a surrogate
      {"\xC3", false, ""},             // cut sequence
      {"\xC0\xAF", false, ""},         // overlong
      {"\xEF\xBF\xBD", false, ""},     // U+FFFD itself
  };
  for (const Case &c : cases) {
    std::string ansi;
    EXPECT_EQ(utf8ToAnsiExact(c.utf8, ansi), c.exact) << c.utf8;
    EXPECT_EQ(ansi, c.ansi) << c.utf8;
  }
}

TEST(UnicodeText, EveryByteSurvivesTheRoundTrip) {
  for (int byte = 0; byte < 256; ++byte) {
    std::string ansi(1, static_cast<char>(byte)), back;
    EXPECT_TRUE(utf8ToAnsiExact(ansiToUtf8(ansi), back)) << byte;
    EXPECT_EQ(back, ansi) << byte;
    EXPECT_EQ(unicodeTextToAnsi(ansiToUtf8(ansi)), ansi) << byte;
  }
}

#ifdef _WIN32
// The table is the platform's: each byte as the platform reads it with
// code page 1252, and each such character written back.
TEST(UnicodeText, TheTableIsThePlatformsCodePage1252) {
  for (int byte = 0; byte < 256; ++byte) {
    char ansi = static_cast<char>(byte);
    wchar_t wide = 0;
    ASSERT_EQ(MultiByteToWideChar(1252, 0, &ansi, 1, &wide, 1), 1) << byte;
    char utf8[8] = {};
    int length = WideCharToMultiByte(CP_UTF8, 0, &wide, 1, utf8, sizeof utf8, nullptr, nullptr);
    EXPECT_EQ(ansiToUtf8(std::string(1, ansi)), std::string(utf8, length)) << byte;
  }
}
#endif
