// Host display and host recognition.
#include "jpeg/win32/host-display.h"

#include "platform/base/win32/gdi-owners.h"

#include "jpeg/core/host-signature.h"

#include <vector>

namespace pixtune {

namespace {

std::string internalNameOfProcess() {
  char path[MAX_PATH] = {};
  if (!GetModuleFileNameA(nullptr, path, sizeof path))
    return "";
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (!size)
    return "";
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path, 0, size, data.data()))
    return "";
  struct Translation {
    WORD language, codePage;
  } *translations = nullptr;
  UINT bytes = 0;
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void **>(&translations), &bytes) ||
      bytes < sizeof(Translation))
    return "";
  char key[64];
  wsprintfA(key, "\\StringFileInfo\\%04x%04x\\InternalName", translations[0].language,
            translations[0].codePage);
  char *name = nullptr;
  if (!VerQueryValueA(data.data(), key, reinterpret_cast<void **>(&name), &bytes) || !name)
    return "";
  return name;
}

} // namespace

const std::string &RunningHostSignature() {
  static const std::string signature = HostSignature(internalNameOfProcess().c_str());
  return signature;
}

void DrawPicturePart(HDC dc, const HostDrawing &host, const BITMAPINFOHEADER *header,
                     const std::uint8_t *pixels, const RECT &shown, int sourceLeft, int sourceTop,
                     const RECT &update) {
  RECT part{};
  if (!IntersectRect(&part, &shown, &update))
    return;
  int width = part.right - part.left, height = part.bottom - part.top;
  int sourceX = sourceLeft + (part.left - shown.left);
  int sourceTopRow = sourceTop + (part.top - shown.top);
  if (host.knownHost && host.displayPixels) {
    plugin::PixelMap map{};
    map.version = 1;
    map.bounds = {0, 0, header->biHeight, header->biWidth};
    map.imageMode =
        header->biBitCount == 24 ? plugin::plugInModeRGBColor : plugin::plugInModeGrayScale;
    map.rowBytes = ((header->biBitCount * header->biWidth + 31) / 8) & ~3;
    map.colBytes = header->biBitCount == 24 ? 3 : 1;
    map.planeBytes = 1;
    map.baseAddr = const_cast<std::uint8_t *>(pixels);
    plugin::PlugInRect source{sourceTopRow, sourceX, sourceTopRow + height, sourceX + width};
    host.displayPixels(&map, &source, part.top, part.left, dc);
    return;
  }
  // The rows are stored bottom-up.
  int sourceY = header->biHeight - (sourceTopRow + height);
  StretchDIBits(dc, part.left, part.top, width, height, sourceX, sourceY, width, height, pixels,
                reinterpret_cast<const BITMAPINFO *>(header), DIB_RGB_COLORS, SRCCOPY);
}

void FillUpdateRegion(HWND window, HDC dc, HBRUSH brush,
                      std::initializer_list<const RECT *> leftOut) {
  base::GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  if (GetUpdateRgn(window, region.get(), FALSE) <= NULLREGION) {
    RECT client{};
    GetClientRect(window, &client);
    SetRectRgn(region.get(), client.left, client.top, client.right, client.bottom);
  }
  for (const RECT *rect : leftOut)
    if (rect) {
      base::GdiObject<HRGN> out(CreateRectRgnIndirect(rect));
      CombineRgn(region.get(), region.get(), out.get(), RGN_DIFF);
    }
  FillRgn(dc, region.get(), brush);
  ValidateRgn(window, region.get());
}

} // namespace pixtune
