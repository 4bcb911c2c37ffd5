// A bitmap graphic: the bitmap file it was read from, kept whole and drawn
// straight from its rows.
#ifndef COMPONENTS_WIN32_BITMAP_H
#define COMPONENTS_WIN32_BITMAP_H

#include "platform/components/core/bitmap-file.h"

#include <windows.h>

#include <string>

namespace components {

class TBitmap {
public:
  // Takes a bitmap file's contents; raises EInvalidGraphic, naming what is
  // wrong, for data that is not a bitmap it can draw (the bitmap is then
  // unchanged).
  void LoadFromData(const std::string &data);
  // The bitmap file's contents, as read.
  const std::string &Data() const { return data_; }
  bool Empty() const { return data_.empty(); }
  int Width() const { return info_.width; }
  int Height() const { return info_.height < 0 ? -info_.height : info_.height; }
  // Draws the picture at its own size with its top left corner at x, y.
  void Draw(HDC dc, int x, int y) const;

private:
  std::string data_;
  BitmapFileInfo info_;
};

} // namespace components

#endif
