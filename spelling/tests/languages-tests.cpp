// Language tables: the built-in English strings, their stored form and
// damaged stored forms.
#include "spelling/core/languages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace spelling;

TEST(Languages, NewTableHoldsBuiltInEnglish) {
  TLanguages languages;
  ASSERT_EQ(languages.Count(), 1);
  EXPECT_EQ(languages.Modules(0).Name, "English (US)");
  struct Sample {
    int index;
    const char *text;
  };
  // Strings the dialogs and messages depend on, with their blanks,
  // ampersands and backslashes.
  const Sample samples[] = {
      {0, "Spell Check Complete"},
      {1, "Words Checked: "},
      {2, ""},
      {4, "&Change All"},
      {17, "Not Found:"},
      {18, "Repeated Word:"},
      {21, "..."},
      {27, " Main Dictionaries: "},
      {34, "Add Words &To;"},
      {49, "Prompt on &DUal CAps"},
      {60, "A main dictionary has yet to be\\set for this configuration.\\\\Edit configuration?"},
      {61, "This dictionary file could not be\\located.  It needs to be moved\\to the specified "
           "directory or\\this entry should be removed."},
      {62, "Unable to find dictionary file:"},
      {63, "Exit without saving configuration?"}};
  for (const Sample &sample : samples)
    EXPECT_EQ(languages.GetString(0, sample.index), sample.text) << sample.index;
  EXPECT_EQ(languages.GetString(0, 64), "");
  EXPECT_EQ(languages.GetString(0, -1), "");
  EXPECT_EQ(languages.GetString(1, 0), "");
  // Every string but the extra word characters has a text.
  for (int i = 0; i < LanguageStringCount; ++i)
    EXPECT_EQ(languages.GetString(0, i).empty(), i == 2) << i;
}

TEST(Languages, LineBreaksBecomeCrLf) {
  EXPECT_EQ(ConvertLineBreaks(TLanguages().GetString(0, 60)),
            "A main dictionary has yet to be\r\nset for this configuration.\r\n\r\nEdit "
            "configuration?");
  EXPECT_EQ(ConvertLineBreaks(""), "");
  EXPECT_EQ(ConvertLineBreaks("\\"), "\r\n");
  EXPECT_EQ(ConvertLineBreaks("no breaks"), "no breaks");
}

TEST(Languages, StoredFormIsNameStringsTerminator) {
  StreamedLanguages stored = TLanguages().WriteProperties();
  EXPECT_EQ(stored.LangCount, 1);
  ASSERT_EQ(stored.Lang.size(), 66u);
  EXPECT_EQ(stored.Lang[0], "English (US)");
  EXPECT_EQ(stored.Lang[1], "Spell Check Complete");
  EXPECT_EQ(stored.Lang[64], "Exit without saving configuration?");
  EXPECT_EQ(stored.Lang[65], "@@@");
}

StreamedLanguages twoLanguages() {
  StreamedLanguages stored;
  stored.LangCount = 2;
  stored.Lang.push_back("English (US)");
  for (int i = 0; i < LanguageStringCount; ++i)
    stored.Lang.push_back("en" + std::to_string(i));
  stored.Lang.push_back("@@@");
  stored.Lang.push_back("Deutsch");
  for (int i = 0; i < LanguageStringCount; ++i)
    stored.Lang.push_back("de" + std::to_string(i));
  stored.Lang.push_back("@@@");
  return stored;
}

TEST(Languages, ReadsWhatItWrites) {
  TLanguages languages;
  languages.ReadProperties(twoLanguages());
  ASSERT_EQ(languages.Count(), 2);
  EXPECT_EQ(languages.Modules(1).Name, "Deutsch");
  EXPECT_EQ(languages.GetString(1, 0), "de0");
  EXPECT_EQ(languages.GetString(1, 63), "de63");
  StreamedLanguages again = languages.WriteProperties();
  EXPECT_EQ(again.LangCount, 2);
  EXPECT_EQ(again.Lang, twoLanguages().Lang);
}

TEST(Languages, ModuleWithoutTerminatorKeepsItsLastString) {
  StreamedLanguages stored = twoLanguages();
  stored.Lang.pop_back(); // the last module's terminator
  TLanguages languages;
  languages.ReadProperties(stored);
  ASSERT_EQ(languages.Count(), 2);
  EXPECT_EQ(languages.GetString(1, 63), "de63");
}

struct DamagedCase {
  const char *name;
  int langCount;
  std::vector<std::string> lang;
  int modules;
  std::vector<std::pair<int, std::string>> strings; // module 0: index, text
};

class DamagedLanguages : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedLanguages, ReadsWhatTheListHolds) {
  const DamagedCase &c = GetParam();
  TLanguages languages;
  languages.ReadProperties(StreamedLanguages{c.langCount, c.lang});
  ASSERT_EQ(languages.Count(), c.modules);
  for (const auto &expected : c.strings)
    EXPECT_EQ(languages.GetString(0, expected.first), expected.second) << expected.first;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedLanguages,
    testing::Values(
        // Too few strings: the rest keep the built-in texts.
        DamagedCase{"ShortModule",
                    1,
                    {"X", "x0", "x1", "@@@"},
                    1,
                    {{0, "x0"}, {1, "x1"}, {2, ""}, {3, "Spell Check"}}},
        DamagedCase{
            "ShortModuleNoTerminator", 1, {"X", "x0", "x1"}, 1, {{1, "x1"}, {3, "Spell Check"}}},
        DamagedCase{"HugeCount", 2000000000, {"X", "x0", "@@@"}, 1, {{0, "x0"}}},
        DamagedCase{
            "CountPastTheList", 3, {"X", "@@@", "Y", "@@@"}, 2, {{0, "Spell Check Complete"}}},
        DamagedCase{"NegativeCount", -1, {"X", "@@@"}, 1, {{0, "Spell Check Complete"}}},
        DamagedCase{"EmptyList", 5, {}, 1, {{0, "Spell Check Complete"}}},
        DamagedCase{"CountBelowList", 1, {"X", "x0", "@@@", "Y", "y0", "@@@"}, 1, {{0, "x0"}}}),
    [](const testing::TestParamInfo<DamagedCase> &info) { return std::string(info.param.name); });

TEST(Languages, ExtraStringsAreIgnored) {
  StreamedLanguages stored;
  stored.LangCount = 2;
  stored.Lang.push_back("Long");
  for (int i = 0; i < 70; ++i)
    stored.Lang.push_back("s" + std::to_string(i));
  stored.Lang.push_back("@@@");
  stored.Lang.push_back("Next");
  stored.Lang.push_back("n0");
  stored.Lang.push_back("@@@");
  TLanguages languages;
  languages.ReadProperties(stored);
  ASSERT_EQ(languages.Count(), 2);
  EXPECT_EQ(languages.GetString(0, 63), "s63");
  EXPECT_EQ(languages.Modules(1).Name, "Next");
  EXPECT_EQ(languages.GetString(1, 0), "n0");
}

} // namespace
