// Picture placement in the preview pane and the readout bar's segments.
#include "jpeg/core/pane-geometry.h"

#include <gtest/gtest.h>

using namespace pixtune;

TEST(PaneGeometry, SmallPictureIsCentredAndCannotBePanned) {
  int sx = 40, sy = -9;
  PicturePlacement p = PlacePicture(PixelRect{0, 0, 300, 200}, 100, 50, sx, sy);
  EXPECT_EQ(p.shown.left, 100);
  EXPECT_EQ(p.shown.right, 200);
  EXPECT_EQ(p.shown.top, 75);
  EXPECT_EQ(p.shown.bottom, 125);
  EXPECT_EQ(sx, 0);
  EXPECT_EQ(sy, 0);
  EXPECT_EQ(p.sourceLeft, 0);
}

TEST(PaneGeometry, LargePicturePansOnlyAsFarAsItsEdges) {
  struct Case {
    int scrollX, scrollY, clampedX, clampedY;
  } cases[] = {{0, 0, 0, 0}, {50, 20, 50, 20}, {-5, -1, 0, 0}, {900, 900, 700, 400}};
  for (const Case &c : cases) {
    int sx = c.scrollX, sy = c.scrollY;
    PicturePlacement p = PlacePicture(PixelRect{0, 0, 300, 200}, 1000, 600, sx, sy);
    EXPECT_EQ(sx, c.clampedX);
    EXPECT_EQ(sy, c.clampedY);
    EXPECT_EQ(p.shown.left, 0);
    EXPECT_EQ(p.shown.right, 300);
    EXPECT_EQ(p.sourceLeft, c.clampedX);
    EXPECT_EQ(p.sourceTop, c.clampedY);
  }
  // Wide but low: panned across, centred down.
  int sx = 10, sy = 10;
  PicturePlacement p = PlacePicture(PixelRect{0, 0, 300, 200}, 400, 100, sx, sy);
  EXPECT_EQ(sx, 10);
  EXPECT_EQ(sy, 0);
  EXPECT_EQ(p.shown.top, 50);
}

TEST(PaneGeometry, CentringOffsetsAreHalfTheExcess) {
  int sx = 0, sy = 0;
  CentringOffsets(1000, 600, 300, 200, sx, sy);
  EXPECT_EQ(sx, 350);
  EXPECT_EQ(sy, 200);
  CentringOffsets(100, 50, 300, 200, sx, sy);
  EXPECT_EQ(sx, -100);
  EXPECT_EQ(sy, -75);
}

TEST(PaneGeometry, ReadoutSegmentsShareTheWidthByTextLength) {
  // "29.29 Kb / 2.92 Kb", "10", "700 ms @ 33600bps": 18, 2 and 17
  // characters, so shares of 21, 5 and 20 out of 46.
  const std::size_t lengths[3] = {18, 2, 17};
  int widths[3] = {};
  ReadoutSegmentWidths(460, lengths, widths);
  EXPECT_EQ(widths[0], 210);
  EXPECT_EQ(widths[1], 50);
  EXPECT_EQ(widths[2], 200);
  ReadoutSegmentWidths(300, lengths, widths);
  EXPECT_EQ(widths[0], 137); // 136.96
  EXPECT_EQ(widths[1], 33);  // 32.6
  EXPECT_EQ(widths[2], 130); // 130.43
}
