// The host's bitmap comes back byte for byte, whatever ends the preview.
#include "jpeg/core/host-pixel-order.h"
#include "jpeg/core/page-previews.h"
#include "jpeg/tests/jpeg-test-support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace pixtune;
using namespace jpeg_test;

namespace {
std::vector<std::uint8_t> bytesOf(const TBitmap &bitmap) {
  return std::vector<std::uint8_t>(bitmap.Data(), bitmap.Data() + bitmap.Bytes());
}
} // namespace

TEST(HostPixelOrder, KnownHostIsTurnedForTheScopeOnly) {
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(makeImage(33, 17, false, 9));
  std::vector<std::uint8_t> before = bytesOf(bitmap);
  TBitmapView view(bitmap);
  {
    HostPixelOrder order(view, true);
    EXPECT_NE(bytesOf(bitmap), before);
    // The first stored row now holds what was the last one, red first.
    std::size_t last = static_cast<std::size_t>(view.Pixels() - bitmap.Data()) +
                       static_cast<std::size_t>(view.Height() - 1) * view.Stride();
    EXPECT_EQ(view.Pixels()[0], before[last + 2]);
    EXPECT_EQ(view.Pixels()[2], before[last]);
  }
  EXPECT_EQ(bytesOf(bitmap), before);
  {
    HostPixelOrder order(view, false);
    EXPECT_EQ(bytesOf(bitmap), before);
  }
  EXPECT_EQ(bytesOf(bitmap), before);
}

TEST(HostPixelOrder, BitmapIsRestoredAfterEveryAllocationFailureOfAPreview) {
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(makeImage(200, 150, false, 4));
  std::vector<std::uint8_t> before = bytesOf(bitmap);
  TBitmapView view(bitmap);
  int failures = 0;
  // Fail the first, second, ... allocation of a thumbnail and an image
  // preview until one runs through.
  for (int failFrom = 1; failFrom < 40; ++failFrom) {
    FailingAllocator allocator(failFrom);
    int code = errorCode([&] {
      HostPixelOrder order(view, true);
      PluginOptions options;
      options.fitThumbnail = 1;
      options.thumbnailWidth = 64;
      options.thumbnailHeight = 48;
      ThumbnailPreview thumbnail(nullptr, allocator);
      thumbnail.Compress(view, options, params(32, 32));
      ImagePreview image(bitmap.Data(), bitmap.Bytes(), nullptr, allocator);
      image.Compress(params(32, 32));
    });
    ASSERT_EQ(bytesOf(bitmap), before) << "failing from allocation " << failFrom;
    if (code == 0)
      break;
    EXPECT_TRUE(code == ErrorOutOfMemory || code == ErrorStreamGrow) << code;
    ++failures;
  }
  EXPECT_GT(failures, 3);
}
