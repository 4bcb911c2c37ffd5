// Both conversions are their own inverse.
#include "jpeg/core/host-pixel-order.h"

namespace pixtune {

HostPixelOrder::HostPixelOrder(const TBitmapView &image, bool knownHost)
    : image_(image), active_(knownHost) {
  if (!active_)
    return;
  FlipDibRows(image_);
  SwapRedBlue(image_);
}

HostPixelOrder::~HostPixelOrder() {
  if (!active_)
    return;
  SwapRedBlue(image_);
  FlipDibRows(image_);
}

} // namespace pixtune
