// Crop geometry, cropping and the separable area resampler.
#include "jpeg/core/thumbnail-geometry.h"

#include "jpeg/core/jpeg-errors.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace pixtune {

namespace {

// "Rounded": add 0.55 and truncate, so that values just under a half
// already round up.
int roundedSize(double value) { return static_cast<int>(value + 0.55); }

int roundedEdge(double value) { return static_cast<int>(value + 0.5); }

void percentToPixels(int width, int height, const CropPercentages &crop, double &left, double &top,
                     double &right, double &bottom) {
  left = width * crop.left * 0.01;
  right = width * crop.right * 0.01;
  top = height * crop.top * 0.01;
  bottom = height * crop.bottom * 0.01;
}

// Moves [low, high) inside [0, limit) without changing its length where it
// fits, then clamps it at 0.
void moveInside(double &low, double &high, double limit) {
  if (high > limit) {
    low -= high - limit;
    high = limit;
  }
  if (low < 0)
    low = 0;
}

} // namespace

void FitToAspect(int imageWidth, int imageHeight, int &width, int &height) {
  if (imageWidth <= 0 || imageHeight <= 0 || width <= 0 || height <= 0)
    return;
  // Compare the ratios exactly by cross-multiplication.
  bool imageNarrower =
      static_cast<long long>(imageWidth) * height < static_cast<long long>(width) * imageHeight;
  if (imageNarrower) {
    int m = roundedSize(imageWidth / (static_cast<double>(imageHeight) / height));
    if (width < m)
      height = roundedSize(imageHeight / (static_cast<double>(imageWidth) / width));
    else
      width = m;
  } else {
    int m = roundedSize(imageHeight / (static_cast<double>(imageWidth) / width));
    if (height < m)
      width = roundedSize(imageWidth / (static_cast<double>(imageHeight) / height));
    else
      height = m;
  }
  width = std::max(width, 1);
  height = std::max(height, 1);
}

void ComputeThumbnailCrop(int imageWidth, int imageHeight, int thumbnailHeight, int thumbnailWidth,
                          bool fit, CropPercentages &crop, PixelRect &rect) {
  double left, top, right, bottom;
  percentToPixels(imageWidth, imageHeight, crop, left, top, right, bottom);
  if (fit && thumbnailWidth > 0 && right > left && bottom > top) {
    double target = static_cast<double>(thumbnailHeight) / thumbnailWidth;
    double current = (bottom - top) / (right - left);
    if (target > current) {
      right = left + (bottom - top) / target;
      crop.right = right * 100.0 / imageWidth;
    } else if (target < current) {
      bottom = top + (right - left) * target;
      crop.bottom = bottom * 100.0 / imageHeight;
    }
  }
  rect.left = roundedEdge(left);
  rect.top = roundedEdge(top);
  rect.right = roundedEdge(right);
  rect.bottom = roundedEdge(bottom);
}

void SmartCropThumbnail(int imageWidth, int imageHeight, int thumbnailHeight, int thumbnailWidth,
                        CropPercentages &crop, PixelRect &rect) {
  double left, top, right, bottom;
  percentToPixels(imageWidth, imageHeight, crop, left, top, right, bottom);
  if (thumbnailWidth <= 0 || thumbnailHeight <= 0 || right <= left || bottom <= top) {
    ComputeThumbnailCrop(imageWidth, imageHeight, thumbnailHeight, thumbnailWidth, false, crop,
                         rect);
    return;
  }
  double target = static_cast<double>(thumbnailHeight) / thumbnailWidth;
  double width = right - left, height = bottom - top;
  if (target > height / width) {
    double grow = (target * width - height) / 2;
    top -= grow;
    bottom += grow;
    moveInside(top, bottom, imageHeight);
    if (bottom - top > imageHeight || top <= 0) {
      top = 0;
      bottom = std::min<double>(bottom, imageHeight);
      double adjust = ((bottom - top) / target - width) / 2;
      left -= adjust;
      right += adjust;
      moveInside(left, right, imageWidth);
    }
  } else if (target < height / width) {
    double grow = (height / target - width) / 2;
    left -= grow;
    right += grow;
    moveInside(left, right, imageWidth);
    if (right - left > imageWidth || left <= 0) {
      left = 0;
      right = std::min<double>(right, imageWidth);
      double adjust = ((right - left) * target - height) / 2;
      top -= adjust;
      bottom += adjust;
      moveInside(top, bottom, imageHeight);
    }
  }
  crop.left = left * 100.0 / imageWidth;
  crop.right = right * 100.0 / imageWidth;
  crop.top = top * 100.0 / imageHeight;
  crop.bottom = bottom * 100.0 / imageHeight;
  ComputeThumbnailCrop(imageWidth, imageHeight, thumbnailHeight, thumbnailWidth, true, crop, rect);
}

TBitmap CropImage(const TBitmapView &image, const PixelRect &rect, BlockAllocator &allocator) {
  if (rect.left < 0 || rect.top < 0 || rect.right > image.Width() || rect.bottom > image.Height() ||
      rect.Width() < 1 || rect.Height() < 1)
    throw TVMError(ErrorBadImage);
  TBitmap result =
      NewBitmap(rect.Width(), rect.Height(), image.BitsPerPixel(), image.PaletteEntries(),
                image.XResolution(), image.XResolution(), allocator);
  TBitmapView target(result);
  std::memcpy(target.Header() + BitmapHeaderSize, image.Palette(),
              4u * static_cast<unsigned>(image.PaletteEntries()));
  int bytesPerPixel = image.BitsPerPixel() / 8;
  for (int y = rect.top; y < rect.bottom; ++y)
    std::memcpy(target.TopRow(y - rect.top), image.TopRow(y) + rect.left * bytesPerPixel,
                static_cast<std::size_t>(rect.Width() * bytesPerPixel));
  return result;
}

namespace {

// One line of samples, stride apart, resampled to outLength samples.
void resampleLine(const std::uint8_t *in, int inLength, std::ptrdiff_t inStride, std::uint8_t *out,
                  int outLength, std::ptrdiff_t outStride) {
  if (inLength == outLength) {
    for (int i = 0; i < outLength; ++i)
      out[i * outStride] = in[i * inStride];
    return;
  }
  double scale = static_cast<double>(inLength) / outLength;
  for (int i = 0; i < outLength; ++i) {
    double value;
    if (scale > 1) {
      // Area average: every source sample weighted by the part of it that
      // the output sample's footprint covers.
      double start = i * scale, end = start + scale, sum = 0;
      for (int j = static_cast<int>(start); j < inLength && j < end; ++j) {
        double covered = std::min<double>(end, j + 1) - std::max<double>(start, j);
        sum += covered * in[j * inStride];
      }
      value = sum / scale;
    } else {
      double position = std::clamp((i + 0.5) * scale - 0.5, 0.0, static_cast<double>(inLength - 1));
      int j = static_cast<int>(position);
      double fraction = position - j;
      int next = std::min(j + 1, inLength - 1);
      value = in[j * inStride] * (1 - fraction) + in[next * inStride] * fraction;
    }
    out[i * outStride] = static_cast<std::uint8_t>(std::min(value, 255.0) + 0.5);
  }
}

} // namespace

TBitmap ResizeImage(const TBitmapView &image, int width, int height, bool keepAspect,
                    ProgressSink *progress, BlockAllocator &allocator) {
  if (keepAspect)
    FitToAspect(image.Width(), image.Height(), width, height);
  TBitmap result = NewBitmap(width, height, image.BitsPerPixel(), image.PaletteEntries(),
                             image.XResolution(), image.YResolution(), allocator);
  TBitmapView target(result);
  std::memcpy(target.Header() + BitmapHeaderSize, image.Palette(),
              4u * static_cast<unsigned>(image.PaletteEntries()));
  int channels = image.BitsPerPixel() / 8;
  std::uint64_t bufferBytes = 0;
  if (!multiplySize(static_cast<std::uint64_t>(width) * channels,
                    static_cast<std::uint64_t>(image.Height()), bufferBytes))
    throw TVMError(ErrorOutOfMemory);
  auto *buffer = static_cast<std::uint8_t *>(allocateOrThrow(allocator, bufferBytes));
  std::ptrdiff_t bufferStride = static_cast<std::ptrdiff_t>(width) * channels;

  long rows = image.Height(), columns = static_cast<long>(width) * channels;
  int split = static_cast<int>(static_cast<double>(rows) / (columns + rows) * 100 + 0.55);
  if (progress)
    progress->begin(0, split, rows);
  for (int y = 0; y < image.Height(); ++y) {
    for (int c = 0; c < channels; ++c)
      resampleLine(image.TopRow(y) + c, image.Width(), channels, buffer + y * bufferStride + c,
                   width, channels);
    if (progress)
      progress->tick();
  }
  if (progress)
    progress->begin(split, 100, columns);
  for (int x = 0; x < width * channels; ++x) {
    // The target is bottom-up: walk its rows from the top with a negative
    // stride.
    std::ptrdiff_t targetStride = -static_cast<std::ptrdiff_t>(target.Stride());
    resampleLine(buffer + x, image.Height(), bufferStride, target.TopRow(0) + x, height,
                 targetStride);
    if (progress)
      progress->tick();
  }
  allocator.release(buffer);
  if (progress)
    progress->end();
  return result;
}

} // namespace pixtune
