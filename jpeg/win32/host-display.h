// Painting a bitmap's part into a window: through the host's own
// displayPixels when the host is a known one and hands that procedure
// over (its pixels are then top-down with red first), else with
// StretchDIBits 1:1 from the bottom-up rows.
#ifndef JPEG_WIN32_HOST_DISPLAY_H
#define JPEG_WIN32_HOST_DISPLAY_H

#include "platform/plugin-host/core/plugin-interface.h"

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

namespace pixtune {

// The signature of the program this module runs in, from the internal name
// of its version information; "" for an unknown host.
const std::string &RunningHostSignature();

struct HostDrawing {
  plugin::DisplayPixelsProc displayPixels = nullptr;
  bool knownHost = false;
};

// Draws the part of the picture (header, pixels) that lies inside both
// shown (the picture's rectangle in the window, possibly larger than what
// shows) and update, the picture's first shown column and row being
// sourceLeft and sourceTop.
void DrawPicturePart(HDC dc, const HostDrawing &host, const BITMAPINFOHEADER *header,
                     const std::uint8_t *pixels, const RECT &shown, int sourceLeft, int sourceTop,
                     const RECT &update);

// The background of a paint: the window's update region (its whole
// client area when the region is empty), less the rectangles left out
// (null ones leave nothing out), filled with brush and validated.
void FillUpdateRegion(HWND window, HDC dc, HBRUSH brush,
                      std::initializer_list<const RECT *> leftOut);

} // namespace pixtune

#endif
