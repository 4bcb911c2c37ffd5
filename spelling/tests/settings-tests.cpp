// The option set and the numbered INI lists that user dictionaries and the
// configuration are stored in.
#include "spelling/core/enhanced-ini.h"
#include "spelling/core/spell-options.h"
#include "spelling/tests/fuzz/numbered-list-model.h"

#include "testing/memory-file-system.h"
#include "testing/string-list-items.h"
#include "spelling/tests/title-only-dictionary.h"

#include "platform/components/core/exception.h"
#include "testing/fuzz-driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace spelling;
using testing_support::MemoryFileSystem;

using testing_support::items;

TEST(SpellOptions, BitsFollowTheDeclaredOrder) {
  // The component's published defaults, as stored set values.
  TSpellOptions defaults{soInternet, soAutoSuggest, soPrimaryOnly, soRecheck, soRepeated};
  EXPECT_EQ(defaults.value(), 488);
  TSpellOptions visible{soUpcase, soNumbers, soHTML, soInternet, soRecheck};
  EXPECT_EQ(visible.value(), 143);
  EXPECT_EQ(TSpellOptions{soUpcase}.value(), 1);
  EXPECT_EQ(TSpellOptions{soDualCaps}.value(), 1 << 9);
  EXPECT_EQ(TSpellOptions{soUser4}.value(), 1 << 13);
  EXPECT_EQ(TSpellOptions::fromValue(0xFFFF).value(), 0x3FFF) << "only fourteen options exist";
  EXPECT_TRUE(TSpellOptions::fromValue(488) == defaults);
  TSpellOptions edited = defaults;
  edited.exclude(soInternet);
  edited.include(soHTML);
  EXPECT_FALSE(edited.contains(soInternet));
  EXPECT_TRUE(edited.contains(soHTML));
  EXPECT_EQ(edited.value(), 488 - 8 + 4);
}

struct ListCase {
  const char *name;
  const char *file;
  std::vector<std::string> expected;
};

class NumberedList : public testing::TestWithParam<ListCase> {};

TEST_P(NumberedList, ReadsTheItemsTheFileHolds) {
  MemoryFileSystem files;
  files.put("x.ini", GetParam().file);
  TEnhancedINI ini("x.ini", files);
  components::TStringList list;
  ini.ReadList("Added", "IGN", list);
  EXPECT_EQ(items(list), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberedList,
    testing::Values(
        ListCase{"Plain", "[Added]\r\nIGN_ListCount=2\r\nIGN_0=a\r\nIGN_1=b\r\n", {"a", "b"}},
        ListCase{"EmptyEntryDropped",
                 "[Added]\r\nIGN_ListCount=3\r\nIGN_0=a\r\nIGN_1=\r\nIGN_2=c\r\n",
                 {"a", "c"}},
        ListCase{"MissingEntryDropped",
                 "[Added]\r\nIGN_ListCount=3\r\nIGN_0=a\r\nIGN_2=c\r\n",
                 {"a", "c"}},
        ListCase{"CountLimitsItems", "[Added]\r\nIGN_ListCount=1\r\nIGN_0=a\r\nIGN_1=b\r\n", {"a"}},
        ListCase{
            "KeysInAnyOrder", "[Added]\r\nIGN_1=b\r\nIGN_ListCount=2\r\nIGN_0=a\r\n", {"a", "b"}},
        ListCase{"KeysCaseInsensitive",
                 "[added]\r\nign_listcount=2\r\nign_0=a\r\nIgn_1=b\r\n",
                 {"a", "b"}},
        ListCase{
            "FirstOfEqualKeysWins", "[Added]\r\nIGN_ListCount=1\r\nIGN_0=a\r\nIGN_0=z\r\n", {"a"}},
        ListCase{"LeadingZeroIsAnotherKey",
                 "[Added]\r\nIGN_ListCount=2\r\nIGN_01=x\r\nIGN_1=b\r\n",
                 {"b"}},
        // A count no writer gives hides nothing: the items found make the list.
        ListCase{"NoCount", "[Added]\r\nIGN_0=a\r\n", {"a"}},
        ListCase{"NegativeCount", "[Added]\r\nIGN_ListCount=-5\r\nIGN_0=a\r\n", {"a"}},
        ListCase{"HugeCountBoundedByFile",
                 "[Added]\r\nIGN_ListCount=2000000000\r\nIGN_0=a\r\nIGN_1999999999=z\r\n",
                 {"a", "z"}},
        ListCase{"OtherSectionIgnored", "[Other]\r\nIGN_ListCount=1\r\nIGN_0=a\r\n", {}},
        ListCase{"TruncatedMidKey", "[Added]\r\nIGN_ListCount=2\r\nIGN_0=a\r\nIGN_", {"a"}},
        ListCase{"HighBytes", "[Added]\r\nIGN_ListCount=1\r\nIGN_0=na\xEFve\r\n", {"na\xEFve"}}),
    [](const testing::TestParamInfo<ListCase> &info) { return std::string(info.param.name); });

TEST(NumberedList, ItemValuesMatchSingleKeyReads) {
  // Blanks and quotes are the INI class's business: a list item must read
  // exactly as the same key read on its own.
  MemoryFileSystem files;
  files.put("x.ini", "[S]\r\nL_ListCount=3\r\nL_0=  spaced  \r\nL_1=\"quoted\"\r\nL_2=a=b\r\n");
  TEnhancedINI ini("x.ini", files);
  components::TStringList list;
  ini.ReadList("S", "L", list);
  ASSERT_EQ(list.Count(), 3);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(list[i], ini.ReadString("S", "L_" + std::to_string(i), "?"));
}

// Lists are read a piece of the section at a time; whatever the file's
// layout, the result must be what one look-up per key gives.
TEST(NumberedList, PiecewiseReadingAgreesWithOneLookUpPerKey) {
  std::string many = "[Added]\r\nIGN_ListCount=150\r\n";
  for (int i = 149; i >= 0; --i) // reversed, so items span several pieces
    many += "IGN_" + std::to_string(i) + "=w" + std::to_string(i) + (i % 7 ? "\r\n" : "\n");
  many += "IGN_3=shadowed\r\n[Added]\r\nIGN_0=later section\r\n";
  std::vector<std::string> texts = {
      many,
      "IGN_ListCount=2\nIGN_0=lead\n[Added]\nIGN_ListCount=3\nIGN_1=a\n[]\nIGN_2=hidden\n",
      "\xEF\xBB\xBF[Added]\r\nIGN_ListCount=2\r\nIGN_0=caf\xC3\xA9\r\n[Other]\r\nIGN_1=no\r\n",
      "; comment\r[ added ]\rIGN_ListCount = 3\r IGN_0 = \"q\" "
      "\r[x\rIGN_1=in\r[Added\r\nIGN_2=z\r\n",
      "[Other]\r\nIGN_ListCount=1\r\nIGN_0=o\r\n[ADDED]  trailing\r\nIGN_ListCount=1\r\n"
      "IGN_0=x\r\n  [Added]\r\nIGN_0=y\r\n",
      // Found by this test: mark bytes that do not start the file.
      "\n\xEF\xBB\xBF[Added]\r\nIGN_ListCount=2\r\nIGN_0=caf\xCE\xA9\r\n[Ot\r",
  };
  std::vector<testing_support::Bytes> seeds;
  for (const std::string &text : texts)
    seeds.emplace_back(text.begin(), text.end());
  unsigned compared = 0;
  testing_support::fuzz(seeds,
                        [&](const testing_support::Bytes &input) {
                          const std::string text(input.begin(), input.end());
                          MemoryFileSystem files;
                          files.put("x.ini", text);
                          TEnhancedINI ini("x.ini", files);
                          for (const char *section : {"Added", ""}) {
                            std::vector<std::string> expected;
                            if (!numbered_list_model::listByLookUps(ini, section, text, expected))
                              continue;
                            components::TStringList list;
                            ini.ReadList(section, "IGN", list);
                            ASSERT_EQ(items(list), expected) << "section \"" << section << "\" of\n"
                                                             << text;
                            ++compared;
                          }
                        },
                        {4000, 2.0, 20261209});
  EXPECT_GE(compared, 20u);
}

TEST(NumberedList, WriteLeavesKeysOfALongerEarlierList) {
  MemoryFileSystem files;
  TEnhancedINI ini("x.ini", files);
  components::TStringList three;
  for (const char *word : {"a", "b", "c"})
    three.Add(word);
  ini.WriteList("S", "L", three);
  components::TStringList one;
  one.Add("z");
  ini.WriteList("S", "L", one);
  EXPECT_EQ(ini.ReadString("S", "L_2", ""), "c");
  components::TStringList read;
  ini.ReadList("S", "L", read);
  EXPECT_EQ(items(read), std::vector<std::string>{"z"});
}

TEST(UserList, SelectedFlagAndPathRoundTrip) {
  MemoryFileSystem files;
  TEnhancedINI ini("x.ini", files);
  std::vector<TUser> entries = {{"C:\\d\\a.udt", true}, {"C:\\d\\b.udt", false}};
  ini.WriteUserList("S", "DCT", entries);
  EXPECT_EQ(ini.ReadString("S", "U_DCT_ListCount", ""), "2");
  EXPECT_EQ(ini.ReadString("S", "U_DCT_0", ""), "TC:\\d\\a.udt");
  EXPECT_EQ(ini.ReadString("S", "U_DCT_1", ""), "FC:\\d\\b.udt");
  std::vector<TUser> read;
  ini.ReadUserList("S", "DCT", read);
  EXPECT_EQ(read, entries);
}

TEST(MainList, TitlesStayWithTheirDictionariesWhenOneIsEmpty) {
  MemoryFileSystem files;
  files.put("C:\\d\\a.dct", spelling_tests::dictionaryWithTitle("Alpha file"));
  files.put("C:\\d\\b.dct", spelling_tests::dictionaryWithTitle("Beta file"));
  files.put("C:\\d\\c.dct", spelling_tests::dictionaryWithTitle("Gamma file"));
  files.put("x.ini", "[S]\r\nID=1\r\n"
                     "U_MU_DCT_ListCount=3\r\nU_MU_DCT_0=TC:\\d\\a.dct\r\n"
                     "U_MU_DCT_1=FC:\\d\\b.dct\r\nU_MU_DCT_2=TC:\\d\\c.dct\r\n"
                     "M_DCT_ListCount=3\r\nM_DCT_0=Alpha\r\nM_DCT_1=\r\nM_DCT_2=Gamma\r\n");
  TEnhancedINI ini("x.ini", files);
  std::vector<TMain> read;
  ini.ReadMainList("S", "DCT", read);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0].Title, "Alpha");
  // The empty title is read from the dictionary itself, whole.
  EXPECT_EQ(read[1].Title, std::string("Beta file") + std::string(16, '\0'));
  EXPECT_EQ(read[2].Title, "Gamma") << "the title must not shift onto the next dictionary";
  EXPECT_TRUE(read[0].Selected);
  EXPECT_FALSE(read[1].Selected);
}

TEST(MainList, MissingOrDamagedFilesAreUnselectedWithoutTitle) {
  MemoryFileSystem files;
  files.put("short.dct", std::string(100, 'x')); // too short for a title
  files.put("x.ini", "[S]\r\nID=1\r\nU_MU_DCT_ListCount=3\r\nU_MU_DCT_0=Tgone.dct\r\n"
                     "U_MU_DCT_1=Tshort.dct\r\nU_MU_DCT_2=\r\nM_DCT_ListCount=0\r\n");
  TEnhancedINI ini("x.ini", files);
  std::vector<TMain> read;
  ini.ReadMainList("S", "DCT", read);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].FileName, "gone.dct");
  EXPECT_FALSE(read[0].Selected) << "a missing file reads as unselected";
  EXPECT_EQ(read[0].Title, "");
  EXPECT_EQ(read[1].FileName, "short.dct");
  EXPECT_TRUE(read[1].Selected);
  EXPECT_EQ(read[1].Title, "");
}

TEST(MainList, WritesIdEntriesAndTitlesWithoutPadding) {
  MemoryFileSystem files;
  TEnhancedINI ini("x.ini", files);
  EXPECT_FALSE(ini.SectionPresent("S"));
  TMain entry;
  entry.FileName = "e.dct";
  entry.Selected = true;
  entry.Title = std::string("English") + std::string(18, '\0');
  ini.WriteMainList("S", "DCT", {entry});
  EXPECT_TRUE(ini.SectionPresent("S"));
  EXPECT_EQ(ini.ReadString("S", "U_MU_DCT_0", ""), "Te.dct");
  EXPECT_EQ(ini.ReadString("S", "M_DCT_0", ""), "English");
  EXPECT_EQ(files.get("x.ini").find('\0'), std::string::npos);
}

TEST(MainEntry, ReadTitleTakesTwentyFiveBytesAtOffset88) {
  MemoryFileSystem files;
  std::string bytes(113, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>('A' + i % 26);
  files.put("t.dct", bytes);
  TMain entry;
  entry.FileName = "t.dct";
  entry.ReadTitle(files);
  EXPECT_EQ(entry.Title, bytes.substr(88, 25));
  EXPECT_EQ(entry.Title.size(), 25u);

  files.put("t.dct", bytes.substr(0, 112));
  entry.Title = "kept";
  EXPECT_THROW(entry.ReadTitle(files), components::EReadError);
  EXPECT_EQ(entry.Title, "kept");
  entry.FileName = "none.dct";
  EXPECT_THROW(entry.ReadTitle(files), components::EFOpenError);
}

} // namespace
