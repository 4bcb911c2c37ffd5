// The crop view's hit test and its drag and key rules.
#include "jpeg/core/crop-view-model.h"

#include <gtest/gtest.h>

using namespace pixtune;

TEST(CropHitTest, ZonesWithTheirTolerance) {
  PixelRect r{10, 10, 50, 40};
  struct Case {
    int x, y;
    CropZone zone;
  } cases[] = {
      {10, 10, ZoneTopLeft},
      {8, 12, ZoneTopLeft},
      {50, 40, ZoneBottomRight},
      {50, 10, ZoneTopRight},
      {10, 40, ZoneBottomLeft},
      {11, 25, ZoneLeft},
      {49, 25, ZoneRight},
      {30, 9, ZoneTop},
      {30, 41, ZoneBottom},
      {30, 25, ZoneInside},
      {60, 60, ZoneOutside},
      {7, 25, ZoneOutside},
      {52, 42, ZoneBottomRight},
      {53, 42, ZoneOutside},
      // On a corner the corner wins over the edge band that overlaps it.
      {12, 12, ZoneTopLeft},
      {48, 12, ZoneTopRight},
  };
  for (const Case &c : cases)
    EXPECT_EQ(HitTestCrop(r, c.x, c.y), c.zone) << c.x << "," << c.y;
}

TEST(CropHitTest, NarrowRectangleHasNoTopOrBottomEdge) {
  PixelRect r{10, 10, 13, 40};
  for (int x = 5; x <= 18; ++x)
    for (int y = 5; y <= 45; ++y) {
      CropZone zone = HitTestCrop(r, x, y);
      EXPECT_NE(zone, ZoneTop) << x << "," << y;
      EXPECT_NE(zone, ZoneBottom) << x << "," << y;
    }
}

namespace {
// A 400 x 300 source shown at 200 x 150 inside a 204 x 154 control.
struct View {
  CropPercentages crop;
  std::uint16_t thumbWidth = 100, thumbHeight = 100;
  CropViewModel model{400, 300, crop, thumbWidth, thumbHeight};
  explicit View(CropPercentages start, bool fit = false) : crop(start) {
    model.SetPreview(200, 150, PixelRect{2, 2, 202, 152});
    model.SetFit(fit);
    model.Update(fit);
  }
};
} // namespace

TEST(CropView, RectangleIsInControlPixels) {
  View v({0, 0, 100, 100});
  EXPECT_EQ(v.model.CropRect().left, 2);
  EXPECT_EQ(v.model.CropRect().top, 2);
  EXPECT_EQ(v.model.CropRect().right, 202);
  EXPECT_EQ(v.model.CropRect().bottom, 152);
  View half({25, 50, 75, 100});
  EXPECT_EQ(half.model.CropRect().left, 2 + 50);
  EXPECT_EQ(half.model.CropRect().top, 2 + 75);
}

TEST(CropView, ShiftRightWithRepeatThreeMovesTheRightEdgeThreePercent) {
  View v({10, 10, 50, 50});
  int change = v.model.Key(ArrowKey::Right, 3, true);
  EXPECT_DOUBLE_EQ(v.crop.left, 10);
  EXPECT_DOUBLE_EQ(v.crop.right, 53);
  EXPECT_DOUBLE_EQ(v.crop.top, 10);
  EXPECT_DOUBLE_EQ(v.crop.bottom, 50);
  EXPECT_EQ(change, 1);
  EXPECT_EQ(v.model.Zone(), ZoneRight);
  change = v.model.Key(ArrowKey::Down, 2, true);
  EXPECT_DOUBLE_EQ(v.crop.bottom, 52);
  EXPECT_EQ(v.model.Zone(), ZoneBottom);
}

TEST(CropView, ArrowsWithoutShiftMoveTheWholeCrop) {
  View v({10, 10, 50, 50});
  EXPECT_EQ(v.model.Key(ArrowKey::Right, 3, false), 0);
  EXPECT_DOUBLE_EQ(v.crop.left, 13);
  EXPECT_DOUBLE_EQ(v.crop.right, 53);
  EXPECT_EQ(v.model.Key(ArrowKey::Up, 4, false), 0);
  EXPECT_DOUBLE_EQ(v.crop.top, 6);
  EXPECT_DOUBLE_EQ(v.crop.bottom, 46);
  EXPECT_EQ(v.model.Zone(), ZoneInside);
}

TEST(CropView, PushPastTheEdgeShiftsBackWhole) {
  View v({50, 0, 90, 60});
  v.model.Key(ArrowKey::Right, 20, false);
  EXPECT_DOUBLE_EQ(v.crop.left, 60);
  EXPECT_DOUBLE_EQ(v.crop.right, 100);
  v.model.Key(ArrowKey::Up, 7, false);
  EXPECT_DOUBLE_EQ(v.crop.top, 0);
  EXPECT_DOUBLE_EQ(v.crop.bottom, 60);
}

TEST(CropView, FullWidthCropMovedSidewaysStaysZeroToHundred) {
  View v({0, 0, 100, 100});
  EXPECT_EQ(v.model.Key(ArrowKey::Right, 5, false), 0);
  EXPECT_DOUBLE_EQ(v.crop.left, 0);
  EXPECT_DOUBLE_EQ(v.crop.right, 100);
  v.model.Key(ArrowKey::Left, 5, false);
  EXPECT_DOUBLE_EQ(v.crop.left, 0);
  EXPECT_DOUBLE_EQ(v.crop.right, 100);
}

TEST(CropView, WithoutFitNothingNarrowerThanSixteenSourcePixels) {
  // 400 pixels wide: 16 pixels are 4 percent.
  View v({10, 10, 50, 50});
  v.model.Key(ArrowKey::Left, 38, true); // right edge to 12 percent = 8 pixels
  EXPECT_DOUBLE_EQ(v.crop.left, 10);
  EXPECT_DOUBLE_EQ(v.crop.right, 14);
  // Dragging the left edge past it keeps the right edge and moves the left.
  View w({10, 10, 50, 50});
  w.model.SetFit(false);
  int left = w.model.CropRect().left,
      mid = (w.model.CropRect().top + w.model.CropRect().bottom) / 2;
  ASSERT_TRUE(w.model.PointerDown(left, mid));
  EXPECT_EQ(w.model.Zone(), ZoneLeft);
  int change = 0;
  ASSERT_TRUE(w.model.PointerMove(left + 39, mid, change));
  EXPECT_EQ(change, 1);
  EXPECT_DOUBLE_EQ(w.crop.right, 50);
  EXPECT_DOUBLE_EQ(w.crop.left, 46);
  // 300 pixels high: 16 pixels are 5.33 percent.
  View h({10, 10, 50, 50});
  h.model.Key(ArrowKey::Up, 39, true);
  EXPECT_NEAR(h.crop.bottom - h.crop.top, 1600.0 / 300, 1e-9);
}

TEST(CropView, DragOutsideTheCropStartsNothing) {
  View v({25, 25, 50, 50});
  EXPECT_FALSE(v.model.PointerDown(200, 150));
  EXPECT_FALSE(v.model.Dragging());
  int change = -1;
  EXPECT_FALSE(v.model.PointerMove(100, 100, change));
  EXPECT_EQ(change, -1);
}

TEST(CropView, FitKeepsTheThumbnailProportions) {
  // A square thumbnail of a 400 x 300 source: the crop stays square in
  // source pixels whichever corner or edge moves.
  View v({0, 0, 50, 50 * 400.0 / 300}, true);
  const PixelRect &r = v.model.CropRect();
  ASSERT_TRUE(v.model.PointerDown(r.right, r.bottom));
  EXPECT_EQ(v.model.Zone(), ZoneBottomRight);
  int change = 0;
  v.model.PointerMove(r.right + 10, r.bottom + 5, change);
  double widthPixels = (v.crop.right - v.crop.left) * 4;
  double heightPixels = (v.crop.bottom - v.crop.top) * 3;
  EXPECT_NEAR(widthPixels, heightPixels, 1e-6);
  v.model.PointerUp(0, 0);
  v.model.Key(ArrowKey::Left, 5, true);
  EXPECT_NEAR((v.crop.right - v.crop.left) * 4, (v.crop.bottom - v.crop.top) * 3, 1e-6);
  // The minimum is the thumbnail's own size: 100 of 400 pixels.
  View small({0, 0, 50, 50 * 400.0 / 300}, true);
  small.model.Key(ArrowKey::Left, 45, true);
  EXPECT_NEAR(small.crop.right - small.crop.left, 25, 1e-6);
  EXPECT_NEAR((small.crop.bottom - small.crop.top) * 3, 100, 1e-6);
}
