// Numbered lists in INI files saved as Unicode: UTF-16 of either byte order,
// whose bytes hold line breaks of their own, and UTF-8, each with its mark.
// Their lists read as one look-up per key reads them, and a user dictionary
// stored that way lists its words and keeps them through a save.
#include "spelling/core/enhanced-ini.h"
#include "spelling/core/user-dictionary.h"

#include "testing/memory-file-system.h"
#include "testing/string-list-items.h"
#include "platform/components/core/unicode-text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing_support::MemoryFileSystem;

struct Encoding {
  const char *name;
  std::string (*encode)(const std::string &utf8);
};

const Encoding encodings[] = {
    {"UTF-16 LE",
     [](const std::string &t) { return "\xFF\xFE" + components::textToUtf16(t, false); }},
    {"UTF-16 BE",
     [](const std::string &t) { return "\xFE\xFF" + components::textToUtf16(t, true); }},
    {"UTF-8", [](const std::string &t) { return "\xEF\xBB\xBF" + t; }},
};

using testing_support::items;

TEST(UnicodeLists, ReadAsOneLookUpPerKeyReadsThem) {
  // U+0A0D holds the bytes of CR and LF; U+D800 is a lone surrogate.
  const std::string text =
      "\xE0\xA8\x8D=lead\r\n[Added]\r\nIGN_ListCount=4\r\nIGN_0=caf\xC3\xA9\r\n"
      "IGN_2=\xE0\xA8\x8D\xCE\x94\r\nIGN_1=x\xED\xA0\x80y\r\nIGN_3=last\r\n"
      "[Other]\r\nIGN_ListCount=1\r\nIGN_0=no\r\n";
  for (const Encoding &encoding : encodings) {
    MemoryFileSystem files;
    files.put("x.ini", encoding.encode(text));
    spelling::TEnhancedINI ini("x.ini", files);
    std::vector<std::string> expected;
    for (int i = 0; i < 4; ++i)
      expected.push_back(ini.ReadString("Added", "IGN_" + std::to_string(i), ""));
    EXPECT_EQ(expected[0], "caf\xE9") << encoding.name;
    EXPECT_EQ(expected[3], "last") << encoding.name;
    components::TStringList list;
    ini.ReadList("Added", "IGN", list);
    EXPECT_EQ(items(list), expected) << encoding.name;
  }
}

TEST(UnicodeLists, AUserDictionaryKeepsItsWordsThroughASave) {
  const std::string text = "[Added]\r\nIGN_ListCount=2\r\nIGN_0=caf\xC3\xA9\r\nIGN_1=zebra\r\n";
  for (const Encoding &encoding : encodings) {
    MemoryFileSystem files;
    files.put("u.udt", encoding.encode(text));
    {
      spelling::TUserDictionary dictionary("u.udt", files);
      EXPECT_EQ(items(dictionary.Words()), (std::vector<std::string>{"caf\xE9", "zebra"}))
          << encoding.name;
      dictionary.AddWord("zymurgist");
    }
    EXPECT_EQ(files.get("u.udt").substr(0, 2), encoding.encode("").substr(0, 2))
        << encoding.name << ": the file keeps its encoding";
    spelling::TUserDictionary again("u.udt", files);
    EXPECT_EQ(items(again.Words()), (std::vector<std::string>{"caf\xE9", "zebra", "zymurgist"}))
        << encoding.name;
  }
}

} // namespace
