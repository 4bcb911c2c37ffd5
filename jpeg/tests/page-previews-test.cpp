// The pages' preview compression: the image page's encoder built once,
// the thumbnail page's resampled intermediate kept across level changes.
#include "jpeg/core/page-previews.h"
#include "jpeg/core/readouts.h"
#include "jpeg/tests/jpeg-test-support.h"

#include <gtest/gtest.h>

using namespace pixtune;
using namespace jpeg_test;

namespace {

// Options that fit a thumbnail of that size, smart cut or plain crop.
PluginOptions thumbnailOptions(int smartCut, int width, int height) {
  PluginOptions options;
  options.fitThumbnail = 1;
  options.smartCut = smartCut;
  options.thumbnailWidth = width;
  options.thumbnailHeight = height;
  return options;
}

} // namespace

TEST(ImagePreview, EachPreviewEqualsAFreshEncodeWithTheSameParameters) {
  PnmImage image = makeImage(120, 90, false, 7);
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(image);
  ImagePreview preview(bitmap.Data(), bitmap.Bytes(), nullptr);
  for (int level : {16, 64, 200, 16}) {
    CompressionParams p = params(level, level);
    std::uint32_t size = preview.Compress(p);
    Encoded fresh = encode(image, p);
    ASSERT_EQ(size, fresh.file.size()) << level;
    EXPECT_TRUE(std::equal(fresh.file.begin(), fresh.file.end(), preview.Stream().Data())) << level;
    TBitmapView reconstruction(preview.Reconstruction());
    EXPECT_TRUE(std::equal(fresh.preview.begin(), fresh.preview.end(), reconstruction.Pixels()))
        << level;
    // The readouts come from the real sizes.
    Readouts r = MakeReadouts(120, 90, 24, size, 33600);
    EXPECT_STREQ(r.sizes.c_str(), (FormatSize(120 * 90 * 3) + " / " + FormatSize(size)).c_str());
  }
}

TEST(ThumbnailPreview, LevelsAloneDoNotResampleTheImage) {
  PnmImage image = makeImage(400, 300, false, 3);
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(image);
  TBitmapView view(bitmap);
  PluginOptions options = thumbnailOptions(1, 80, 80);
  ThumbnailPreview preview(nullptr);
  std::uint32_t first = preview.Compress(view, options, params(16, 16));
  EXPECT_EQ(preview.WholeImageResamples(), 1);
  TBitmapView thumbnail(preview.Thumbnail());
  EXPECT_EQ(thumbnail.Width(), 80);
  EXPECT_EQ(thumbnail.Height(), 80);
  std::uint32_t coarse = preview.Compress(view, options, params(120, 120));
  EXPECT_EQ(preview.WholeImageResamples(), 1);
  EXPECT_LT(coarse, first);
  // The same levels again give the same file as the first time.
  EXPECT_EQ(preview.Compress(view, options, params(16, 16)), first);
  EXPECT_EQ(preview.WholeImageResamples(), 1);
  options.thumbnailWidth = 60;
  preview.MarkDirty();
  preview.Compress(view, options, params(16, 16));
  EXPECT_EQ(preview.WholeImageResamples(), 2);
  EXPECT_EQ(TBitmapView(preview.Thumbnail()).Width(), 60);
}

TEST(ThumbnailPreview, PlainCropResizesTheCropEveryTime) {
  PnmImage image = makeImage(400, 300, true, 5);
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(image);
  TBitmapView view(bitmap);
  PluginOptions options = thumbnailOptions(0, 50, 40);
  options.cropLeft = 10;
  options.cropRight = 60;
  ThumbnailPreview preview(nullptr);
  preview.Compress(view, options, params(16, 16));
  TBitmapView thumbnail(preview.Thumbnail());
  EXPECT_EQ(thumbnail.Width(), 50);
  EXPECT_EQ(thumbnail.Height(), 40);
  EXPECT_EQ(thumbnail.BitsPerPixel(), 8);
  EXPECT_EQ(preview.CropRect().left, 40);
  EXPECT_EQ(preview.CropRect().right, 240);
  EXPECT_EQ(preview.WholeImageResamples(), 0);
}
