// Thumbnail geometry: the crop fitted to the thumbnail's proportions, the
// smart crop that grows instead, cropping and resampling.
#include "jpeg/core/thumbnail-geometry.h"
#include "jpeg/tests/jpeg-test-support.h"

#include <gtest/gtest.h>

using namespace pixtune;
using namespace jpeg_test;

TEST(ThumbnailGeometry, PlainCropShrinksToTheThumbnailRatio) {
  struct Case {
    int imageWidth, imageHeight, thumbWidth, thumbHeight;
    bool fit;
    CropPercentages in, out;
    int left, top, right, bottom;
  } cases[] = {
      // 400 x 300 into a square: narrower, 300 x 300.
      {400, 300, 100, 100, true, {0, 0, 100, 100}, {0, 0, 75, 100}, 0, 0, 300, 300},
      // Without fit the percentages stay.
      {400, 300, 100, 100, false, {0, 0, 100, 100}, {0, 0, 100, 100}, 0, 0, 400, 300},
      // A tall image into a square: lower.
      {300, 400, 100, 100, true, {0, 0, 100, 100}, {0, 0, 100, 75}, 0, 0, 300, 300},
      // Already the right ratio.
      {200, 100, 80, 40, true, {10, 10, 60, 60}, {10, 10, 60, 60}, 20, 10, 120, 60},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE("case " + std::to_string(&c - cases));
    CropPercentages crop = c.in;
    PixelRect rect;
    ComputeThumbnailCrop(c.imageWidth, c.imageHeight, c.thumbHeight, c.thumbWidth, c.fit, crop,
                         rect);
    EXPECT_DOUBLE_EQ(crop.left, c.out.left);
    EXPECT_DOUBLE_EQ(crop.top, c.out.top);
    EXPECT_DOUBLE_EQ(crop.right, c.out.right);
    EXPECT_DOUBLE_EQ(crop.bottom, c.out.bottom);
    EXPECT_EQ(rect.left, c.left);
    EXPECT_EQ(rect.top, c.top);
    EXPECT_EQ(rect.right, c.right);
    EXPECT_EQ(rect.bottom, c.bottom);
  }
}

TEST(ThumbnailGeometry, SmartCropGrowsInsideTheImage) {
  // The whole 400 x 300 image into a square: the height cannot grow, so
  // the width shrinks about the centre to 300 pixels.
  CropPercentages crop;
  PixelRect rect;
  SmartCropThumbnail(400, 300, 100, 100, crop, rect);
  EXPECT_DOUBLE_EQ(crop.left, 12.5);
  EXPECT_DOUBLE_EQ(crop.right, 87.5);
  EXPECT_DOUBLE_EQ(crop.top, 0);
  EXPECT_DOUBLE_EQ(crop.bottom, 100);
  EXPECT_EQ(rect.left, 50);
  EXPECT_EQ(rect.right, 350);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.bottom, 300);

  // A wide strip in the middle grows in height about its centre.
  crop = {25, 40, 75, 60}; // 200 x 60 pixels of 400 x 300
  SmartCropThumbnail(400, 300, 100, 100, crop, rect);
  EXPECT_EQ(rect.Width(), 200);
  EXPECT_EQ(rect.Height(), 200);
  EXPECT_EQ(rect.top, 50);

  // Near the bottom it moves up to end at the image's bottom.
  crop = {25, 90, 75, 100};
  SmartCropThumbnail(400, 300, 100, 100, crop, rect);
  EXPECT_EQ(rect.bottom, 300);
  EXPECT_EQ(rect.top, 100);

  // Equal ratios keep the crop.
  crop = {10, 10, 60, 60};
  SmartCropThumbnail(200, 100, 40, 80, crop, rect);
  EXPECT_EQ(rect.left, 20);
  EXPECT_EQ(rect.right, 120);
}

TEST(ThumbnailGeometry, FitToAspectKeepsTheImageRatioInsideTheRequest) {
  struct Case {
    int imageWidth, imageHeight, width, height, fittedWidth, fittedHeight;
  } cases[] = {{400, 300, 100, 100, 100, 75},
               {300, 400, 100, 100, 75, 100},
               {400, 300, 200, 150, 200, 150},
               {1000, 10, 100, 100, 100, 1},
               {451, 300, 100, 100, 100, 67}};
  for (const Case &c : cases) {
    int width = c.width, height = c.height;
    FitToAspect(c.imageWidth, c.imageHeight, width, height);
    EXPECT_EQ(width, c.fittedWidth) << c.imageWidth << "x" << c.imageHeight;
    EXPECT_EQ(height, c.fittedHeight) << c.imageWidth << "x" << c.imageHeight;
  }
}

TEST(ThumbnailGeometry, CropCopiesTheRectangleFromTheTop) {
  PnmImage image = makeImage(40, 30, false);
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(image);
  PixelRect rect{5, 7, 25, 17};
  TBitmap cropped = CropImage(TBitmapView(bitmap), rect);
  PnmImage result =
      pixtune_tools::pnmFromPixels(TBitmapView(cropped), TBitmapView(cropped).Pixels());
  ASSERT_EQ(result.width, 20);
  ASSERT_EQ(result.height, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x)
      for (int c = 0; c < 3; ++c)
        ASSERT_EQ(result.pixels[(static_cast<std::size_t>(y) * 20 + x) * 3 + c],
                  image.pixels[(static_cast<std::size_t>(y + 7) * 40 + x + 5) * 3 + c]);
  EXPECT_EQ(errorCode([&] {
              CropImage(TBitmapView(bitmap), PixelRect{0, 0, 41, 10});
            }),
            ErrorBadImage);
  EXPECT_EQ(errorCode([&] {
              CropImage(TBitmapView(bitmap), PixelRect{5, 5, 5, 10});
            }),
            ErrorBadImage);
}

TEST(ThumbnailGeometry, ResizeAveragesAndInterpolates) {
  // A 4 x 2 grey image of two halves shrinks to 2 x 1 of the half means.
  PnmImage image;
  image.width = 4;
  image.height = 2;
  image.channels = 1;
  image.pixels = {10, 30, 200, 100, 50, 70, 0, 100};
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(image);
  TBitmap small = ResizeImage(TBitmapView(bitmap), 2, 1, false, nullptr);
  PnmImage result = pixtune_tools::pnmFromPixels(TBitmapView(small), TBitmapView(small).Pixels());
  EXPECT_EQ(result.pixels, (jpeg_test::Bytes{40, 100}));

  // Enlarging a flat image keeps it flat; same size copies.
  PnmImage flat = makeImage(7, 5, false);
  std::fill(flat.pixels.begin(), flat.pixels.end(), 123);
  TBitmap flatBitmap = pixtune_tools::bitmapFromPnm(flat);
  TBitmap big = ResizeImage(TBitmapView(flatBitmap), 20, 13, false, nullptr);
  PnmImage bigImage = pixtune_tools::pnmFromPixels(TBitmapView(big), TBitmapView(big).Pixels());
  EXPECT_EQ(bigImage.width, 20);
  EXPECT_TRUE(std::all_of(bigImage.pixels.begin(), bigImage.pixels.end(),
                          [](std::uint8_t v) { return v == 123; }));

  PnmImage photo = makeImage(451, 300, false);
  TBitmap photoBitmap = pixtune_tools::bitmapFromPnm(photo);
  TBitmap same = ResizeImage(TBitmapView(photoBitmap), 451, 300, false, nullptr);
  EXPECT_EQ(pixtune_tools::pnmFromPixels(TBitmapView(same), TBitmapView(same).Pixels()).pixels,
            photo.pixels);

  // Keep aspect: fitted inside the request.
  TBitmap thumb = ResizeImage(TBitmapView(photoBitmap), 100, 100, true, nullptr);
  EXPECT_EQ(TBitmapView(thumb).Width(), 100);
  EXPECT_EQ(TBitmapView(thumb).Height(), 67);

  FailingAllocator failing(2);
  EXPECT_EQ(
      errorCode([&] { ResizeImage(TBitmapView(photoBitmap), 50, 50, false, nullptr, failing); }),
      ErrorOutOfMemory);
}
