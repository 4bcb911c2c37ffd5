// Thumbnails: the crop rectangle from the stored crop percentages, fitted
// to the thumbnail's proportions, cropping and resampling.
#ifndef JPEG_CORE_THUMBNAIL_GEOMETRY_H
#define JPEG_CORE_THUMBNAIL_GEOMETRY_H

#include "jpeg/core/block-allocator.h"
#include "jpeg/core/host-bitmap.h"
#include "jpeg/core/jpeg-encoder.h"

namespace pixtune {

// Percent of the image's width (left, right) and height (top, bottom).
struct CropPercentages {
  double left = 0, top = 0, right = 100, bottom = 100;
};

// Pixels; top counted from the top of the picture; right and bottom
// exclusive.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Shrinks one of the requested sizes so that the result has the image's
// aspect ratio (the largest such size inside the request).
void FitToAspect(int imageWidth, int imageHeight, int &width, int &height);

// The crop in pixels. With fit the crop shrinks (narrower or lower) to the
// thumbnail's ratio and the percentage it moved is rewritten.
void ComputeThumbnailCrop(int imageWidth, int imageHeight, int thumbnailHeight, int thumbnailWidth,
                          bool fit, CropPercentages &crop, PixelRect &rect);

// Like ComputeThumbnailCrop with fit, but the crop grows about its centre
// to the thumbnail's ratio, staying inside the image; all four percentages
// are rewritten so that the settings keep the grown crop.
void SmartCropThumbnail(int imageWidth, int imageHeight, int thumbnailHeight, int thumbnailWidth,
                        CropPercentages &crop, PixelRect &rect);

// A new bitmap holding rect of the image, same depth and palette. Throws
// TVMError 1005 for memory, 1006 for a rectangle outside the image.
TBitmap CropImage(const TBitmapView &image, const PixelRect &rect,
                  BlockAllocator &allocator = defaultAllocator());

// A new bitmap of the image resampled to width x height (first fitted to
// the image's aspect ratio with keepAspect), same depth and palette.
// Shrinking averages the covered source samples by area; enlarging
// interpolates linearly. Throws TVMError 1005 for memory.
TBitmap ResizeImage(const TBitmapView &image, int width, int height, bool keepAspect,
                    ProgressSink *progress, BlockAllocator &allocator = defaultAllocator());

} // namespace pixtune

#endif
