// A form with one flat button (fsExplorer, AutoGray, a red glyph) for
// button-hover.py: prints where the glyph's centre is on the screen and the
// colour drawn there, then waits until the real pointer (moved by xdotool)
// is over the button and prints the colour again.
#include "invoice-mailer/win32/transparent-button.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"

#include <cstdio>

using namespace components;
using namespace billpost;

namespace {

COLORREF screenPixel(POINT at) {
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

void report(const char *key, COLORREF colour) {
  std::printf("%s %d %d %d\n", key, GetRValue(colour), GetGValue(colour), GetBValue(colour));
  std::fflush(stdout);
}

} // namespace

int main() {
  TForm form(nullptr);
  form.SetBounds(100, 100, 200, 150);
  auto *button = new TTransparentButton(&form);
  button->SetBounds(40, 30, 40, 40);
  button->SetParent(&form);
  GlyphBitmap glyph{16, 16, std::vector<std::uint32_t>(256, 0x808000)};
  for (int y = 2; y < 14; ++y)
    for (int x = 2; x < 14; ++x)
      glyph.pixels[static_cast<size_t>(y * 16 + x)] = 0xFF0000;
  button->SetGlyph(glyph);
  form.Show();
  form.Repaint();
  Application->WaitUntil([] { return false; }, 500);
  POINT centre = button->ClientToScreen(POINT{20, 20});
  std::printf("centre %ld %ld\n", static_cast<long>(centre.x), static_cast<long>(centre.y));
  report("away", screenPixel(centre));
  bool entered = Application->WaitUntil([&] { return button->MouseOver(); }, 20000);
  Application->WaitUntil([] { return false; }, 300);
  form.Repaint();
  std::printf("entered %s\n", entered ? "yes" : "no");
  report("over", screenPixel(centre));
  return entered ? 0 : 1;
}
