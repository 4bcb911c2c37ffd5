// Preview compression of the two pages.
#include "jpeg/core/page-previews.h"

#include "jpeg/core/jpeg-errors.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pixtune {

namespace {

TBitmap copyOf(const std::uint8_t *block, std::size_t bytes, BlockAllocator &allocator) {
  auto *copy = static_cast<std::uint8_t *>(allocator.allocate(bytes));
  if (!copy)
    throw TVMError(ErrorOutOfMemory);
  std::memcpy(copy, block, bytes);
  return TBitmap(copy, bytes, allocator);
}

std::size_t pixelOffset(const TBitmapView &view) {
  return static_cast<std::size_t>(view.Pixels() - view.Header());
}

// The smart cut: the size to which the whole image is resampled so that
// the crop becomes exactly the thumbnail's size, and the crop in that
// resampled image.
void MapPreviewToImage(int imageWidth, int imageHeight, const PixelRect &crop, int thumbWidth,
                       int thumbHeight, int &resampledWidth, int &resampledHeight, PixelRect &cut) {
  double sx = double(thumbWidth) / std::max(crop.Width(), 1);
  double sy = double(thumbHeight) / std::max(crop.Height(), 1);
  resampledWidth = std::max(thumbWidth, int(std::lround(imageWidth * sx)));
  resampledHeight = std::max(thumbHeight, int(std::lround(imageHeight * sy)));
  cut.left = std::min(int(std::lround(crop.left * sx)), resampledWidth - thumbWidth);
  cut.top = std::min(int(std::lround(crop.top * sy)), resampledHeight - thumbHeight);
  cut.right = cut.left + thumbWidth;
  cut.bottom = cut.top + thumbHeight;
}

} // namespace

ImagePreview::ImagePreview(std::uint8_t *dib, std::size_t dibBytes, ProgressSink *progress,
                           BlockAllocator &allocator)
    : stream_(8192, 0, allocator) {
  TBitmapView source(dib, dibBytes);
  std::size_t bytes = pixelOffset(source) + source.ImageBytes();
  reconstruction_ = copyOf(dib, bytes, allocator);
  TBitmapView copy(reconstruction_);
  encoder_.reset(new TJpegEncoder(dib, dibBytes, nullptr, 0, stream_, copy.Pixels(),
                                  copy.ImageBytes(), progress, allocator));
}

std::uint32_t ImagePreview::Compress(const CompressionParams &params) {
  stream_.Rewind();
  encoder_->Encode(params);
  return static_cast<std::uint32_t>(stream_.Size());
}

ThumbnailPreview::ThumbnailPreview(ProgressSink *progress, BlockAllocator &allocator)
    : progress_(progress), allocator_(allocator), stream_(8192, 0, allocator) {}

std::uint32_t ThumbnailPreview::Compress(const TBitmapView &source, PluginOptions &options,
                                         const CompressionParams &params) {
  CropPercentages crop{options.cropLeft, options.cropTop, options.cropRight, options.cropBottom};
  int thumbWidth = std::max<int>(options.thumbnailWidth, 1);
  int thumbHeight = std::max<int>(options.thumbnailHeight, 1);
  if (options.fitThumbnail && options.smartCut) {
    if (dirty_) {
      intermediate_ = TBitmap();
      dirty_ = false;
    }
    thumbnail_ = TBitmap();
    SmartCropThumbnail(source.Width(), source.Height(), thumbHeight, thumbWidth, crop, rect_);
    int width = 0, height = 0;
    PixelRect cut;
    MapPreviewToImage(source.Width(), source.Height(), rect_, thumbWidth, thumbHeight, width,
                      height, cut);
    if (!intermediate_) {
      intermediate_ = ResizeImage(source, width, height, false, progress_, allocator_);
      ++wholeResamples_;
    }
    TBitmapView intermediate(intermediate_);
    if (intermediate.Width() != width || intermediate.Height() != height) {
      // The source changed size under a clean flag: start over.
      intermediate_ = ResizeImage(source, width, height, false, progress_, allocator_);
      ++wholeResamples_;
    }
    thumbnail_ = CropImage(TBitmapView(intermediate_), cut, allocator_);
  } else {
    intermediate_ = TBitmap();
    thumbnail_ = TBitmap();
    ComputeThumbnailCrop(source.Width(), source.Height(), thumbHeight, thumbWidth, false, crop,
                         rect_);
    intermediate_ = CropImage(source, rect_, allocator_);
    thumbnail_ = ResizeImage(TBitmapView(intermediate_), thumbWidth, thumbHeight,
                             !options.fitThumbnail, progress_, allocator_);
  }
  options.cropLeft = crop.left;
  options.cropTop = crop.top;
  options.cropRight = crop.right;
  options.cropBottom = crop.bottom;

  TBitmapView thumbnail(thumbnail_);
  reconstruction_ =
      copyOf(thumbnail.Header(), pixelOffset(thumbnail) + thumbnail.ImageBytes(), allocator_);
  TBitmapView copy(reconstruction_);
  stream_.Rewind();
  TJpegEncoder encoder(thumbnail_.Data(), thumbnail_.Bytes(), nullptr, 0, stream_, copy.Pixels(),
                       copy.ImageBytes(), progress_, allocator_);
  encoder.Encode(params);
  return static_cast<std::uint32_t>(stream_.Size());
}

} // namespace pixtune
