// Picture placement and readout segments.
#include "jpeg/core/pane-geometry.h"

namespace pixtune {

namespace {

// One dimension: centred when the client holds the picture, else filled
// with the offset choosing the visible part.
void placeSpan(int low, int high, int size, int &scroll, int &shownLow, int &shownHigh,
               int &sourceLow) {
  if (high - low >= size) {
    shownLow = static_cast<int>((low + high - size + 0.5) * 0.5);
    shownHigh = static_cast<int>((low + high + size + 0.5) * 0.5);
    scroll = 0;
    sourceLow = 0;
    return;
  }
  int maximum = size - (high - low);
  if (scroll < 0)
    scroll = 0;
  if (scroll > maximum)
    scroll = maximum;
  shownLow = low;
  shownHigh = high;
  sourceLow = scroll;
}

} // namespace

PicturePlacement PlacePicture(const PixelRect &client, int pictureWidth, int pictureHeight,
                              int &scrollX, int &scrollY) {
  PicturePlacement placement{};
  placeSpan(client.left, client.right, pictureWidth, scrollX, placement.shown.left,
            placement.shown.right, placement.sourceLeft);
  placeSpan(client.top, client.bottom, pictureHeight, scrollY, placement.shown.top,
            placement.shown.bottom, placement.sourceTop);
  return placement;
}

void CentringOffsets(int pictureWidth, int pictureHeight, int paneWidth, int paneHeight,
                     int &scrollX, int &scrollY) {
  scrollX = (pictureWidth - paneWidth) / 2;
  scrollY = (pictureHeight - paneHeight) / 2;
}

void ReadoutSegmentWidths(int clientWidth, const std::size_t (&lengths)[3], int (&widths)[3]) {
  double total = 0;
  for (std::size_t length : lengths)
    total += static_cast<double>(length) + 3;
  for (int i = 0; i < 3; ++i)
    widths[i] = static_cast<int>(clientWidth / total * (static_cast<double>(lengths[i]) + 3) + 0.5);
}

} // namespace pixtune
