// Placement of the check dialog on a 1024 x 768 screen: beside the checked
// control at each screen edge, off the word as the check moves on, and
// clamped to the screen. Expected positions are worked out by hand from
// the rules: below when dialog height + bottom < screen height, 2 pixels
// of gap, then right, above and left in turn.
#include "spelling/core/dialog-placement.h"

#include <gtest/gtest.h>

namespace {

using namespace spelling;

const ScreenSize Screen{1024, 768};

PlacementRect rect(int left, int top, int width, int height) {
  return PlacementRect{left, top, left + width, top + height};
}

// A dialog of 400 x 200 somewhere on the screen.
const PlacementRect Dialog = rect(10, 10, 400, 200);

struct EdgeCase {
  const char *where;
  PlacementRect control;
  int expectedLeft, expectedTop;
};

TEST(DialogPlacement, BesideTheControlNearEachScreenEdge) {
  const PlacementRect word = rect(300, 300, 40, 16);
  const EdgeCase cases[] = {
      // Room below: control left, control bottom + 2.
      {"top edge", rect(100, 0, 300, 100), 100, 102},
      // 200 + 600 is not below 768: right of the control, at its top.
      {"bottom edge, room right", rect(100, 400, 300, 200), 402, 400},
      // Neither below nor right (400 + 1000 > 1024): above, 200 - 2 above.
      {"bottom right corner", rect(600, 560, 400, 200), 600, 358},
      // Full height: no room below or above; right fails, left fits.
      {"right edge, full height", rect(700, 0, 320, 768), 298, 0},
      // Left edge, full height: right of it.
      {"left edge, full height", rect(0, 0, 300, 768), 302, 0},
      // A control that nearly fills the screen: under the word instead.
      {"whole screen", rect(1, 1, 1020, 760), 300, 318},
  };
  for (const EdgeCase &c : cases) {
    SCOPED_TRACE(c.where);
    PlacementRect placed = placeBesideControl(Dialog, c.control, word, Screen);
    EXPECT_EQ(placed, rect(c.expectedLeft, c.expectedTop, 400, 200));
  }
}

TEST(DialogPlacement, FitsBelowOnlyWhenStrictlyAboveTheScreenBottom) {
  const PlacementRect word = rect(300, 300, 40, 16);
  // 200 + 567 = 767 < 768 fits below; 200 + 568 = 768 does not.
  // Placed at 567 + 2, then clamped: 569 + 200 > 768 moves it up to 568.
  EXPECT_EQ(placeBesideControl(Dialog, rect(0, 500, 100, 67), word, Screen),
            rect(0, 568, 400, 200));
  EXPECT_EQ(placeBesideControl(Dialog, rect(0, 500, 100, 68), word, Screen),
            rect(102, 500, 400, 200));
}

TEST(DialogPlacement, ControlOffTheScreenCentresTheDialog) {
  const PlacementRect word = rect(300, 300, 40, 16);
  // (1024/2 - 401/2, 768/2 - 201/2) = (512 - 200, 384 - 100), halves toward
  // zero.
  PlacementRect odd = rect(0, 0, 401, 201);
  EXPECT_EQ(placeBesideControl(odd, rect(-5, 10, 100, 100), word, Screen),
            rect(312, 284, 401, 201));
  // No side fits and the word is off the screen too: centred.
  EXPECT_EQ(placeBesideControl(Dialog, rect(1, 1, 1020, 760),
                               rect(-1, 10, 5, 5), Screen),
            rect(312, 284, 400, 200));
}

TEST(DialogPlacement, MovesAreClampedToTheScreen) {
  EXPECT_EQ(moveDialog(Dialog, -30, -4, Screen), rect(0, 0, 400, 200));
  EXPECT_EQ(moveDialog(Dialog, 900, 700, Screen), rect(624, 568, 400, 200));
  // A dialog larger than the screen keeps its left and top at the far side.
  EXPECT_EQ(moveDialog(rect(0, 0, 1100, 800), 5, 5, Screen),
            rect(-76, -32, 1100, 800));
}

TEST(DialogPlacement, AvoidingTheWordMovesOnlyWhenACornerIsCovered) {
  const PlacementRect dialog = rect(100, 100, 400, 200);
  const PlacementRect covered = rect(150, 150, 40, 16); // inside the dialog
  const PlacementRect clear = rect(600, 150, 40, 16);   // beside it
  EXPECT_EQ(avoidWord(WordAvoidance::WhenCovered, dialog, clear, Screen),
            dialog);
  EXPECT_EQ(avoidWord(WordAvoidance::WhenCovered, dialog, covered, Screen),
            rect(150, 168, 400, 200));
  EXPECT_EQ(avoidWord(WordAvoidance::WhenCoveredKeepX, dialog, covered, Screen),
            rect(100, 168, 400, 200));
  // The word's right edge at the dialog's left: a corner on the left edge
  // of the dialog is inside it.
  EXPECT_EQ(avoidWord(WordAvoidance::WhenCovered, dialog, rect(60, 120, 40, 16),
                      Screen),
            rect(60, 138, 400, 200));
  EXPECT_EQ(avoidWord(WordAvoidance::WhenCovered, dialog,
                      rect(500, 120, 40, 16), Screen),
            dialog);
}

TEST(DialogPlacement, FollowingTheWordGoesAboveNearTheBottom) {
  const PlacementRect dialog = rect(100, 100, 400, 200);
  const PlacementRect low = rect(700, 600, 50, 16); // 200 + 616 >= 768
  EXPECT_EQ(avoidWord(WordAvoidance::Always, dialog, low, Screen),
            rect(624, 398, 400, 200));
  EXPECT_EQ(avoidWord(WordAvoidance::AlwaysKeepX, dialog, low, Screen),
            rect(100, 398, 400, 200));
  EXPECT_EQ(avoidWord(WordAvoidance::Never, dialog, low, Screen), dialog);
}

TEST(DialogPlacement, AWordWithoutAPlaceLeavesTheDialog) {
  const PlacementRect dialog = rect(100, 100, 400, 200);
  EXPECT_EQ(
      avoidWord(WordAvoidance::Always, dialog, rect(0, 150, 40, 16), Screen),
      dialog);
  EXPECT_EQ(avoidWord(WordAvoidance::WhenCovered, dialog,
                      rect(-10, 150, 40, 16), Screen),
            dialog);
}

} // namespace
