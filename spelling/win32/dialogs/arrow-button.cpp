// Arrow buttons: the glyph is drawn once, in the button-text colour on the
// button face, when the window is made.
#include "spelling/win32/dialogs/arrow-button.h"

namespace spelling {

TArrowButton::TArrowButton(components::TComponent *owner, bool up) : TButton(owner), up_(up) {
  SetBounds(0, 0, 23, 23);
}

void TArrowButton::CreateParams(components::TCreateParams &params) {
  TButton::CreateParams(params);
  params.style |= BS_BITMAP;
}

void TArrowButton::handleCreated() {
  const int size = 9;
  base::WindowDC screen(nullptr);
  base::CreatedDC dc(CreateCompatibleDC(screen.get()));
  glyph_.reset(CreateCompatibleBitmap(screen.get(), size, size));
  if (!dc || !glyph_)
    return; // a button without its glyph still works
  {
    base::SelectedObject bitmap(dc.get(), glyph_.get());
    RECT all{0, 0, size, size};
    FillRect(dc.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    // A triangle five rows high, its point up or down.
    HBRUSH text = GetSysColorBrush(COLOR_BTNTEXT);
    for (int row = 0; row < 5; ++row) {
      int half = up_ ? row : 4 - row;
      RECT line{4 - half, 2 + row, 5 + half, 3 + row};
      FillRect(dc.get(), &line, text);
    }
  } // the button can show the bitmap only once it is out of the DC
  SendMessageA(Handle(), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph_.get()));
}

} // namespace spelling
