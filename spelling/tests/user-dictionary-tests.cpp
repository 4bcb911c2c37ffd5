// User dictionaries: ".udt" files read and rewritten, ".dic" word lists,
// damaged files, and rewrites that fail half way.
#include "spelling/core/user-dictionary.h"
#include "testing/test-files.h"

#include "testing/memory-file-system.h"
#include "testing/string-list-items.h"

#include "platform/components/core/exception.h"
#include "testing/fuzz-driver.h"
#include "testing/growth-check.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using spelling::TUserDictionary;
using testing_support::MemoryFileSystem;

using testing_support::readFile;

std::string goldenUdt() {
  std::string text = readFile(testing_support::sourcePath("spelling/tests/golden/user.udt"));
  EXPECT_FALSE(text.empty()) << "golden user.udt missing";
  return text;
}

using testing_support::items;

TEST(UserDictionary, ReadsTheGoldenFile) {
  MemoryFileSystem files;
  files.put("u.udt", goldenUdt());
  TUserDictionary dictionary("u.udt", files);
  EXPECT_TRUE(dictionary.Loaded());
  EXPECT_FALSE(dictionary.Modified());
  EXPECT_FALSE(dictionary.IsWordList());
  EXPECT_EQ(items(dictionary.Words()),
            (std::vector<std::string>{"colour", "Lexitray", "na\xEFve", "O'Brien"}));
  EXPECT_EQ(items(dictionary.AutoCorrectWords()), (std::vector<std::string>{"teh", "recieve"}));
  EXPECT_EQ(items(dictionary.AutoCorrectReplacements()),
            (std::vector<std::string>{"the", "receive"}));
}

TEST(UserDictionary, SavedUnchangedOnDiskIsByteIdentical) {
  const std::string original = goldenUdt();
  const std::string path = testing_support::scratchPath("udt-round-trip.udt");
  testing_support::writeFile(path, original);
  {
    TUserDictionary dictionary(path);
    dictionary.AddWord("colour"); // already there: modified, but no change
    dictionary.Save();
  }
  EXPECT_EQ(readFile(path), original);
  std::remove(path.c_str());
}

TEST(UserDictionary, ChangesReachTheFileAndOtherKeysSurvive) {
  MemoryFileSystem files;
  files.put("u.udt", "; my words\r\n[Added]\r\nIGN_ListCount=1\r\nIGN_0=beta\r\nNote=keep\r\n");
  {
    TUserDictionary dictionary("u.udt", files);
    dictionary.AddWord("alpha");
    dictionary.AddAutoCorrect("adn", "and");
  } // destroyed modified: saves
  MemoryFileSystem copy;
  copy.put("u.udt", files.get("u.udt"));
  TUserDictionary reread("u.udt", copy);
  EXPECT_EQ(items(reread.Words()), (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_EQ(items(reread.AutoCorrectWords()), std::vector<std::string>{"adn"});
  EXPECT_EQ(items(reread.AutoCorrectReplacements()), std::vector<std::string>{"and"});
  EXPECT_NE(files.get("u.udt").find("; my words"), std::string::npos);
  EXPECT_NE(files.get("u.udt").find("Note=keep"), std::string::npos);
}

// A leading entry whose name starts with the bytes of a byte-order mark
// must not become the first bytes of the rewritten file: the next load
// would read the file as Unicode and find no words at all.
TEST(UserDictionary, ARewriteStartingWithMarkBytesStillReadsBack) {
  for (const std::string &mark :
       {std::string("\xFF\xFE"), std::string("\xFE\xFF"), std::string("\xEF\xBB\xBF")}) {
    MemoryFileSystem files;
    files.put("u.udt", "\r\n" + mark + "=x\r\n[Added]\r\nIGN_ListCount=1\r\nIGN_0=beta\r\n");
    {
      TUserDictionary dictionary("u.udt", files);
      dictionary.AddWord("alpha");
    }
    MemoryFileSystem copy;
    copy.put("u.udt", files.get("u.udt"));
    TUserDictionary reread("u.udt", copy);
    EXPECT_EQ(items(reread.Words()), (std::vector<std::string>{"alpha", "beta"}));
  }
}

// A key whose name ends in a blank just before a NUL byte is read as that
// name; a rewrite writes it without the NUL, and the next read drops the
// blank, so the key then reads as one of the list's own keys and, coming
// first, hides what the dictionary wrote there. The dictionary must read
// back every word and pair it saved, after one save and after another.
TEST(UserDictionary, KeysThatReadBackAsListKeysHideNoWord) {
  struct Case {
    const char *name;
    std::string foreign; // a line placed before the lists' own keys
  } cases[] = {
      {"item key, form feed", std::string("IGN_2\f\0=c", 10)},
      {"item key, blank", std::string("IGN_2 \0=c", 9)},
      {"item key, tab", std::string("IGN_2\t\0=c", 9)},
      {"count key", std::string("IGN_ListCount\f\0=1", 17)},
      {"pair key", std::string("AC_1\f\0=x@@@y", 12)},
      {"pair count key", std::string("AC_ListCount \0=0", 16)},
  };
  for (const Case &c : cases) {
    bool pairs = c.foreign.compare(0, 3, "AC_") == 0;
    std::string added = "[Added]\r\n" + (pairs ? std::string() : c.foreign + "\r\n") +
                        "IGN_ListCount=2\r\nIGN_0=a\r\nIGN_1=b\r\n";
    std::string autoCorrect = "[Auto Correct]\r\n" + (pairs ? c.foreign + "\r\n" : std::string()) +
                              "AC_ListCount=1\r\nAC_0=teh@@@the\r\n";
    MemoryFileSystem files;
    files.put("u.udt", added + autoCorrect);
    {
      TUserDictionary dictionary("u.udt", files);
      ASSERT_EQ(items(dictionary.Words()), (std::vector<std::string>{"a", "b"})) << c.name;
      dictionary.AddWord("zymurgist");
      dictionary.AddAutoCorrect("recieve", "receive");
    }
    for (int save = 1; save <= 2; ++save) {
      TUserDictionary reread("u.udt", files);
      EXPECT_EQ(items(reread.Words()), (std::vector<std::string>{"a", "b", "zymurgist"}))
          << c.name << ", save " << save;
      EXPECT_EQ(items(reread.AutoCorrectWords()), (std::vector<std::string>{"teh", "recieve"}))
          << c.name << ", save " << save;
      EXPECT_EQ(items(reread.AutoCorrectReplacements()),
                (std::vector<std::string>{"the", "receive"}))
          << c.name << ", save " << save;
      reread.AddWord("zzz" + std::to_string(save)); // and save again
      reread.RemoveWord("zzz" + std::to_string(save));
    }
  }
}

// The same for a section header: "[Added\t\0]" reads as another section,
// and its rewrite, "[Added\t]", then reads as the list's section.
TEST(UserDictionary, ASectionThatReadsBackAsTheListsHidesNoWord) {
  MemoryFileSystem files;
  files.put("u.udt", std::string("[Added\t\0]\r\nother=1\r\n", 20) +
                         "[Added]\r\nIGN_ListCount=1\r\nIGN_0=a\r\n");
  {
    TUserDictionary dictionary("u.udt", files);
    ASSERT_EQ(items(dictionary.Words()), (std::vector<std::string>{"a"}));
    dictionary.AddWord("zymurgist");
  }
  TUserDictionary reread("u.udt", files);
  EXPECT_EQ(items(reread.Words()), (std::vector<std::string>{"a", "zymurgist"}));
}

// Words and replacements that the INI conventions would change on the way
// back (blanks around a value are dropped, matching quotes removed) are
// stored so that they read back as themselves; one that no INI line can
// hold is refused when it is added, with the reason, and the others stay.
TEST(UserDictionary, EveryWordItAcceptsReadsBackAsItself) {
  const std::vector<std::string> words = {" lead",    "trail ", "\tboth\t", "\"quoted\"",
                                          "'single'", "\"half", "a=b",      "[x]"};
  MemoryFileSystem files;
  {
    TUserDictionary dictionary("u.udt", files);
    for (const std::string &word : words)
      dictionary.AddWord(word);
    dictionary.AddAutoCorrect("teh", " the ");
    dictionary.AddAutoCorrect("\"q\"", "'r'");
    for (const std::string &bad : {std::string("two\r\nlines"), std::string("cr\r"),
                                   std::string("lf\n"), std::string("nul\0x", 5)}) {
      try {
        dictionary.AddWord(bad);
        ADD_FAILURE() << "accepted a word no line can hold";
      } catch (const spelling::EUserDictionaryError &error) {
        EXPECT_NE(error.Message().find("cannot be stored"), std::string::npos) << error.Message();
        EXPECT_EQ(error.Message().find('\0'), std::string::npos);
      }
      EXPECT_THROW(dictionary.AddAutoCorrect("w", bad), spelling::EUserDictionaryError);
      EXPECT_THROW(dictionary.AddAutoCorrect(bad, "w"), spelling::EUserDictionaryError);
    }
    // The separator inside a word would move the split on the way back.
    EXPECT_THROW(dictionary.AddAutoCorrect("a@@@b", "c"), spelling::EUserDictionaryError);
  }
  TUserDictionary reread("u.udt", files);
  std::vector<std::string> expected = words;
  std::vector<std::string> got = items(reread.Words());
  std::sort(expected.begin(), expected.end());
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, expected);
  EXPECT_EQ(items(reread.AutoCorrectWords()), (std::vector<std::string>{"teh", "\"q\""}));
  EXPECT_EQ(items(reread.AutoCorrectReplacements()), (std::vector<std::string>{" the ", "'r'"}));
}

TEST(UserDictionary, WordEqualWithoutRegardToCaseIsNotAddedTwice) {
  MemoryFileSystem files;
  files.put("u.udt", "[Added]\r\nIGN_ListCount=1\r\nIGN_0=apple\r\n");
  TUserDictionary dictionary("u.udt", files);
  dictionary.AddWord("Apple");
  EXPECT_EQ(items(dictionary.Words()), std::vector<std::string>{"apple"});
  dictionary.AddWord("Banana");
  dictionary.AddWord("avocado");
  EXPECT_EQ(items(dictionary.Words()), (std::vector<std::string>{"apple", "avocado", "Banana"}));
}

TEST(UserDictionary, AutoCorrectReplacesAnExistingWordsReplacement) {
  MemoryFileSystem files;
  TUserDictionary dictionary("u.udt", files);
  dictionary.AddAutoCorrect("teh", "the");
  dictionary.AddAutoCorrect("adn", "and");
  dictionary.AddAutoCorrect("TEH", "tech");
  EXPECT_EQ(items(dictionary.AutoCorrectWords()), (std::vector<std::string>{"teh", "adn"}));
  EXPECT_EQ(items(dictionary.AutoCorrectReplacements()), (std::vector<std::string>{"tech", "and"}));
  dictionary.RemoveAutoCorrect("teh");
  EXPECT_EQ(items(dictionary.AutoCorrectWords()), std::vector<std::string>{"adn"});
  EXPECT_EQ(items(dictionary.AutoCorrectReplacements()), std::vector<std::string>{"and"});
  dictionary.AddWord("word");
  dictionary.RemoveWord("WORD");
  EXPECT_EQ(dictionary.Words().Count(), 0);
}

TEST(UserDictionary, ItemWithoutSeparatorIsAnEmptyWord) {
  MemoryFileSystem files;
  files.put("u.udt", "[Auto Correct]\r\nAC_ListCount=2\r\nAC_0=broken\r\nAC_1=a@@@b@@@c\r\n");
  TUserDictionary dictionary("u.udt", files);
  EXPECT_EQ(items(dictionary.AutoCorrectWords()), (std::vector<std::string>{"", "a"}));
  EXPECT_EQ(items(dictionary.AutoCorrectReplacements()),
            (std::vector<std::string>{"broken", "b@@@c"}));
}

TEST(UserDictionary, MissingFileIsEmptyAndCreatedByTheFirstSave) {
  MemoryFileSystem files;
  TUserDictionary dictionary("new.udt", files);
  EXPECT_TRUE(dictionary.Loaded());
  EXPECT_EQ(dictionary.Words().Count(), 0);
  EXPECT_FALSE(files.has("new.udt"));
  dictionary.AddWord("first");
  dictionary.Save();
  ASSERT_TRUE(files.has("new.udt"));
  EXPECT_FALSE(dictionary.Modified());
  MemoryFileSystem copy;
  copy.put("new.udt", files.get("new.udt"));
  TUserDictionary reread("new.udt", copy);
  EXPECT_EQ(items(reread.Words()), std::vector<std::string>{"first"});
}

TEST(UserDictionary, WordListIsReadOnly) {
  MemoryFileSystem files;
  files.put("Words.DIC", "zebra\r\napple\nmango\r\n\r\nApple\r\n");
  {
    TUserDictionary dictionary("Words.DIC", files);
    EXPECT_TRUE(dictionary.IsWordList());
    EXPECT_EQ(items(dictionary.Words()), (std::vector<std::string>{"apple", "mango", "zebra"}));
    dictionary.AddWord("kiwi");
    dictionary.AddAutoCorrect("a", "b");
    dictionary.RemoveWord("apple");
    EXPECT_FALSE(dictionary.Modified());
    EXPECT_EQ(dictionary.Words().Count(), 3);
    dictionary.Save();
    dictionary.Unload();
  }
  EXPECT_EQ(files.writes, 0u) << "a word list is never written";
}

TEST(UserDictionary, UnloadSavesAndLoadRereads) {
  MemoryFileSystem files;
  TUserDictionary dictionary("u.udt", files);
  dictionary.AddWord("kept");
  dictionary.Unload();
  EXPECT_FALSE(dictionary.Loaded());
  EXPECT_EQ(dictionary.Words().Count(), 0);
  dictionary.Load();
  EXPECT_EQ(items(dictionary.Words()), std::vector<std::string>{"kept"});
  dictionary.AddWord("more");
  dictionary.Load(); // already loaded: only forgets the modified mark
  EXPECT_FALSE(dictionary.Modified());
}

TEST(UserDictionary, ManyWordsRoundTrip) {
  // Enough words that the list is read in several pieces, written in an
  // order unlike the sorted one.
  MemoryFileSystem files;
  std::vector<std::string> expected;
  {
    TUserDictionary dictionary("u.udt", files);
    for (int i = 299; i >= 0; --i) {
      std::string word = "w" + std::to_string(1000 + i);
      dictionary.AddWord(word);
      expected.insert(expected.begin(), word);
    }
  }
  std::string saved = files.get("u.udt");
  TUserDictionary reread("u.udt", files);
  EXPECT_EQ(items(reread.Words()), expected);
  reread.Save();
  EXPECT_EQ(files.get("u.udt"), saved);
}

TEST(UserDictionary, UnreadableExistingFileIsAnError) {
  MemoryFileSystem files;
  files.put("u.udt", "[Added]\r\n");
  files.failAt = 1; // the read
  EXPECT_THROW(TUserDictionary("u.udt", files), components::EFOpenError);
}

// Every file operation of a save fails once in turn. Whatever fails, the
// file holds either all of the old words or all of the new ones.
TEST(UserDictionary, FailedRewriteKeepsTheOldFile) {
  const std::string original = goldenUdt();
  bool completed = false;
  for (unsigned n = 1; !completed && n < 50; ++n) {
    MemoryFileSystem files;
    files.put("u.udt", original);
    TUserDictionary dictionary("u.udt", files);
    dictionary.AddWord("zymurgy");
    dictionary.AddAutoCorrect("wiht", "with");
    files.operations = 0;
    files.failAt = n;
    try {
      dictionary.Save();
      completed = true;
    } catch (const components::EStreamError &error) {
      EXPECT_EQ(files.get("u.udt"), original) << "failure at operation " << n;
      EXPECT_TRUE(dictionary.Modified()) << "a failed save keeps the changes pending";
      EXPECT_NE(std::string(error.what()).find("u.udt"), std::string::npos) << error.what();
      files.failAt = 0;
      continue;
    }
    MemoryFileSystem copy;
    copy.put("u.udt", files.get("u.udt"));
    TUserDictionary reread("u.udt", copy);
    EXPECT_EQ(reread.Words().Count(), 5) << "after " << n - 1 << " failures";
    EXPECT_EQ(reread.AutoCorrectWords().Count(), 3);
    EXPECT_FALSE(files.has("u.udt.new"));
  }
  EXPECT_TRUE(completed);
}

TEST(UserDictionary, FailedSaveOnDestructionKeepsTheOldFile) {
  const std::string original = goldenUdt();
  MemoryFileSystem files;
  files.put("u.udt", original);
  {
    TUserDictionary dictionary("u.udt", files);
    dictionary.AddWord("lost");
    files.operations = 0;
    files.failAt = 2; // the write of the new file
  }
  EXPECT_EQ(files.get("u.udt"), original);
}

struct DamagedCase {
  const char *name;
  std::string file;
  std::vector<std::string> words;
};

class DamagedUserDictionary : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedUserDictionary, LoadsWhatTheFileHolds) {
  MemoryFileSystem files;
  files.put("u.udt", GetParam().file);
  TUserDictionary dictionary("u.udt", files);
  EXPECT_EQ(items(dictionary.Words()), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedUserDictionary,
    testing::Values(
        DamagedCase{"HugeCount", "[Added]\r\nIGN_ListCount=2000000000\r\nIGN_0=one\r\n", {"one"}},
        DamagedCase{
            "MaxCount", "[Added]\r\nIGN_ListCount=2147483647\r\nIGN_2147483646=last\r\n", {"last"}},
        DamagedCase{
            "CountPastTheEnd", "[Added]\r\nIGN_ListCount=40\r\nIGN_0=a\r\nIGN_1=b\r\n", {"a", "b"}},
        DamagedCase{"TruncatedInValue",
                    "[Added]\r\nIGN_ListCount=2\r\nIGN_0=alpha\r\nIGN_1=be",
                    {"alpha", "be"}},
        // A count no writer gives hides nothing: the entries make the list.
        DamagedCase{"NegativeCount",
                    "[Added]\r\nIGN_ListCount=-5\r\nIGN_0=one\r\nIGN_1=two\r\nIGN_7=eight\r\n",
                    {"eight", "one", "two"}},
        DamagedCase{"CountNotANumber",
                    "[Added]\r\nIGN_ListCount=x\r\nIGN_0=one\r\nIGN_1=two\r\n",
                    {"one", "two"}},
        DamagedCase{"CountMissing", "[Added]\r\nIGN_1=two\r\nIGN_0=one\r\n", {"one", "two"}},
        DamagedCase{"EmptyEntrySkipped",
                    "[Added]\r\nIGN_ListCount=3\r\nIGN_0=one\r\nIGN_1=\r\nIGN_2=two\r\n",
                    {"one", "two"}},
        DamagedCase{"TruncatedInSection", "[Add", {}},
        DamagedCase{"Binary", std::string("\xFF\xFE\x00\x01[[]]==\r\n\n\r", 14), {}}),
    [](const testing::TestParamInfo<DamagedCase> &info) { return std::string(info.param.name); });

// The words of a file with a damaged count survive a load, an add and a
// save, and the file then carries the true count.
TEST(UserDictionary, ADamagedCountLosesNoWordThroughAnAddAndASave) {
  MemoryFileSystem files;
  files.put("u.udt", "[Added]\r\nIGN_ListCount=-5\r\nIGN_0=alpha\r\nIGN_1=gamma\r\n");
  {
    TUserDictionary dictionary("u.udt", files);
    dictionary.AddWord("beta");
  }
  TUserDictionary again("u.udt", files);
  EXPECT_EQ(items(again.Words()), (std::vector<std::string>{"alpha", "beta", "gamma"}));
  EXPECT_NE(files.get("u.udt").find("IGN_ListCount=3\r\n"), std::string::npos)
      << files.get("u.udt");
}

// Loading, adding a word and saving grow near-linearly with the words of
// the file, whatever their order: 8 times the words take about 8 times as
// long, not 64 times.
TEST(UserDictionary, LoadingAndSavingGrowNearLinearlyWithTheWords) {
  auto fileOf = [](std::size_t count) {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < count; ++i)
      words.push_back("w" + std::to_string(i * 7919 % 1000003));
    std::shuffle(words.begin(), words.end(), std::mt19937(45));
    std::string text = "[Added]\r\nIGN_ListCount=" + std::to_string(count) + "\r\n";
    for (std::size_t i = 0; i < count; ++i)
      text += "IGN_" + std::to_string(i) + "=" + words[i] + "\r\n";
    return text;
  };
  int loaded = 0;
  double ratio = testing_support::growthFrom(4000, fileOf, [&](const std::string &file) {
    MemoryFileSystem memory;
    memory.put("u.udt", file);
    TUserDictionary dictionary("u.udt", memory);
    loaded = dictionary.Words().Count();
    dictionary.AddWord("added");
    dictionary.Save();
  });
  EXPECT_EQ(loaded, 32000);
  EXPECT_LT(ratio, testing_support::MostLinearGrowth)
      << "8 times the words took " << ratio << " times as long";
}

TEST(UserDictionary, FuzzedFilesLoadOrFailCleanly) {
  std::vector<testing_support::Bytes> seeds;
  std::string golden = goldenUdt();
  seeds.emplace_back(golden.begin(), golden.end());
  std::string counts = "[Added]\r\nIGN_ListCount=3\r\nIGN_0=a\r\nIGN_2=c\r\n"
                       "[Auto Correct]\r\nAC_ListCount=1\r\nAC_0=x@@@y\r\n";
  seeds.emplace_back(counts.begin(), counts.end());
  // The coverage-guided harness: nothing is invented (every word is a
  // line's worth of the input), every pair is whole, and a save loses,
  // hides and changes nothing.
  unsigned tried =
      testing_support::fuzz(seeds, testing_support::runHarness, {20000, 3.0, 20261209});
  EXPECT_GE(tried, 20u);
}

} // namespace
