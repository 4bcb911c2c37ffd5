// The crop view of the thumbnail page without its window: the source image
// scaled into the control, the crop rectangle drawn over it, and the rules
// by which the pointer and the arrow keys move and resize the crop.
#ifndef JPEG_CORE_CROP_VIEW_MODEL_H
#define JPEG_CORE_CROP_VIEW_MODEL_H

#include "jpeg/core/thumbnail-geometry.h"

#include <cstdint>

namespace pixtune {

// Where a point lies relative to the crop rectangle (2-pixel tolerance).
enum CropZone : int {
  ZoneOutside = 0,
  ZoneTopLeft = 1,
  ZoneTopRight = 2,
  ZoneBottomLeft = 3,
  ZoneBottomRight = 4,
  ZoneLeft = 5,
  ZoneRight = 6,
  ZoneTop = 7,
  ZoneBottom = 8,
  ZoneInside = 9,
};

CropZone HitTestCrop(const PixelRect &rect, int x, int y);

enum class ArrowKey { Left, Right, Up, Down };

class CropViewModel {
public:
  // crop and the thumbnail size are the working settings' own values; the
  // model edits them in place.
  CropViewModel(int sourceWidth, int sourceHeight, CropPercentages &crop,
                std::uint16_t &thumbnailWidth, std::uint16_t &thumbnailHeight);

  // The scaled preview's size and the control's inner rectangle (client
  // less its frame) in which it is centred.
  void SetPreview(int previewWidth, int previewHeight, const PixelRect &inner);
  void SetFit(bool fit) { fit_ = fit; }
  bool Fit() const { return fit_; }

  // The crop's rectangle in control pixels, after the last update.
  const PixelRect &CropRect() const { return rect_; }
  CropZone Zone() const { return zone_; }
  bool Dragging() const { return dragging_; }

  // Button down: the zone under the point; outside starts no drag.
  bool PointerDown(int x, int y);
  // Mouse move: while dragging a drag step (returns true and the change
  // code), else only the zone under the pointer is kept.
  bool PointerMove(int x, int y, int &changeCode);
  void PointerUp(int x, int y);
  // An arrow key with its repeat count; Shift moves the right or bottom
  // edge, otherwise the whole crop. Returns the change code.
  int Key(ArrowKey key, int repeat, bool shift);

  // Moves to (x, y) from the remembered point by the active zone, one
  // percent per pixel; returns 1 when the rounded crop size changed.
  int DragStep(int x, int y);
  // Minimum size, back inside the image, clamp, the thumbnail's
  // proportions when fit, then the rectangle in control pixels.
  void Update(bool fit);

private:
  void KeepProportions(int dy);
  int sourceWidth_, sourceHeight_;
  CropPercentages &crop_;
  std::uint16_t &thumbnailWidth_;
  std::uint16_t &thumbnailHeight_;
  int previewWidth_ = 0, previewHeight_ = 0;
  PixelRect inner_;
  PixelRect rect_;
  bool fit_ = false;
  CropZone zone_ = ZoneOutside;
  int lastX_ = 0, lastY_ = 0;
  bool dragging_ = false;
};

} // namespace pixtune

#endif
