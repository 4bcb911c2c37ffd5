// The spelling configuration: the section it writes, the folder scan that
// makes one up, option defaults, damaged files and failed rewrites.
#include "spelling/core/configuration.h"
#include "testing/test-files.h"

#include "testing/memory-file-system.h"
#include "spelling/tests/title-only-dictionary.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/ini-file.h"
#include "testing/fuzz-driver.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace spelling;
using spelling_tests::dictionaryWithTitle;
using testing_support::MemoryFileSystem;

const char Folder[] = "C:\\Lexitray\\";
const char ConfigPath[] = "C:\\Lexitray\\VERBA.CFG";
const TSpellOptions DefaultOptions{soInternet, soAutoSuggest, soPrimaryOnly, soRecheck, soRepeated};

using testing_support::readFile;

std::string at(const std::string &name) { return Folder + name; }

std::unique_ptr<TConfiguration> open(MemoryFileSystem &files, const std::string &section = "verba",
                                     const std::string &defaultUser = "default.udt") {
  return std::make_unique<TConfiguration>(ConfigPath, DefaultOptions, defaultUser, "english.dct",
                                          section, files);
}

// The folder of a fresh installation: two main dictionaries and one user
// dictionary, listed in this order.
void installFolder(MemoryFileSystem &files) {
  files.put(at("english.dct"), dictionaryWithTitle("English (US)"));
  files.put(at("medical.dct"), dictionaryWithTitle("Medical and Science Terms"));
  files.put(at("default.udt"), "");
}

TEST(Configuration, ScannedFolderWritesTheGoldenSection) {
  MemoryFileSystem files;
  installFolder(files);
  open(files); // made up by the scan, written when destroyed
  std::string golden = readFile(testing_support::sourcePath("spelling/tests/golden/VERBA.CFG"));
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(files.get(ConfigPath), golden);
}

TEST(Configuration, ScanSelectsTheDefaultsAndMarksModified) {
  MemoryFileSystem files;
  installFolder(files);
  auto config = open(files);
  EXPECT_TRUE(config->Loaded());
  EXPECT_TRUE(config->Modified());
  ASSERT_EQ(config->MainEntries().size(), 2u);
  EXPECT_EQ(config->MainEntries()[0].FileName, at("english.dct"));
  EXPECT_TRUE(config->MainEntries()[0].Selected);
  EXPECT_EQ(config->MainEntries()[0].Title, std::string("English (US)") + std::string(13, '\0'));
  EXPECT_EQ(config->MainEntries()[1].FileName, at("medical.dct"));
  EXPECT_FALSE(config->MainEntries()[1].Selected);
  EXPECT_EQ(config->MainEntries()[1].Title, "Medical and Science Terms");
  ASSERT_EQ(config->UserEntries().size(), 1u);
  EXPECT_EQ(config->UserEntries()[0], (TUser{at("default.udt"), true}));
  EXPECT_EQ(config->UserIndex(), 0);
  EXPECT_TRUE(config->Options() == DefaultOptions);
  EXPECT_FALSE(files.has(ConfigPath)) << "written only when the configuration is freed";
}

TEST(Configuration, DefaultMainMatchesWithoutRegardToCase) {
  MemoryFileSystem files;
  files.put(at("ENGLISH.DCT"), dictionaryWithTitle("E"));
  auto config = open(files);
  ASSERT_EQ(config->MainEntries().size(), 1u);
  EXPECT_TRUE(config->MainEntries()[0].Selected);
}

TEST(Configuration, UserDictionariesOtherThanTheDefaultAreListedUnselected) {
  MemoryFileSystem files;
  files.put(at("a.udt"), "");
  files.put(at("b.udt"), "");
  auto config = open(files);
  ASSERT_EQ(config->UserEntries().size(), 2u);
  EXPECT_EQ(config->UserEntries()[0], (TUser{at("a.udt"), false}));
  EXPECT_EQ(config->UserEntries()[1], (TUser{at("b.udt"), false}));
  EXPECT_EQ(config->UserIndex(), -1);
}

TEST(Configuration, NoUserDictionaryGivesTheLiteralDefault) {
  MemoryFileSystem files;
  auto config = open(files, "verba", "mine.udt");
  ASSERT_EQ(config->UserEntries().size(), 1u);
  EXPECT_EQ(config->UserEntries()[0], (TUser{at("default.udt"), true}));
  EXPECT_EQ(config->UserIndex(), 0);
  EXPECT_TRUE(config->MainEntries().empty());
}

TEST(Configuration, SelectedDefaultUserSetsUserIndex) {
  MemoryFileSystem files;
  files.put(at("other.udt"), "");
  files.put(at("Default.UDT"), "");
  auto config = open(files);
  EXPECT_EQ(config->UserIndex(), 1);
  EXPECT_TRUE(config->UserEntries()[1].Selected);
}

TEST(Configuration, MissingOptionKeysTakeTheirOwnDefaults) {
  MemoryFileSystem files;
  files.put(ConfigPath, "[verba]\r\nID=1\r\n");
  auto config = open(files);
  EXPECT_FALSE(config->Modified());
  TSpellOptions expected{soUpcase,      soHTML,        soInternet, soQuoted,
                         soAutoSuggest, soPrimaryOnly, soRecheck,  soRepeated};
  EXPECT_EQ(config->Options().value(), expected.value());
  EXPECT_TRUE(config->Options().contains(soHTML)) << "present section: soHTML defaults to on";
  EXPECT_FALSE(DefaultOptions.contains(soHTML)) << "whereas the scan's defaults have it off";
  EXPECT_EQ(config->UserIndex(), -1);
}

TEST(Configuration, EachOptionKeyControlsItsBit) {
  const char *keys[] = {"soUpcase",      "soNumbers",     "soHTML",    "soInternet", "soQuoted",
                        "soAutoSuggest", "soPrimaryOnly", "soRecheck", "soRepeated", "soDualCaps",
                        "soUser1",       "soUser2",       "soUser3",   "soUser4"};
  for (unsigned bit = 0; bit < SpellOptionCount; ++bit) {
    std::string text = "[verba]\r\nID=1\r\n";
    for (unsigned other = 0; other < SpellOptionCount; ++other)
      text += std::string(keys[other]) + (other == bit ? "=1\r\n" : "=0\r\n");
    MemoryFileSystem files;
    files.put(ConfigPath, text);
    EXPECT_EQ(open(files)->Options().value(), 1u << bit) << keys[bit];
  }
}

TEST(Configuration, SectionRoundTrips) {
  MemoryFileSystem files;
  installFolder(files);
  open(files);
  auto config = open(files);
  EXPECT_FALSE(config->Modified());
  ASSERT_EQ(config->MainEntries().size(), 2u);
  EXPECT_EQ(config->MainEntries()[0].Title, "English (US)");
  EXPECT_EQ(config->MainEntries()[1].Title, "Medical and Science Terms");
  EXPECT_TRUE(config->Options() == DefaultOptions);
  EXPECT_EQ(config->UserIndex(), 0);
  // Unchanged and not modified: freeing it writes nothing.
  unsigned writes = files.writes;
  config.reset();
  EXPECT_EQ(files.writes, writes);
}

TEST(Configuration, ListedDictionaryWhoseFileIsGoneIsUnselected) {
  MemoryFileSystem files;
  installFolder(files);
  open(files);
  std::string section = files.get(ConfigPath);
  MemoryFileSystem later;
  later.put(ConfigPath, section);
  later.put(at("medical.dct"), dictionaryWithTitle("Medical and Science Terms"));
  auto config = open(later);
  ASSERT_EQ(config->MainEntries().size(), 2u);
  EXPECT_FALSE(config->MainEntries()[0].Selected) << "english.dct is gone";
  EXPECT_EQ(config->MainEntries()[0].Title, "English (US)");
}

TEST(Configuration, TwoSectionsInOneFileAreIndependent) {
  MemoryFileSystem files;
  installFolder(files);
  {
    auto first = open(files, "verba");
    first->SetOptions(TSpellOptions{soNumbers});
    first->SetUserIndex(-1);
  }
  {
    auto second = open(files, "other");
    second->MainEntries()[0].Selected = false;
  }
  auto first = open(files, "verba");
  auto second = open(files, "other");
  EXPECT_EQ(first->Options().value(), TSpellOptions{soNumbers}.value());
  EXPECT_EQ(first->UserIndex(), -1);
  EXPECT_TRUE(first->MainEntries()[0].Selected);
  EXPECT_TRUE(second->Options() == DefaultOptions);
  EXPECT_EQ(second->UserIndex(), 0);
  EXPECT_FALSE(second->MainEntries()[0].Selected);
}

TEST(Configuration, AssignCopiesEverythingButTheDefaults) {
  MemoryFileSystem files;
  installFolder(files);
  auto source = open(files);
  TConfiguration copy("", TSpellOptions{soUser1}, "u.udt", "m.dct", "x", files);
  EXPECT_FALSE(copy.Loaded());
  copy.Assign(*source);
  EXPECT_EQ(copy.Path(), ConfigPath);
  EXPECT_EQ(copy.Section(), "verba");
  EXPECT_TRUE(copy.Loaded());
  EXPECT_TRUE(copy.Modified());
  EXPECT_EQ(copy.MainEntries(), source->MainEntries());
  EXPECT_EQ(copy.UserEntries(), source->UserEntries());
  EXPECT_EQ(copy.UserIndex(), 0);
  EXPECT_TRUE(copy.Options() == DefaultOptions);
  EXPECT_TRUE(copy.DefaultOptions() == TSpellOptions{soUser1});
  EXPECT_EQ(copy.DefaultMain(), "m.dct");
  EXPECT_EQ(copy.DefaultUser(), "u.udt");
  copy.SetModified(false);
  source->SetModified(false);
}

TEST(Configuration, OtherSectionsSurviveASave) {
  MemoryFileSystem files;
  files.put(ConfigPath, "[mine]\r\nkey=value\r\n");
  installFolder(files);
  open(files);
  components::TIniFile ini(ConfigPath, files);
  EXPECT_EQ(ini.ReadString("mine", "key", ""), "value");
  EXPECT_EQ(ini.ReadString("verba", "U_DCT_0", ""), std::string("T") + at("default.udt"));
}

TEST(Configuration, FailedRewriteKeepsTheOldFile) {
  const std::string original = "[mine]\r\nkey=value\r\n[verba]\r\nID=1\r\nsoNumbers=0\r\n";
  bool completed = false;
  for (unsigned n = 1; !completed && n < 50; ++n) {
    MemoryFileSystem files;
    files.put(ConfigPath, original);
    auto config = open(files);
    config->SetOptions(TSpellOptions{soNumbers});
    files.operations = 0;
    files.failAt = n;
    try {
      config->Save();
      completed = true;
    } catch (const components::EStreamError &) {
      EXPECT_EQ(files.get(ConfigPath), original) << "failure at operation " << n;
      files.failAt = 0;
      config->SetModified(false);
      continue;
    }
    files.failAt = 0;
    EXPECT_EQ(open(files)->Options().value(), TSpellOptions{soNumbers}.value());
  }
  EXPECT_TRUE(completed);
}

TEST(Configuration, HugeCountsCostOnlyWhatTheFileHolds) {
  MemoryFileSystem files;
  files.put(at("a.dct"), dictionaryWithTitle("A"));
  files.put(ConfigPath, std::string("[verba]\r\nID=1\r\nU_MU_DCT_ListCount=2000000000\r\n") +
                            "U_MU_DCT_0=T" + at("a.dct") + "\r\nM_DCT_ListCount=2147483647\r\n" +
                            "U_DCT_ListCount=2000000000\r\nU_DCT_1999999999=Tlast.udt\r\n");
  auto config = open(files);
  ASSERT_EQ(config->MainEntries().size(), 1u);
  EXPECT_TRUE(config->MainEntries()[0].Selected);
  ASSERT_EQ(config->UserEntries().size(), 1u);
  EXPECT_EQ(config->UserEntries()[0].FileName, "last.udt");
}

TEST(Configuration, UnreadableFileIsAnError) {
  MemoryFileSystem files;
  files.put(ConfigPath, "[verba]\r\nID=1\r\n");
  files.failAt = 1;
  EXPECT_THROW(open(files), components::EFOpenError);
}

TEST(Configuration, ScansAndRewritesARealFolder) {
  namespace fs = std::filesystem;
  const std::string folder = testing_support::scratchPath("configuration-folder");
  fs::remove_all(folder);
  fs::create_directories(folder);
  auto put = [&](const std::string &name, const std::string &bytes) {
    testing_support::writeFile(folder + "/" + name, bytes);
  };
  put("english.dct", dictionaryWithTitle("English (US)"));
  put("medical.dct", dictionaryWithTitle("Medical and Science Terms"));
  put("default.udt", "");
  put("notes.txt", "not a dictionary");
  const std::string path = folder + "/VERBA.CFG";
  { TConfiguration scanned(path, DefaultOptions, "default.udt", "english.dct", "verba"); }
  TConfiguration config(path, TSpellOptions(), "x.udt", "x.dct", "verba");
  EXPECT_FALSE(config.Modified()) << "the section was written when the scan was freed";
  ASSERT_EQ(config.MainEntries().size(), 2u);
  for (const TMain &entry : config.MainEntries()) {
    bool english = entry.FileName == folder + "/english.dct";
    EXPECT_TRUE(english || entry.FileName == folder + "/medical.dct") << entry.FileName;
    EXPECT_EQ(entry.Selected, english);
    EXPECT_EQ(entry.Title, english ? "English (US)" : "Medical and Science Terms");
  }
  ASSERT_EQ(config.UserEntries().size(), 1u);
  EXPECT_EQ(config.UserEntries()[0], (TUser{folder + "/default.udt", true}));
  EXPECT_TRUE(config.Options() == DefaultOptions);
  EXPECT_FALSE(fs::exists(path + ".new"));
  fs::remove_all(folder);
}

TEST(Configuration, FuzzedFilesLoadOrFailCleanly) {
  std::string golden = readFile(testing_support::sourcePath("spelling/tests/golden/VERBA.CFG"));
  ASSERT_FALSE(golden.empty());
  std::vector<testing_support::Bytes> seeds = {
      testing_support::Bytes(golden.begin(), golden.end())};
  unsigned tried = testing_support::fuzz(
      seeds,
      [](const testing_support::Bytes &input) {
        MemoryFileSystem files;
        installFolder(files);
        files.put(at("short.dct"), "tiny");
        files.put(ConfigPath, std::string(input.begin(), input.end()));
        TConfiguration config(ConfigPath, DefaultOptions, "default.udt", "english.dct", "verba",
                              files);
        std::size_t lines = 1;
        for (std::uint8_t c : input)
          lines += c == '\n' || c == '\r';
        ASSERT_LE(config.MainEntries().size() + config.UserEntries().size(), lines + 3);
        config.SetModified(false);
      },
      {20000, 3.0, 20261209});
  EXPECT_GE(tried, 20u);
}

} // namespace
