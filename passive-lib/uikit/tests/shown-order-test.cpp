// The ORDER lists of the pages: the indices read and the moves. (Check
// boxes: the page models' tests.)
#include "passive-lib/uikit/core/shown-order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using passive::parseShownOrder;
using passive::shownOrderText;

TEST(ShownOrder, ReadsOnlyIndicesOfExistingItems) {
  struct Case {
    const char *order;
    int items;
    std::vector<int> shown;
  };
  const Case cases[] = {
      {"0 1", 2, {0, 1}},     {"", 3, {}},        {"2 0", 3, {2, 0}}, {"  1  0 ", 2, {1, 0}},
      {"0 7 1", 2, {0, 1}},   {"0 x 1", 2, {0}},  {"-1 0", 2, {}},    {"1.5", 3, {}},
      {"99999999999", 5, {}}, {"3 3", 4, {3, 3}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(parseShownOrder(c.order, c.items), c.shown) << "\"" << c.order << "\"";
}

TEST(ShownOrder, MovesGoOnePlaceAndStopAtTheEnds) {
  using passive::moveTarget;
  // ORDER 0 1 2: a positive step on the second row goes before the first.
  std::vector<int> shown = {0, 1, 2};
  const auto target = moveTarget(1, 3, 1);
  ASSERT_EQ(target, std::optional<int>(0));
  std::swap(shown[1], shown[*target]);
  EXPECT_EQ(shownOrderText(shown), "1 0 2");
  EXPECT_EQ(moveTarget(0, 3, 1), std::nullopt);  // the first row goes nowhere earlier
  EXPECT_EQ(moveTarget(2, 3, -1), std::nullopt); // the last nowhere later
  EXPECT_EQ(moveTarget(0, 3, -1), std::optional<int>(1));
  EXPECT_EQ(moveTarget(1, 3, 0), std::nullopt);
  EXPECT_EQ(moveTarget(-1, 3, 1), std::nullopt); // no selection
  EXPECT_EQ(moveTarget(3, 3, 1), std::nullopt);
}

} // namespace
