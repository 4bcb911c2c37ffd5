// Where the preview pane puts its picture and how the readout bar shares
// its width: a picture smaller than the pane is centred, a larger one
// fills the pane and is panned by scroll offsets that never leave a gap.
#ifndef JPEG_CORE_PANE_GEOMETRY_H
#define JPEG_CORE_PANE_GEOMETRY_H

#include "jpeg/core/thumbnail-geometry.h"

#include <cstddef>

namespace pixtune {

// The picture's rectangle in a client area, and the part of the picture
// that shows (source left and top). The scroll offsets are clamped to the
// picture's edges and written back; where the client is at least as large
// as the picture the offset is 0 and the picture is centred.
struct PicturePlacement {
  PixelRect shown;           // in client pixels
  int sourceLeft, sourceTop; // first picture column and row shown
};
PicturePlacement PlacePicture(const PixelRect &client, int pictureWidth, int pictureHeight,
                              int &scrollX, int &scrollY);

// The first scroll position of a picture in a pane: half of what the
// picture exceeds the pane by (negative when it is smaller).
void CentringOffsets(int pictureWidth, int pictureHeight, int paneWidth, int paneHeight,
                     int &scrollX, int &scrollY);

// The readout bar's three segment widths: each text's length plus 3, as a
// share of the client width, rounded.
void ReadoutSegmentWidths(int clientWidth, const std::size_t (&lengths)[3], int (&widths)[3]);

} // namespace pixtune

#endif
