// The compressor's platform services in Pixtune.dll: files through the
// Win32 file calls and large blocks from movable global memory.
#ifndef JPEG_WIN32_WINDOWS_PLATFORM_H
#define JPEG_WIN32_WINDOWS_PLATFORM_H

#include "jpeg/core/block-allocator.h"
#include "jpeg/core/streams.h"

namespace pixtune {

FileApi &windowsFileApi();
BlockAllocator &globalMemoryAllocator();

} // namespace pixtune

#endif
