// The tournament tree of least values against a plain scan of the same
// row, over sizes around the powers of two and random changes.
#include "circuit-sim/core/least-value-tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using qorsim::LeastValueTree;

int scanLeast(const std::vector<int> &v, int first) {
  int least = LeastValueTree::None;
  for (int i = std::max(first, 0); i < static_cast<int>(v.size()); ++i)
    least = std::min(least, v[i]);
  return least;
}

int scanFirstAtMost(const std::vector<int> &v, int first, int bound) {
  for (int i = std::max(first, 0); i < static_cast<int>(v.size()); ++i)
    if (v[i] <= bound)
      return i;
  return -1;
}

TEST(LeastValueTree, AgreesWithAScanUnderRandomChanges) {
  std::mt19937 random(1210);
  for (int count : {1, 2, 3, 4, 5, 7, 8, 9, 31, 64, 100, 1000}) {
    SCOPED_TRACE(count);
    std::uniform_int_distribution<int> position(0, count - 1);
    // Small values repeat often, as Markowitz products do; None stands for
    // an index without a diagonal.
    std::uniform_int_distribution<int> draw(-2, 12);
    auto randomValue = [&] {
      const int v = draw(random);
      return v == 12 ? LeastValueTree::None : v;
    };
    std::vector<int> values(count);
    for (int &v : values)
      v = randomValue();
    LeastValueTree tree;
    tree.assign(values);
    ASSERT_EQ(tree.count(), count);
    for (int round = 0; round < 400; ++round) {
      const int p = position(random);
      values[p] = randomValue();
      tree.set(p, values[p]);
      EXPECT_EQ(tree.value(p), values[p]);
      const int first = position(random);
      const int bound = draw(random) % 12;
      ASSERT_EQ(tree.leastFrom(first), scanLeast(values, first)) << first;
      ASSERT_EQ(tree.firstAtMost(first, bound), scanFirstAtMost(values, first, bound))
          << first << " " << bound;
    }
    EXPECT_EQ(tree.leastFrom(count), LeastValueTree::None);
    EXPECT_EQ(tree.firstAtMost(count, 0), -1);
  }
}

TEST(LeastValueTree, ResetHoldsNothing) {
  LeastValueTree tree;
  tree.reset(5);
  EXPECT_EQ(tree.leastFrom(0), LeastValueTree::None);
  EXPECT_EQ(tree.firstAtMost(0, 100), -1);
  tree.set(3, 7);
  EXPECT_EQ(tree.leastFrom(0), 7);
  EXPECT_EQ(tree.leastFrom(4), LeastValueTree::None);
  EXPECT_EQ(tree.firstAtMost(0, 7), 3);
  EXPECT_EQ(tree.firstAtMost(0, 6), -1);
  tree.reset(0);
  EXPECT_EQ(tree.leastFrom(0), LeastValueTree::None);
}

} // namespace
