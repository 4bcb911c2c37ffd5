// The store file reader under random damage: it returns for every input,
// allocates no more than the input holds, and keeps only whole records.
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
  unsigned tried = testing_support::fuzz(seeds, [](const testing_support::Bytes &input) {
    std::string bytes(input.begin(), input.end());
    TkfRegFile store;
    store.LoadFromBytes(bytes);
    std::size_t held = 0;
    for (const TkfRegFile::Record &record : store.Records()) {
      held += 101 + record.data.size();
      ASSERT_LE(record.name.size(), 23u);
      ASSERT_LE(record.key.size(), 63u);
    }
    // Every record kept was read whole from the input.
    ASSERT_LE(held, bytes.size());
    // What was kept writes out and reads back the same.
    TkfRegFile again;
    again.LoadFromBytes(store.SaveToBytes());
    ASSERT_EQ(again.Records().size(), store.Records().size());
  });
  EXPECT_GE(tried, 200u);
}
