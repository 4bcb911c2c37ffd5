// An image: a windowless control that shows a picture at its top left
// corner and repaints when the picture changes.
#ifndef COMPONENTS_WIN32_IMAGE_H
#define COMPONENTS_WIN32_IMAGE_H

#include "platform/components/win32/controls.h"
#include "platform/components/win32/picture.h"

namespace components {

class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent *owner);
  TPicture &Picture() { return picture_; }

protected:
  void Paint() override;

private:
  TPicture picture_;
};

} // namespace components

#endif
