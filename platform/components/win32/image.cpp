// Images painted by their parent.
#include "platform/components/win32/image.h"

namespace components {

TImage::TImage(TComponent *owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 105, 105);
  picture_.OnChange = [this](TObject *) { Invalidate(); };
}

void TImage::Paint() {
  // What the picture does not cover shows the parent's background, as
  // painted before the windowless controls.
  if (const TBitmap *graphic = picture_.Graphic())
    graphic->Draw(Canvas().Handle(), 0, 0);
}

} // namespace components
