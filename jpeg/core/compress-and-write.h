// The writing step of an export: the image and/or its thumbnail encoded
// into JPEG files, as the thumbnail mode says, with every failure turned
// into an export status instead of an exception.
#ifndef JPEG_CORE_COMPRESS_AND_WRITE_H
#define JPEG_CORE_COMPRESS_AND_WRITE_H

#include "jpeg/core/block-allocator.h"
#include "jpeg/core/export-settings.h"
#include "jpeg/core/host-bitmap.h"
#include "jpeg/core/jpeg-encoder.h"
#include "jpeg/core/streams.h"

#include <string>

namespace pixtune {

// Export statuses, as EXPORT reports them.
enum ExportStatus : int {
  StatusOk = 0,
  StatusBadArguments =
      1, // a missing record, bitmap or window, or a bitmap that does not match its header
  StatusCannotCreate = 2, // a file cannot be created
  StatusWriteFailed = 3,  // memory ran out or a write failed while encoding
  StatusCancelled = 5,    // the user cancelled
  StatusException = -1,   // anything else went wrong
};

// The new file beside path into which path's next contents are written
// before they take its place; one left by an export that was killed is
// written over by the next export of the same name.
std::string StagedPath(const std::string &path);

// The status for a compressor error code.
int StatusForError(int code);

// Writes fullPath (unless the mode is thumbnail only) and the thumbnail
// beside it (unless the mode is image only). The crop that the thumbnail
// used is written back into settings. Each file is replaced whole or not
// at all (through StagedPath); a failed image write skips the thumbnail.
// dib is the host bitmap of dibBytes bytes.
int CompressAndWrite(std::uint8_t *dib, std::size_t dibBytes, ProgressSink *progress,
                     TSettings &settings, const std::string &fullPath,
                     FileApi &files = standardFileApi(),
                     BlockAllocator &allocator = defaultAllocator());

} // namespace pixtune

#endif
