// The stopwatch class's process-wide maps: keys spread by (key / 16)
// modulo 17, entries in blocks of 10, storage gone with the last entry.
#include "circuit-sim/core/timer-registry.h"

#include <gtest/gtest.h>

namespace {

using qorsim::TimerRegistry;

TEST(TimerRegistry, AddressesSpreadBySixteenByteStepsOverSeventeenBuckets) {
  const struct {
    std::uintptr_t key;
    int bucket;
  } cases[] = {{0, 0}, {15, 0}, {16, 1}, {16 * 16, 16}, {16 * 17, 0}, {16 * 18 + 7, 1}};
  for (const auto &c : cases)
    EXPECT_EQ(TimerRegistry::bucketOf(c.key), c.bucket) << c.key;
}

// Keys that share a bucket stay apart; the storage grows by whole blocks
// and is freed when the last entry goes, whatever the order of removal.
TEST(TimerRegistry, GrowsInBlocksOfTenAndFreesItsStorageWhenEmpty) {
  TimerRegistry registry;
  int values[25];
  for (int i = 0; i < 25; ++i) {
    registry.set(static_cast<std::uintptr_t>(i) * 16 * 17, &values[i]); // all in bucket 0
    EXPECT_EQ(registry.capacity(), static_cast<std::size_t>((i / 10 + 1) * 10)) << i;
  }
  EXPECT_EQ(registry.size(), 25u);
  for (int i = 0; i < 25; ++i)
    EXPECT_EQ(registry.find(static_cast<std::uintptr_t>(i) * 16 * 17), &values[i]) << i;
  EXPECT_EQ(registry.find(16), nullptr);

  registry.set(0, &values[24]);
  EXPECT_EQ(registry.find(0), &values[24]);
  EXPECT_EQ(registry.size(), 25u);
  EXPECT_FALSE(registry.remove(16));
  for (int i = 24; i >= 1; i -= 2)
    EXPECT_TRUE(registry.remove(static_cast<std::uintptr_t>(i) * 16 * 17)) << i;
  for (int i = 23; i >= 1; i -= 2)
    EXPECT_TRUE(registry.remove(static_cast<std::uintptr_t>(i) * 16 * 17)) << i;
  EXPECT_EQ(registry.capacity(), 30u) << "one entry left";
  EXPECT_TRUE(registry.remove(0));
  EXPECT_EQ(registry.size(), 0u);
  EXPECT_EQ(registry.capacity(), 0u);
  EXPECT_EQ(registry.find(0), nullptr);

  registry.set(32, &values[0]); // usable again after it emptied
  EXPECT_EQ(registry.find(32), &values[0]);
  EXPECT_EQ(registry.capacity(), 10u);
}

} // namespace
