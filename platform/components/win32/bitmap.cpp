// Bitmaps drawn from their file's rows.
#include "platform/components/win32/bitmap.h"

#include "platform/components/win32/graphic-error.h"

namespace components {

void TBitmap::LoadFromData(const std::string &data) {
  BitmapFileInfo info;
  std::string problem;
  if (!ReadBitmapFile(data, info, problem))
    throw EInvalidGraphic("The picture cannot be shown: " + problem + ".");
  data_ = data;
  info_ = info;
}

void TBitmap::Draw(HDC dc, int x, int y) const {
  if (Empty())
    return;
  // The information header and colour table follow the 14-byte file
  // header; ReadBitmapFile has checked that they and the rows lie inside.
  const auto *header = reinterpret_cast<const BITMAPINFO *>(data_.data() + 14);
  const char *bits = data_.data() + info_.bitsOffset;
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(Width()), static_cast<DWORD>(Height()), 0, 0, 0,
                    static_cast<UINT>(Height()), bits, header, DIB_RGB_COLORS);
}

} // namespace components
