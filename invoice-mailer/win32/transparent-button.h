// TTransparentButton: the flat toolbar button of Billpost's main window. A
// windowless control that draws a frame in one of seven styles, a glyph
// from a strip of cells (grey while the mouse is away with fsExplorer and
// AutoGray, embossed when disabled) and an optional caption placed by one
// of nine alignments. It tracks the mouse with the parent's capture,
// reports entry and exit, and can pop up a menu under itself.
//
// The glyph's transparent colour is the colour of its top-left pixel.
#ifndef INVOICE_MAILER_WIN32_TRANSPARENT_BUTTON_H
#define INVOICE_MAILER_WIN32_TRANSPARENT_BUTTON_H

#include "invoice-mailer/core/button-layout.h"
#include "platform/components/win32/controls.h"
#include "platform/components/win32/menus.h"

#include <cstdint>
#include <vector>

namespace billpost {

enum TFrameStyle { fsRegular, fsIndent, fsExplorer, fsNone, fsLight, fsDark, fsMono };

// A bitmap as pixels (0x00RRGGBB, rows top to bottom).
struct GlyphBitmap {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};

class TTransparentButton : public components::TGraphicControl {
public:
  explicit TTransparentButton(components::TComponent *owner);

  bool AutoGray() const { return autoGray_; }
  void SetAutoGray(bool value) { update(autoGray_, value); }
  unsigned BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(unsigned value) { update(borderWidth_, value); }
  bool Down() const { return down_; }
  void SetDown(bool value);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle value) { update(frameStyle_, value); }
  const GlyphBitmap &Glyph() const { return glyph_; }
  void SetGlyph(const GlyphBitmap &glyph);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  bool ShowPressed() const { return showPressed_; }
  void SetShowPressed(bool value) { update(showPressed_, value); }
  int Spacing() const { return spacing_; }
  void SetSpacing(int value) { update(spacing_, value); }
  TTextAlign TextAlign() const { return textAlign_; }
  void SetTextAlign(TTextAlign value) { update(textAlign_, value); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { update(transparent_, value); }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value) { update(wordWrap_, value); }
  bool Movable() const { return movable_; }
  void SetMovable(bool value) { movable_ = value; }
  components::TPopupMenu *PopUpMenu() const { return popUpMenu_; }
  void SetPopUpMenu(components::TPopupMenu *menu) { popUpMenu_ = menu; }

  // The drawn state, for the window's own checks and tests.
  bool Pressed() const { return pressed_; }
  bool Tracking() const { return tracking_; }
  bool MouseOver() const { return mouseOver_; }
  // The image of the image list drawn now (see GlyphImageFor).
  int ShownImage() const;

  void Click() override;
  bool DialogChar(char key) override;
  void Notification(components::TComponent *component, bool removing) override;

  components::TNotifyEvent OnMouseEnter;
  components::TNotifyEvent OnMouseExit;

protected:
  void Paint() override;
  void MouseDown(components::TMouseButton button, components::TShiftState shift, int x,
                 int y) override;
  void MouseMove(components::TShiftState shift, int x, int y) override;
  void MouseUp(components::TMouseButton button, components::TShiftState shift, int x,
               int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void enabledChanged() override;

private:
  template <typename T> void update(T &field, T value) {
    if (field == value)
      return;
    field = value;
    Invalidate();
  }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  void rebuildImages();
  void paintFrame(HDC dc);
  void paintGlyph(HDC dc, int offset);
  void paintCaption(HDC dc, int offset);

  bool autoGray_ = true;
  unsigned borderWidth_ = 1;
  bool down_ = false;
  TFrameStyle frameStyle_ = fsExplorer;
  GlyphBitmap glyph_;
  int numGlyphs_ = 1;
  bool showPressed_ = true;
  int spacing_ = 2;
  TTextAlign textAlign_ = ttaCenter;
  bool transparent_ = true;
  bool wordWrap_ = false;
  bool movable_ = false;
  components::TPopupMenu *popUpMenu_ = nullptr;

  bool pressed_ = false;
  bool tracking_ = false;
  bool mouseOver_ = false;
  POINT anchor_{0, 0};
  // The cells, then the grey copy, then the disabled copy, each one cell wide.
  std::vector<GlyphBitmap> images_;
};

} // namespace billpost

#endif
