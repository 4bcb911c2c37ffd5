// Colours resolved to what is drawn.
#include "platform/components/win32/colors.h"

namespace components {

COLORREF ColorToRGB(TColor color) {
  if (color & clSystemColor)
    return GetSysColor(static_cast<int>(color & 0xFF));
  return color;
}

} // namespace components
