// The ".kfp" store: the golden file read and written byte for byte, round
// trips, lookups under the current key, key normalisation, damaged files,
// and saves that fail half-way.
#include "clipboard-checker/core/kfp-store.h"
#include "clipboard-checker/tests/kfp-test-files.h"
#include "testing/memory-file-system.h"

#include <gtest/gtest.h>

#include <string>

using lexitray::TkfRegFile;

namespace {

// The store the golden file holds, built through the store's operations.
TkfRegFile sampleStore() {
  TkfRegFile store;
  store.SetCurrentKey("Form1\\kfPersist1");
  store.WriteString("(TForm)_Width", "320");
  store.WriteString("(TForm)_Caption", "Lexitray\xE4");
  store.WriteBinaryData("Memo1_Lines", "\x01\x00\xFF", 3);
  store.SetCurrentKey("Other");
  store.WriteString("(TForm)_Width", "64");
  return store;
}

} // namespace

TEST(KfpFile, WriterMatchesTheGoldenBytes) {
  std::string golden = kfp_test::goldenSample();
  ASSERT_EQ(golden.size(), 456u) << "golden/sample.kfp missing or changed";
  EXPECT_EQ(sampleStore().SaveToBytes(), golden);
}

TEST(KfpFile, ReaderTakesTheGoldenFileApart) {
  TkfRegFile store;
  store.LoadFromBytes(kfp_test::goldenSample());
  ASSERT_EQ(store.Records().size(), 4u);
  store.SetCurrentKey("form1\\KFPERSIST1"); // keys and names ignore case
  EXPECT_EQ(store.ReadString("(tform)_width"), "320");
  EXPECT_EQ(store.ReadString("(TForm)_Caption"), "Lexitray\xE4");
  char buffer[8] = {};
  EXPECT_EQ(store.ReadBinaryData("Memo1_Lines", buffer, sizeof buffer), 3u);
  EXPECT_EQ(std::string(buffer, 3), std::string("\x01\x00\xFF", 3));
  EXPECT_EQ(store.GetDataSize("(TForm)_Width"), 4u); // text keeps its terminator
  store.SetCurrentKey("Other");
  EXPECT_EQ(store.ReadString("(TForm)_Width"), "64");
  EXPECT_FALSE(store.ValueExists("Memo1_Lines"));
}

TEST(KfpFile, RoundTripKeepsEveryRecordInOrder) {
  TkfRegFile first = sampleStore();
  first.SetCurrentKey("Empty");
  first.WriteBinaryData("Nothing", nullptr, 0);
  first.WriteString("Blank", "");
  TkfRegFile second;
  second.LoadFromBytes(first.SaveToBytes());
  ASSERT_EQ(second.Records().size(), first.Records().size());
  for (std::size_t i = 0; i < first.Records().size(); ++i) {
    EXPECT_EQ(second.Records()[i].name, first.Records()[i].name);
    EXPECT_EQ(second.Records()[i].key, first.Records()[i].key);
    EXPECT_EQ(second.Records()[i].type, first.Records()[i].type);
    EXPECT_EQ(second.Records()[i].data, first.Records()[i].data);
  }
  EXPECT_EQ(second.SaveToBytes(), first.SaveToBytes());
}

TEST(KfpStore, WritingAgainReplacesTheValueInPlace) {
  TkfRegFile store = sampleStore();
  store.SetCurrentKey("Form1\\kfPersist1");
  store.WriteString("(TFORM)_WIDTH", "400");
  ASSERT_EQ(store.Records().size(), 4u);
  EXPECT_EQ(store.Records()[0].data, std::string("400", 4));
  store.WriteBinaryData("(TForm)_Width", "ab", 2); // the type changes too
  EXPECT_EQ(store.ReadString("(TForm)_Width"), "");
  EXPECT_TRUE(store.DeleteValue("(TForm)_Width"));
  EXPECT_FALSE(store.DeleteValue("(TForm)_Width"));
  EXPECT_EQ(store.Records().size(), 3u);
}

TEST(KfpStore, ReadsOfTheWrongTypeAndShortBuffers) {
  TkfRegFile store = sampleStore();
  store.SetCurrentKey("Form1\\kfPersist1");
  EXPECT_EQ(store.ReadString("Memo1_Lines"), ""); // binary, not text
  char buffer[2] = {'x', 'x'};
  EXPECT_EQ(store.ReadBinaryData("(TForm)_Width", buffer, 2), 0u); // text, not binary
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(store.ReadBinaryData("Memo1_Lines", buffer, 2), 3u); // copies 2, answers 3
  EXPECT_EQ(std::string(buffer, 2), std::string("\x01\x00", 2));
  EXPECT_EQ(store.ReadBinaryData("Missing", buffer, 2), 0u);
  EXPECT_EQ(store.GetDataSize("Missing"), 0u);
}

TEST(KfpStore, CurrentKeyLosesDoubledAndOuterBackslashes) {
  struct Case {
    const char *given, *kept;
  } cases[] = {{"\\Software\\Ovelmark\\", "Software\\Ovelmark"},
               {"Software\\\\Ovelmark\\\\lexitray", "Software\\Ovelmark\\lexitray"},
               {"\\\\a", "a"},
               {"\\", ""},
               {"", ""},
               {"plain", "plain"}};
  for (const Case &c : cases) {
    TkfRegFile store;
    store.SetCurrentKey(c.given);
    EXPECT_EQ(store.CurrentKey(), c.kept) << c.given;
  }
  TkfRegFile store;
  store.SetCurrentKey(std::string(100, 'k'));
  EXPECT_EQ(store.CurrentKey().size(), 63u);
}

TEST(KfpStore, LongNamesAreCutToWhatARecordHolds) {
  TkfRegFile store;
  std::string longName(40, 'n');
  store.WriteString(longName, "v");
  EXPECT_EQ(store.Records()[0].name.size(), 23u);
  EXPECT_EQ(store.ReadString(longName), "v");
  TkfRegFile reread;
  reread.LoadFromBytes(store.SaveToBytes());
  EXPECT_EQ(reread.ReadString(longName.substr(0, 23)), "v");
}

TEST(KfpDamage, FileWithoutTheHeaderLoadsNothing) {
  std::string golden = kfp_test::goldenSample();
  for (std::string bad : {"04" + golden.substr(2), std::string("0"), std::string()}) {
    TkfRegFile store = sampleStore();
    store.LoadFromBytes(bad);
    EXPECT_TRUE(store.Records().empty());
  }
}

TEST(KfpDamage, DamagedRecordKeepsTheRecordsBeforeIt) {
  std::string golden = kfp_test::goldenSample();
  const std::size_t third = 16 + 105 + 111; // where "||++" of Memo1_Lines starts
  struct Case {
    const char *what;
    std::string bytes;
  } cases[] = {
      {"record mark", golden.substr(0, third) + "||+-" + golden.substr(third + 4)},
      {"data mark", golden.substr(0, third + 97) + "||-<" + golden.substr(third + 101)},
      {"size past the end",
       golden.substr(0, third + 93) + "\xFF\xFF\xFF\x7F" + golden.substr(third + 97)},
      {"cut in the fields", golden.substr(0, third + 50)},
      {"cut in the data", golden.substr(0, third + 102)},
  };
  for (const Case &c : cases) {
    TkfRegFile store;
    store.LoadFromBytes(c.bytes);
    ASSERT_EQ(store.Records().size(), 2u) << c.what;
    store.SetCurrentKey("Form1\\kfPersist1");
    EXPECT_EQ(store.ReadString("(TForm)_Width"), "320") << c.what;
    EXPECT_EQ(store.ReadString("(TForm)_Caption"), "Lexitray\xE4") << c.what;
  }
}

TEST(KfpFileSystem, FailedSaveKeepsTheOldFile) {
  testing_support::MemoryFileSystem files;
  TkfRegFile old = sampleStore();
  ASSERT_TRUE(old.SaveToFile("app.kfp", files));
  std::string before = files.get("app.kfp");
  TkfRegFile changed = sampleStore();
  changed.WriteString("New", "value");
  for (unsigned failAt = 1;; ++failAt) {
    files.operations = 0;
    files.failAt = failAt;
    bool saved = changed.SaveToFile("app.kfp", files);
    files.failAt = 0;
    if (saved) {
      EXPECT_EQ(files.get("app.kfp"), changed.SaveToBytes());
      break;
    }
    EXPECT_EQ(files.get("app.kfp"), before) << "failing call " << failAt;
    ASSERT_LT(failAt, 10u);
  }
  TkfRegFile reread;
  EXPECT_TRUE(reread.LoadFromFile("app.kfp", files));
  EXPECT_EQ(reread.SaveToBytes(), changed.SaveToBytes());
  EXPECT_FALSE(reread.LoadFromFile("missing.kfp", files));
  EXPECT_TRUE(reread.Records().empty());
}
