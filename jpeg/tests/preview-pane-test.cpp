// The preview pane on screen: the reconstruction it is given appears
// centred and exact on a grey background, and a larger picture pans with
// the pointer, shown by the pane's own cursors, only as far as its edges.
#include "jpeg/core/page-previews.h"
#include "jpeg/tests/jpeg-test-support.h"
#include "jpeg/win32/preview-pane.h"
#include "testing/test-paths.h"
#include "testing/ui-driver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using namespace pixtune;
using namespace jpeg_test;
using test_windows::waitUntil;

namespace {

COLORREF pictureColour(const TBitmapView &view, int x, int y) {
  const std::uint8_t *p = view.TopRow(y) + 3 * x;
  return RGB(p[2], p[1], p[0]);
}

// A bitmap the pane is told to show.
struct Shown final : PaneSource {
  const std::uint8_t *bitmap;
  explicit Shown(const std::uint8_t *b) : bitmap(b) {}
  const std::uint8_t *PaneBitmap() const override { return bitmap; }
};

struct PaneWindow {
  HWND host;
  TPreviewPane pane{GetModuleHandleA(nullptr)};
  PaneWindow() {
    host = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "Pixtune preview pane",
                           WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr,
                           nullptr, nullptr, nullptr);
    HWND window = pane.CreateChild(host);
    MoveWindow(window, 0, 0, 400, 300, TRUE);
    ShowWindow(window, SW_SHOW);
  }
  ~PaneWindow() { DestroyWindow(host); }
  COLORREF at(int x, int y) {
    HDC dc = GetDC(pane.Handle());
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(pane.Handle(), dc);
    return colour;
  }
};

} // namespace

TEST(PreviewPane, ShowsTheReconstructionCentredOnGrey) {
  PaneWindow w;
  ASSERT_NE(w.pane.Handle(), nullptr);
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(makeImage(200, 100, false, 11));
  ImagePreview preview(bitmap.Data(), bitmap.Bytes(), nullptr);
  preview.Compress(params(48, 48));
  Shown shown(preview.Reconstruction().Data());
  w.pane.Show(&shown);
  TBitmapView view(preview.Reconstruction());
  waitUntil([&] { return w.at(100, 100) == pictureColour(view, 0, 0); });
  // 200 x 100 in 400 x 300: from (100, 100).
  for (int y : {0, 1, 37, 99})
    for (int x : {0, 5, 120, 199})
      EXPECT_EQ(w.at(100 + x, 100 + y), pictureColour(view, x, y)) << x << "," << y;
  EXPECT_EQ(w.at(5, 5), RGB(128, 128, 128));
  EXPECT_EQ(w.at(399, 299), RGB(128, 128, 128));
  EXPECT_EQ(w.at(99, 150), RGB(128, 128, 128));
  EXPECT_TRUE(test_windows::saveWindowShot(
      w.host, testing_support::hostPath(testing_support::envOr("TEST_BINARY_DIR", ".") +
                                        "/pixtune-preview-pane.bmp")));
  // While the show flag is clear only the background is painted.
  w.pane.SetShow(false);
  waitUntil([&] { return w.at(150, 150) == RGB(128, 128, 128); });
  EXPECT_EQ(w.at(150, 150), RGB(128, 128, 128));
}

TEST(PreviewPane, LargePicturePansWithThePointerUpToItsEdges) {
  PaneWindow w;
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(makeImage(800, 600, false, 12));
  TBitmapView view(bitmap);
  Shown shown(bitmap.Data());
  w.pane.Show(&shown);
  w.pane.SetScrollOffsets(300, 150);
  waitUntil([&] { return w.at(0, 0) == pictureColour(view, 300, 150); });
  EXPECT_EQ(w.at(0, 0), pictureColour(view, 300, 150));
  HWND pane = w.pane.Handle();
  // The pane's own pointers: 107 over it, 105 while it pans.
  HINSTANCE module = GetModuleHandleA(nullptr);
  HCURSOR normal = LoadCursorA(module, MAKEINTRESOURCEA(107));
  HCURSOR panning = LoadCursorA(module, MAKEINTRESOURCEA(105));
  ASSERT_TRUE(normal && panning && normal != panning);
  SendMessageA(pane, WM_SETCURSOR, reinterpret_cast<WPARAM>(pane), MAKELPARAM(HTCLIENT, 0));
  EXPECT_EQ(GetCursor(), normal);
  SendMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
  EXPECT_TRUE(w.pane.Dragging());
  EXPECT_EQ(GetCursor(), panning);
  SendMessageA(pane, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(70, 65));
  SendMessageA(pane, WM_LBUTTONUP, 0, MAKELPARAM(70, 65));
  EXPECT_FALSE(w.pane.Dragging());
  EXPECT_EQ(GetCursor(), normal);
  int x = 0, y = 0;
  w.pane.ScrollOffsets(x, y);
  EXPECT_EQ(x, 280);
  EXPECT_EQ(y, 135);
  waitUntil([&] { return w.at(0, 0) == pictureColour(view, 280, 135); });
  EXPECT_EQ(w.at(0, 0), pictureColour(view, 280, 135));
  EXPECT_EQ(w.at(399, 299), pictureColour(view, 679, 434));
  // Far past the edges: stops at them.
  SendMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 250));
  SendMessageA(pane, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-30000, -30000));
  SendMessageA(pane, WM_LBUTTONUP, 0, 0);
  w.pane.ScrollOffsets(x, y);
  EXPECT_EQ(x, 400);
  EXPECT_EQ(y, 300);
  waitUntil([&] { return w.at(399, 299) == pictureColour(view, 799, 599); });
  EXPECT_EQ(w.at(399, 299), pictureColour(view, 799, 599));
}
