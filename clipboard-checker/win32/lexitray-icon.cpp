// Drawing the program's icon.
#include "clipboard-checker/win32/lexitray-icon.h"

#include "platform/base/win32/gdi-owners.h"

namespace lexitray {

namespace {

constexpr int IconSize = 32;

void drawPage(HDC dc) {
  RECT all{0, 0, IconSize, IconSize};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  base::GdiObject<HBRUSH> paper(CreateSolidBrush(RGB(255, 255, 240)));
  RECT page{5, 2, 27, 30};
  FillRect(dc, &page, paper.get());
  FrameRect(dc, &page, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  // Lines of text on the page.
  base::GdiObject<HPEN> grey(CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
  base::SelectedObject lines(dc, grey.get());
  for (int y = 7; y < 26; y += 4) {
    MoveToEx(dc, 8, y, nullptr);
    LineTo(dc, 24, y);
  }
  // The tick across it.
  base::GdiObject<HPEN> red(CreatePen(PS_SOLID, 3, RGB(200, 0, 0)));
  base::SelectedObject tick(dc, red.get());
  MoveToEx(dc, 9, 17, nullptr);
  LineTo(dc, 14, 23);
  LineTo(dc, 25, 9);
}

} // namespace

HICON makeLexitrayIcon() {
  base::WindowDC screen(nullptr);
  base::CreatedDC dc(CreateCompatibleDC(screen.get()));
  base::GdiObject<HBITMAP> colour(CreateCompatibleBitmap(screen.get(), IconSize, IconSize));
  // The mask: opaque everywhere (all bits clear).
  base::GdiObject<HBITMAP> mask(CreateBitmap(IconSize, IconSize, 1, 1, nullptr));
  if (!dc || !colour || !mask)
    return nullptr;
  {
    base::SelectedObject selected(dc.get(), mask.get());
    RECT all{0, 0, IconSize, IconSize};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  {
    base::SelectedObject selected(dc.get(), colour.get());
    drawPage(dc.get());
  }
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask.get();
  info.hbmColor = colour.get();
  return CreateIconIndirect(&info);
}

} // namespace lexitray
