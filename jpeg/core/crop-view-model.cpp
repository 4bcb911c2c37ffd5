// Hit test, drag and key rules of the crop view.
#include "jpeg/core/crop-view-model.h"

#include <cstdlib>
#include <utility>

namespace pixtune {

namespace {

constexpr int Tolerance = 2;
constexpr double MinimumSourcePixels = 16;

bool near(int a, int b) { return std::abs(a - b) <= Tolerance; }

int roundedSpan(double low, double high) {
  return static_cast<int>(high + 0.5) - static_cast<int>(low + 0.5);
}

bool movesLowEdgeX(CropZone zone) {
  return zone == ZoneTopLeft || zone == ZoneBottomLeft || zone == ZoneLeft || zone == ZoneTop;
}

bool movesLowEdgeY(CropZone zone) {
  return zone == ZoneTopLeft || zone == ZoneTopRight || zone == ZoneLeft || zone == ZoneTop;
}

} // namespace

// Corners first, so a point on a corner picks it even where an edge's band
// overlaps; the edge bands leave 2 pixels at each end.
CropZone HitTestCrop(const PixelRect &r, int x, int y) {
  if (near(x, r.left) && near(y, r.top))
    return ZoneTopLeft;
  if (near(x, r.right) && near(y, r.bottom))
    return ZoneBottomRight;
  if (near(x, r.right) && near(y, r.top))
    return ZoneTopRight;
  if (near(x, r.left) && near(y, r.bottom))
    return ZoneBottomLeft;
  if (near(x, r.left) && r.top + Tolerance <= y && y <= r.bottom - Tolerance)
    return ZoneLeft;
  if (near(x, r.right) && r.top + Tolerance <= y && y <= r.bottom - Tolerance)
    return ZoneRight;
  if (r.left + Tolerance <= x && x <= r.right - Tolerance && near(y, r.bottom))
    return ZoneBottom;
  if (r.left + Tolerance <= x && x <= r.right - Tolerance && near(y, r.top))
    return ZoneTop;
  if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom)
    return ZoneInside;
  return ZoneOutside;
}

CropViewModel::CropViewModel(int sourceWidth, int sourceHeight, CropPercentages &crop,
                             std::uint16_t &thumbnailWidth, std::uint16_t &thumbnailHeight)
    : sourceWidth_(sourceWidth), sourceHeight_(sourceHeight), crop_(crop),
      thumbnailWidth_(thumbnailWidth), thumbnailHeight_(thumbnailHeight) {}

void CropViewModel::SetPreview(int previewWidth, int previewHeight, const PixelRect &inner) {
  previewWidth_ = previewWidth;
  previewHeight_ = previewHeight;
  inner_ = inner;
}

bool CropViewModel::PointerDown(int x, int y) {
  zone_ = HitTestCrop(rect_, x, y);
  if (zone_ == ZoneOutside)
    return false;
  dragging_ = true;
  lastX_ = x;
  lastY_ = y;
  return true;
}

bool CropViewModel::PointerMove(int x, int y, int &changeCode) {
  if (!dragging_) {
    zone_ = HitTestCrop(rect_, x, y);
    return false;
  }
  changeCode = DragStep(x, y);
  lastX_ = x;
  lastY_ = y;
  return true;
}

void CropViewModel::PointerUp(int x, int y) {
  dragging_ = false;
  zone_ = HitTestCrop(rect_, x, y);
}

int CropViewModel::Key(ArrowKey key, int repeat, bool shift) {
  int x = lastX_, y = lastY_;
  bool horizontal = key == ArrowKey::Left || key == ArrowKey::Right;
  switch (key) {
  case ArrowKey::Left:
    x -= repeat;
    break;
  case ArrowKey::Right:
    x += repeat;
    break;
  case ArrowKey::Up:
    y -= repeat;
    break;
  case ArrowKey::Down:
    y += repeat;
    break;
  }
  zone_ = shift ? (horizontal ? ZoneRight : ZoneBottom) : ZoneInside;
  int changeCode = DragStep(x, y);
  lastX_ = x;
  lastY_ = y;
  return changeCode;
}

int CropViewModel::DragStep(int x, int y) {
  double dx = x - lastX_, dy = y - lastY_;
  CropPercentages &c = crop_;
  int oldWidth = roundedSpan(c.left, c.right);
  int oldHeight = roundedSpan(c.top, c.bottom);
  if (c.bottom < c.top)
    std::swap(c.top, c.bottom);
  if (c.right < c.left)
    std::swap(c.left, c.right);
  switch (zone_) {
  case ZoneTopLeft:
    c.top += dy, c.left += dx;
    break;
  case ZoneTopRight:
    c.top += dy, c.right += dx;
    break;
  case ZoneBottomLeft:
    c.bottom += dy, c.left += dx;
    break;
  case ZoneBottomRight:
    c.bottom += dy, c.right += dx;
    break;
  case ZoneLeft:
    c.left += dx;
    break;
  case ZoneRight:
    c.right += dx;
    break;
  case ZoneTop:
    c.top += dy;
    break;
  case ZoneBottom:
    c.bottom += dy;
    break;
  case ZoneInside:
    c.left += dx, c.right += dx, c.top += dy, c.bottom += dy;
    break;
  case ZoneOutside:
    break;
  }
  if (fit_)
    KeepProportions(static_cast<int>(dy));
  Update(fit_);
  return roundedSpan(c.left, c.right) == oldWidth && roundedSpan(c.top, c.bottom) == oldHeight ? 0
                                                                                               : 1;
}

// The edge the zone does not move follows from the one it does, so that
// the crop keeps the thumbnail's proportions.
void CropViewModel::KeepProportions(int dy) {
  CropPercentages &c = crop_;
  if (thumbnailWidth_ == 0 || sourceWidth_ <= 0 || sourceHeight_ <= 0)
    return;
  double k = double(thumbnailHeight_) / thumbnailWidth_;
  double W = sourceWidth_, H = sourceHeight_;
  double width = c.right - c.left, height = c.bottom - c.top;
  double newHeight = width * k * W / H;
  double newWidth = k != 0 ? height / k * H / W : width;
  double g = width != 0 ? (H / W) * height / width : k;
  switch (zone_) {
  case ZoneLeft:
    c.top = c.bottom - newHeight;
    return;
  case ZoneRight:
    c.bottom = c.top + newHeight;
    return;
  case ZoneTop:
    c.left = c.right - newWidth;
    return;
  case ZoneBottom:
    c.right = c.left + newWidth;
    return;
  case ZoneTopLeft:
  case ZoneTopRight:
  case ZoneBottomLeft:
  case ZoneBottomRight: {
    bool top = zone_ == ZoneTopLeft || zone_ == ZoneTopRight;
    bool taller = top ? dy < 0 : dy > 0;
    bool shorter = top ? dy > 0 : dy < 0;
    bool leftSide = zone_ == ZoneTopLeft || zone_ == ZoneBottomLeft;
    if ((taller && g > k) || (shorter && g < k)) {
      if (leftSide)
        c.left = c.right - newWidth;
      else
        c.right = c.left + newWidth;
    } else if (g != k) {
      if (top)
        c.top = c.bottom - newHeight;
      else
        c.bottom = c.top + newHeight;
    }
    return;
  }
  default:
    return;
  }
}

void CropViewModel::Update(bool fit) {
  CropPercentages &c = crop_;
  double W = sourceWidth_ > 0 ? sourceWidth_ : 1;
  double H = sourceHeight_ > 0 ? sourceHeight_ : 1;
  // 1. Minimum size: the thumbnail's own size with fit, else 16 pixels.
  double minWidth = fit ? 100.0 * thumbnailWidth_ / W : 100.0 * MinimumSourcePixels / W;
  double minHeight = fit ? 100.0 * thumbnailHeight_ / H : 100.0 * MinimumSourcePixels / H;
  if ((c.right - c.left) < minWidth) {
    if (movesLowEdgeX(zone_))
      c.left = c.right - minWidth;
    else
      c.right = c.left + minWidth;
  }
  if ((c.bottom - c.top) < minHeight) {
    if (movesLowEdgeY(zone_))
      c.top = c.bottom - minHeight;
    else
      c.bottom = c.top + minHeight;
  }
  // 2. Shift back inside, keeping the size.
  if (c.bottom > 100)
    c.top += 100 - c.bottom, c.bottom = 100;
  if (c.top < 0)
    c.bottom -= c.top, c.top = 0;
  if (c.right > 100)
    c.left += 100 - c.right, c.right = 100;
  if (c.left < 0)
    c.right -= c.left, c.left = 0;
  // 3. Clamp what is still too large.
  if (c.top < 0)
    c.top = 0;
  if (c.bottom > 100)
    c.bottom = 100;
  if (c.left < 0)
    c.left = 0;
  if (c.right > 100)
    c.right = 100;
  // 4. Proportions on the source, then the rectangle on the preview.
  ComputeThumbnailCrop(sourceWidth_, sourceHeight_, thumbnailHeight_, thumbnailWidth_, fit, c,
                       rect_);
  ComputeThumbnailCrop(previewWidth_, previewHeight_, thumbnailHeight_, thumbnailWidth_, false, c,
                       rect_);
  // 5. Into control pixels: the preview is centred in the inner rectangle.
  int offsetX = (inner_.left + inner_.right - previewWidth_) / 2;
  int offsetY = (inner_.top + inner_.bottom - previewHeight_) / 2;
  rect_.left += offsetX, rect_.right += offsetX;
  rect_.top += offsetY, rect_.bottom += offsetY;
}

} // namespace pixtune
