// Fetching the host's image into a host bitmap.
#include "plugin-adapters/win32/host-image.h"

#include "plugin-adapters/core/host-dib.h"

namespace adapters {

HostDib &HostDib::operator=(HostDib &&other) noexcept {
  if (this != &other) {
    if (data_)
      GlobalUnlock(block_.get());
    block_ = static_cast<base::GlobalBlock &&>(other.block_);
    data_ = std::exchange(other.data_, nullptr);
  }
  return *this;
}

HostDib::~HostDib() {
  if (data_)
    GlobalUnlock(block_.get());
}

plugin::OSErr BuildHostDib(const ImageRequest &request, HostDib &dib) {
  std::uint32_t bits;
  std::int16_t planes;
  if (request.mode == plugin::plugInModeGrayScale) {
    bits = 8;
    planes = 1;
  } else if (request.mode == plugin::plugInModeRGBColor) {
    bits = 24;
    planes = 3;
  } else {
    return request.badMode;
  }
  DibLayout layout;
  if (!ComputeDibLayout(request.width, request.height, bits, layout))
    return request.width < 1 || request.height < 1 ? request.badParameters : plugin::memFullErr;
  base::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, layout.blockBytes));
  void *data = block ? GlobalLock(block.get()) : nullptr;
  if (!data)
    return plugin::memFullErr;
  HostDib locked;
  locked.adopt(static_cast<base::GlobalBlock &&>(block), data);
  auto *bytes = static_cast<std::uint8_t *>(data);
  WriteDibHeader(bytes, request.width, request.height, layout);

  *request.loPlane = 0;
  *request.hiPlane = static_cast<std::int16_t>(planes - 1);
  *request.rect = plugin::PlugInRect{0, 0, request.height, request.width};
  plugin::OSErr result = request.advanceState ? request.advanceState() : request.badParameters;
  if (result != plugin::noErr)
    return result;
  // Rows shorter than the image, or no rows at all, would be read past
  // their end.
  const auto *hostData = static_cast<const std::uint8_t *>(*request.data);
  if (!hostData || *request.rowBytes < request.width * planes)
    return request.badParameters;
  CopyHostRows(bytes, request.width, request.height, layout, hostData, *request.rowBytes);
  dib = static_cast<HostDib &&>(locked);
  return plugin::noErr;
}

} // namespace adapters
