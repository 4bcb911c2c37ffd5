// The store file reader under random damage, through its coverage-guided
// harness: it returns for every input, allocates no more than the input
// holds, keeps only whole records, and what it kept writes out and reads
// back the same.
#include "clipboard-checker/core/kfp-store.h"
#include "clipboard-checker/tests/kfp-test-files.h"
#include "testing/fuzz-driver.h"

#include <gtest/gtest.h>

#include <string>

using lexitray::TkfRegFile;

TEST(KfpFuzz, DamagedFilesNeverBreakTheReader) {
  std::string golden = kfp_test::goldenSample();
  ASSERT_FALSE(golden.empty());
  TkfRegFile small;
  small.WriteString("a", "b");
  std::string one = small.SaveToBytes();
  std::vector<testing_support::Bytes> seeds = {testing_support::Bytes(golden.begin(), golden.end()),
                                               testing_support::Bytes(one.begin(), one.end())};
  unsigned tried = testing_support::fuzz(seeds, testing_support::runHarness);
  EXPECT_GE(tried, 200u);
}
