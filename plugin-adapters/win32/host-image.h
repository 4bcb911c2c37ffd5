// The host's image fetched through advance-state into a locked host
// bitmap in movable global memory.
#ifndef PLUGIN_ADAPTERS_WIN32_HOST_IMAGE_H
#define PLUGIN_ADAPTERS_WIN32_HOST_IMAGE_H

#include "platform/base/win32/global-lock.h"
#include "platform/plugin-host/core/plugin-interface.h"

#include <utility>

namespace adapters {

// Where one kind of record keeps its request and the data it gets back.
struct ImageRequest {
  std::int32_t width, height;
  std::int16_t mode;
  plugin::PlugInRect *rect;
  std::int16_t *loPlane, *hiPlane;
  const void *const *data;
  const std::int32_t *rowBytes;
  plugin::AdvanceStateProc advanceState;
  plugin::OSErr badMode;       // the adapter's "mode not supported" code
  plugin::OSErr badParameters; // the adapter's code for a host answer it cannot use
};

// A locked bitmap block; unlocked and freed with its owner.
class HostDib {
public:
  HostDib() = default;
  HostDib(HostDib &&other) noexcept
      : block_(static_cast<base::GlobalBlock &&>(other.block_)),
        data_(std::exchange(other.data_, nullptr)) {}
  HostDib &operator=(HostDib &&other) noexcept;
  HostDib(const HostDib &) = delete;
  HostDib &operator=(const HostDib &) = delete;
  ~HostDib();
  void *data() const { return data_; }
  void adopt(base::GlobalBlock block, void *data) {
    block_ = static_cast<base::GlobalBlock &&>(block);
    data_ = data;
  }

private:
  base::GlobalBlock block_;
  void *data_ = nullptr;
};

// Builds the bitmap from the whole image in one request; returns noErr or
// the host result code, leaving dib empty on failure.
plugin::OSErr BuildHostDib(const ImageRequest &request, HostDib &dib);

} // namespace adapters

#endif
