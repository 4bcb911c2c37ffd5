// Screenshots the Windows tests keep as artefacts: what the screen shows of
// an area, of a window or whole, written as a 24-bit BMP file. A picture
// of fewer than four colours counts as a failure: a painted window shows
// at least its face, text, edges and a white field, so such a picture
// means nothing was drawn (a window off screen, a display that never
// painted).
#ifndef TESTING_WINDOW_SHOT_H
#define TESTING_WINDOW_SHOT_H

#include "platform/base/win32/gdi-owners.h"
#include "platform/base/win32/unique-handle.h"

#include <windows.h>

#include <cstddef>
#include <set>
#include <string>
#include <vector>

namespace test_windows {

// Writes the screen's pixels inside area (screen coordinates) to path;
// false when it cannot or when the picture is blank.
inline bool saveScreenArea(const RECT &area, const std::string &path) {
  int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0)
    return false;
  base::WindowDC screen(nullptr);
  base::CreatedDC memory(CreateCompatibleDC(screen.get()));
  base::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  if (!memory || !bitmap)
    return false;
  {
    base::SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) *
                                    static_cast<std::size_t>(height));
  if (!GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(), &info,
                 DIB_RGB_COLORS))
    return false;
  std::set<unsigned> colours;
  for (int y = 0; y < height && colours.size() < 4; ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned char *pixel = &pixels[static_cast<std::size_t>(y * stride + x * 3)];
      colours.insert(pixel[0] | pixel[1] << 8 | pixel[2] << 16);
    }
  if (colours.size() < 4)
    return false;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42; // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  base::FileHandle out(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!out)
    return false;
  DWORD written = 0;
  return WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
         WriteFile(out.get(), &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
         WriteFile(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
}

// The same for the whole screen.
inline bool saveScreenShot(const std::string &path) {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return saveScreenArea(screen, path);
}

// The same for a whole window, frame included, painted afresh first (it
// may belong to another process: the repaint is asked for, not done here).
inline bool saveWindowShot(HWND window, const std::string &path) {
  RECT rect{};
  if (!window || !GetWindowRect(window, &rect))
    return false;
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  return saveScreenArea(rect, path);
}

} // namespace test_windows

#endif
