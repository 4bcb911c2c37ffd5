// What the option pages compress for their preview, without windows: the
// image page encodes the whole bitmap into memory with one encoder built
// once; the thumbnail page crops and resamples the bitmap and encodes the
// thumbnail, keeping the resampled intermediate image of the smart cut
// until the crop or the thumbnail size changes, so that a change of levels
// alone does not resample the image again. Both leave the JPEG
// reconstruction in a bitmap of the encoded image's layout.
#ifndef JPEG_CORE_PAGE_PREVIEWS_H
#define JPEG_CORE_PAGE_PREVIEWS_H

#include "jpeg/core/export-settings.h"
#include "jpeg/core/streams.h"
#include "jpeg/core/thumbnail-geometry.h"

#include <cstdint>
#include <memory>

namespace pixtune {

class ImagePreview {
public:
  // dib: the host bitmap (checked against dibBytes). Throws TVMError 1005
  // when the buffers cannot be had.
  ImagePreview(std::uint8_t *dib, std::size_t dibBytes, ProgressSink *progress,
               BlockAllocator &allocator = defaultAllocator());
  // Encodes into memory; returns the compressed size in bytes.
  std::uint32_t Compress(const CompressionParams &params);

  // Header and reconstructed pixels, in the host bitmap's layout.
  const TBitmap &Reconstruction() const { return reconstruction_; }
  const TMemoryStream &Stream() const { return stream_; }

private:
  TBitmap reconstruction_;
  TMemoryStream stream_;
  std::unique_ptr<TJpegEncoder> encoder_;
};

class ThumbnailPreview {
public:
  explicit ThumbnailPreview(ProgressSink *progress, BlockAllocator &allocator = defaultAllocator());
  // The crop, the thumbnail size or the fit options changed.
  void MarkDirty() { dirty_ = true; }
  // Makes the thumbnail of the source by the options (crop percentages are
  // rewritten as the crop rules say) and encodes it; returns the
  // compressed size.
  std::uint32_t Compress(const TBitmapView &source, PluginOptions &options,
                         const CompressionParams &params);

  const TBitmap &Thumbnail() const { return thumbnail_; }
  const TBitmap &Reconstruction() const { return reconstruction_; }
  const TMemoryStream &Stream() const { return stream_; }
  // Crop in source pixels of the last compression.
  const PixelRect &CropRect() const { return rect_; }
  // How often the whole source was resampled (the smart cut's
  // intermediate image); the benchmark and the tests count it.
  int WholeImageResamples() const { return wholeResamples_; }

private:
  ProgressSink *progress_;
  BlockAllocator &allocator_;
  TMemoryStream stream_;
  TBitmap intermediate_;
  TBitmap thumbnail_;
  TBitmap reconstruction_;
  PixelRect rect_;
  bool dirty_ = true;
  int wholeResamples_ = 0;
};

} // namespace pixtune

#endif
