// A known host hands its bitmap over top-down with red first; the export
// window works on it in the host's order and turns it back before the
// host sees it again. The turn back happens on every way out of the
// scope, a failed allocation or any other exception included, so the
// host's picture is never left upside down or with red and blue swapped.
#ifndef JPEG_CORE_HOST_PIXEL_ORDER_H
#define JPEG_CORE_HOST_PIXEL_ORDER_H

#include "jpeg/core/host-bitmap.h"

namespace pixtune {

class HostPixelOrder {
public:
  // For a known host: flips the rows and swaps red and blue now, and again
  // at the end of the scope. For any other host nothing happens.
  HostPixelOrder(const TBitmapView &image, bool knownHost);
  ~HostPixelOrder();
  HostPixelOrder(const HostPixelOrder &) = delete;
  HostPixelOrder &operator=(const HostPixelOrder &) = delete;

private:
  TBitmapView image_;
  bool active_;
};

} // namespace pixtune

#endif
