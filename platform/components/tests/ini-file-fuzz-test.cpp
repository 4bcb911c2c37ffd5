// Bounded fuzzing of the INI reader and writer through their coverage-guided
// harness: damaged files must read without a crash, a hang or a sanitizer
// report, and a value written into any of them must read back.
#include "testing/fuzz-driver.h"

#include <gtest/gtest.h>

#include <string>

using testing_support::Bytes;

namespace {

Bytes toBytes(const std::string &text) { return Bytes(text.begin(), text.end()); }

} // namespace

TEST(IniFileFuzz, DamagedFilesReadAndRewriteSafely) {
  std::vector<Bytes> seeds = {
      toBytes("[Added]\r\nIGN_ListCount=2\r\nIGN_0=colour\r\nIGN_1=harbour\r\n[Auto Correct]\r\n"
              "AC_ListCount=1\r\nAC_0=teh@@@the\r\n"),
      toBytes("[verba]\r\nID=1\r\nU_MU_Main_ListCount=1\r\nU_MU_Main_0=TC:\\x\\english.dct\r\n"
              "M_Main_ListCount=1\r\nM_Main_0=English\r\n"),
      toBytes("top=1\r\n  [ Sec One ]  \r\n k = \"v\" \r\n;c=1\r\nnoeq\r\n=a\r\n=b\r\n[]\r\nx=1\n"
              "[t]\rk=2\r[u]] x\r\n"),
      toBytes("\xEF\xBB\xBF[s]\r\na=\xC3\xA9\r\nb=\xF0\x9F\x98\x80\r\n"),
      toBytes(std::string("[s]\r\na=1\0t=5\r\n[x\0y]\r\n", 22)),
  };
  unsigned tried =
      testing_support::fuzz(seeds, testing_support::runHarness, {20000, 3.0, 20261209});
  EXPECT_GT(tried, seeds.size());
}

// Edge inputs, replayed as ordinary cases; any input that ever breaks the
// reader or writer joins them.
TEST(IniFileFuzz, EdgeInputs) {
  const std::vector<std::string> inputs = {
      "",
      "[",
      "]",
      "[]",
      "=",
      "\xEF\xBB",
      "\xEF\xBB\xBF",
      "\xEF\xBB\xBF\xF0\x9F",
      std::string("\0", 1),
      "\r\r\n\n\r",
      "[fuzz]\r\n[]\r\nkey\r\n",
      "[FUZZ ]\r\nKEY\r\n",
  };
  for (const std::string &input : inputs)
    testing_support::runHarness(toBytes(input));
}
