// The writing step: image, then thumbnail, each through the encoder onto a
// file stream.
#include "jpeg/core/compress-and-write.h"

#include "jpeg/core/export-names.h"
#include "jpeg/core/jpeg-errors.h"
#include "jpeg/core/thumbnail-geometry.h"

#include <algorithm>

namespace pixtune {

std::string StagedPath(const std::string &path) { return path + ".pixtune-new"; }

namespace {

// Holds a block from an allocator for one scope.
class ScopedBlock {
public:
  ScopedBlock(BlockAllocator &allocator, std::uint64_t bytes)
      : allocator_(allocator),
        block_(static_cast<std::uint8_t *>(allocateOrThrow(allocator, bytes))) {}
  ~ScopedBlock() { allocator_.release(block_); }
  ScopedBlock(const ScopedBlock &) = delete;
  ScopedBlock &operator=(const ScopedBlock &) = delete;
  std::uint8_t *get() const { return block_; }

private:
  BlockAllocator &allocator_;
  std::uint8_t *block_;
};

// One JPEG file from one bitmap, whole or not at all: written into a new
// file beside the target, flushed to the disk and only then put in the
// target's place, so that a failure, a full disk or a killed host never
// leaves a part of a file where the user's file was. On a failure the new
// file is removed and the target stays as it was. The encoder also
// rebuilds the decoded image into a buffer of the bitmap's size, as the
// preview does.
void encodeToFile(std::uint8_t *dib, std::size_t dibBytes, ProgressSink *progress,
                  const CompressionParams &params, const std::string &path, FileApi &files,
                  BlockAllocator &allocator) {
  TBitmapView image(dib, dibBytes);
  ScopedBlock reconstruction(allocator, image.ImageBytes());
  std::string staged = StagedPath(path);
  {
    TFileStream file(staged.c_str(), FileModeCreate, files);
    try {
      TJpegEncoder encoder(dib, dibBytes, nullptr, 0, file, reconstruction.get(),
                           image.ImageBytes(), progress, allocator);
      encoder.Encode(params);
      // Data the disk could not take is a failed write like any other.
      bool flushed = files.flush(file.Handle());
      if (!file.Close() || !flushed)
        throw TVMError(ErrorWriteFailed);
    } catch (...) {
      file.Close();
      files.remove(staged.c_str());
      throw;
    }
  }
  if (!files.replace(staged.c_str(), path.c_str())) {
    files.remove(staged.c_str());
    throw TStreamError(ErrorFileCreate);
  }
}

// Keeps a crop inside the image and at least one pixel wide and high, so
// that rounding very thin percentages can never give an empty thumbnail.
void keepCropNonEmpty(int width, int height, PixelRect &rect) {
  rect.left = std::clamp(rect.left, 0, width - 1);
  rect.top = std::clamp(rect.top, 0, height - 1);
  rect.right = std::clamp(rect.right, rect.left + 1, width);
  rect.bottom = std::clamp(rect.bottom, rect.top + 1, height);
}

int writeThumbnail(std::uint8_t *dib, std::size_t dibBytes, ProgressSink *progress,
                   TSettings &settings, const std::string &fullPath, FileApi &files,
                   BlockAllocator &allocator) {
  TBitmapView image(dib, dibBytes);
  PluginOptions &o = settings.options;
  CropPercentages crop{o.cropLeft, o.cropTop, o.cropRight, o.cropBottom};
  PixelRect rect;
  if (o.fitThumbnail && o.smartCut)
    SmartCropThumbnail(image.Width(), image.Height(), o.thumbnailHeight, o.thumbnailWidth, crop,
                       rect);
  else
    ComputeThumbnailCrop(image.Width(), image.Height(), o.thumbnailHeight, o.thumbnailWidth, false,
                         crop, rect);
  o.cropLeft = crop.left;
  o.cropTop = crop.top;
  o.cropRight = crop.right;
  o.cropBottom = crop.bottom;
  keepCropNonEmpty(image.Width(), image.Height(), rect);

  TBitmap cropped, thumbnail;
  try {
    cropped = CropImage(image, rect, allocator);
    thumbnail = ResizeImage(TBitmapView(cropped), o.thumbnailWidth, o.thumbnailHeight,
                            !o.fitThumbnail, progress, allocator);
  } catch (const TError &) {
    return StatusWriteFailed;
  }
  encodeToFile(thumbnail.Data(), thumbnail.Bytes(), progress, settings.thumbnailParams,
               ThumbnailPath(fullPath, settings.thumbnailExpansion, o.prefixForm != 0), files,
               allocator);
  return StatusOk;
}

} // namespace

int StatusForError(int code) {
  switch (code) {
  case ErrorBadImage:
    return StatusBadArguments;
  case ErrorFileOpen:
  case ErrorFileCreate:
    return StatusCannotCreate;
  default:
    return StatusWriteFailed;
  }
}

int CompressAndWrite(std::uint8_t *dib, std::size_t dibBytes, ProgressSink *progress,
                     TSettings &settings, const std::string &fullPath, FileApi &files,
                     BlockAllocator &allocator) {
  try {
    if (settings.options.thumbnailMode != ThumbnailModeThumbnail)
      encodeToFile(dib, dibBytes, progress, settings.imageParams, fullPath, files, allocator);
    if (settings.options.thumbnailMode == ThumbnailModeImage)
      return StatusOk;
    return writeThumbnail(dib, dibBytes, progress, settings, fullPath, files, allocator);
  } catch (const TError &error) {
    return StatusForError(error.Code());
  }
}

} // namespace pixtune
