// The string type and the readout texts of the option pages.
#include "jpeg/core/readouts.h"
#include "jpeg/core/tstring.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

using namespace pixtune;

TEST(TString, CapacityClassesAreAlwaysLargerThanTheText) {
  struct Case {
    std::size_t length;
    int capacity;
  } cases[] = {{0, 256}, {254, 256}, {255, 512}, {510, 512}, {511, 768}, {1023, 1280}};
  for (const Case &c : cases) {
    TString s(std::string(c.length, 'x').c_str());
    EXPECT_EQ(s.Capacity(), c.capacity) << c.length;
    EXPECT_EQ(s.Length(), c.length);
  }
}

TEST(TString, CopiesShareUntilOneWrites) {
  TString a("abc");
  TString b(a);
  EXPECT_EQ(a.ShareCount(), 2);
  EXPECT_EQ(a.c_str(), b.c_str());
  b.Buffer()[0] = 'X';
  EXPECT_TRUE(a == "abc");
  EXPECT_TRUE(b == "Xbc");
  EXPECT_EQ(a.ShareCount(), 1);
  EXPECT_EQ(b.ShareCount(), 1);
  EXPECT_EQ(b.Capacity(), 256);
}

TEST(TString, AssigningNullEmptiesOnlyThisHolder) {
  TString a("kept");
  TString b(a);
  b = static_cast<const char *>(nullptr);
  EXPECT_TRUE(a == "kept");
  EXPECT_TRUE(b == "");
  // A sole owner of a 256-byte buffer keeps it.
  const char *buffer = a.c_str();
  a = static_cast<const char *>(nullptr);
  EXPECT_EQ(a.c_str(), buffer);
  EXPECT_TRUE(a == "");
}

TEST(TString, ReserveKeepsTheBufferOnlyForTheSameClass) {
  TString a("text");
  const char *buffer = a.c_str();
  a.Reserve(100);
  EXPECT_EQ(a.c_str(), buffer);
  EXPECT_TRUE(a == "");
  a.Reserve(300);
  EXPECT_EQ(a.Capacity(), 512);
  TString shared(a);
  shared.Reserve(300);
  EXPECT_NE(shared.c_str(), a.c_str());
}

TEST(TString, AppendGrowsIntoTheNextClass) {
  TString a(std::string(250, 'a').c_str());
  TString held(a);
  a.Append("bcdefgh");
  EXPECT_EQ(a.Length(), 257u);
  EXPECT_EQ(a.Capacity(), 512);
  EXPECT_EQ(held.Length(), 250u);
  TString joined = TString("1.00 Kb") + " / " + TString("5 bytes");
  EXPECT_TRUE(joined == "1.00 Kb / 5 bytes");
  a = "n=";
  a.AppendInt(-42);
  EXPECT_TRUE(a == "n=-42");
  a.SetInt(255, 16);
  EXPECT_TRUE(a == "ff");
}

TEST(TString, DoublesAreCutNotRounded) {
  struct Case {
    double value;
    int decimals;
    const char *text;
  } cases[] = {{29.296875 / 2.9296875, 2, "10"},
               {2.0 / 3.0, 2, "0.66"},
               {10.999, 2, "10.99"},
               {1.5, 2, "1.5"},
               {1.5, 0, "1.5"},
               {0.125, 1, "0.1"}};
  for (const Case &c : cases) {
    TString s;
    s.SetDouble(c.value, c.decimals);
    EXPECT_STREQ(s.c_str(), c.text) << c.value;
  }
}

TEST(FormatSize, Examples) {
  struct Case {
    std::uint64_t bytes;
    const char *text;
  } cases[] = {{0, "0 bytes"},
               {1023, "1023 bytes"},
               {1024, "1.00 Kb"},
               {1536, "1.50 Kb"},
               {1048576, "1.00 Mb"},
               {1048576 + 1023, "1.00 Mb"},
               {2048 + 10, "2.00 Kb"},
               {30000, "29.29 Kb"},
               {3000, "2.92 Kb"},
               // Beyond 32 bits: 6 GB reads right.
               {6ull << 30, "6144.00 Mb"}};
  for (const Case &c : cases)
    EXPECT_STREQ(FormatSize(c.bytes).c_str(), c.text) << c.bytes;
}

TEST(FormatDuration, Examples) {
  struct Case {
    std::uint64_t ticks;
    const char *text;
  } cases[] = {{0, "<1 ms"},
               {30, "500 ms"},
               {42, "700 ms"},
               {59, "983 ms"},
               {60, "1.00 sec"},
               // 1.05 seconds: the hundredths keep their leading zero.
               {63, "1.05 sec"},
               {90, "1.50 sec"},
               {3600, "1 min 0 sec"},
               {216000, "1 h 0 min"},
               {216000 + 5 * 3600, "1 h 5 min"}};
  for (const Case &c : cases)
    EXPECT_STREQ(FormatDuration(c.ticks).c_str(), c.text) << c.ticks;
}

TEST(Readouts, HundredByHundredColourImageOfThreeThousandBytes) {
  Readouts r = MakeReadouts(100, 100, 24, 3000, 33600);
  EXPECT_STREQ(r.sizes.c_str(), "29.29 Kb / 2.92 Kb");
  EXPECT_STREQ(r.ratio.c_str(), "10");
  EXPECT_STREQ(r.download.c_str(), "700 ms @ 33600bps");
}

TEST(Readouts, TwentyMegabytesDownloadInSixtyFourBits) {
  // 20 MB x 480 is past 32 bits; wrapped it would read about 19 minutes.
  std::uint64_t bytes = 20ull * 1048576;
  Readouts r = MakeReadouts(4000, 3000, 24, bytes, 33600);
  // 20971520 x 8 / 33600 = 4993 seconds = 1 h 23 min.
  EXPECT_STREQ(r.download.c_str(), "1 h 23 min @ 33600bps");
  EXPECT_STREQ(r.sizes.c_str(), "34.33 Mb / 20.00 Mb");
  EXPECT_STREQ(r.ratio.c_str(), "1.71");
  // A 40000 x 40000 colour image: 4.8 GB of pixels.
  Readouts big = MakeReadouts(40000, 40000, 24, 1048576, 2400);
  EXPECT_STREQ(big.sizes.c_str(), "4577.63 Mb / 1.00 Mb");
  EXPECT_STREQ(big.ratio.c_str(), "4577.63");
}

TEST(Readouts, RatioKeepsItsPointUnderADecimalCommaLocale) {
  const char *names[] = {"de_DE.UTF-8", "de_DE", "German_Germany.1252", "German"};
  const char *found = nullptr;
  for (const char *name : names)
    if (std::setlocale(LC_NUMERIC, name)) {
      found = name;
      break;
    }
  if (!found)
    GTEST_SKIP() << "this machine has no locale with a decimal comma";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.2f", 1.5);
  Readouts r = MakeReadouts(100, 100, 24, 7000, 33600);
  std::setlocale(LC_NUMERIC, "C");
  ASSERT_STREQ(probe, "1,50") << found << " did not switch the decimal separator";
  EXPECT_STREQ(r.ratio.c_str(), "4.28");
}
