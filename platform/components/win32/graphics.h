// Fonts and canvases: what forms measure text with and what windowless
// controls paint on.
#ifndef COMPONENTS_WIN32_GRAPHICS_H
#define COMPONENTS_WIN32_GRAPHICS_H

#include "platform/components/core/event.h"
#include "platform/base/win32/gdi-owners.h"

#include <windows.h>

#include <optional>
#include <string>

namespace components {

using TColor = COLORREF;
// System colours as the class library spells them: the colour index with
// the high byte set, resolved when drawn.
constexpr TColor clSystemColor = 0xFF000000u;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clRed = RGB(255, 0, 0);

// The RGB value of a colour, system colours resolved.
COLORREF ColorToRGB(TColor color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TFont : public TObject {
public:
  TFont();
  const std::string &Name() const { return name_; }
  void SetName(std::string name);
  // Negative: character height in pixels; positive: cell height.
  int Height() const { return height_; }
  void SetHeight(int height);
  int Size() const; // points at 96 dots per inch
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  void Assign(const TFont &other);
  // The GDI font, made on first use and owned by this object.
  HFONT Handle() const;

  TNotifyEvent OnChange;

private:
  void changed();

  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  mutable base::GdiObject<HFONT> handle_;
};

// A drawing surface. During painting it draws on the paint DC; otherwise
// it measures on a memory DC of its own.
class TCanvas : public TObject {
public:
  TCanvas() = default;
  TFont &Font() { return font_; }
  HDC Handle() const;
  void SetHandle(HDC dc) { dc_ = dc; }

  TColor BrushColor() const { return brushColor_; }
  void SetBrushColor(TColor color) { brushColor_ = color; }
  TColor PenColor() const { return penColor_; }
  void SetPenColor(TColor color) { penColor_ = color; }
  bool BrushClear() const { return brushClear_; }
  void SetBrushClear(bool clear) { brushClear_ = clear; }

  int TextWidth(const std::string &text) const;
  int TextHeight(const std::string &text) const;
  void TextOut(int x, int y, const std::string &text);
  void FillRect(const RECT &rect);
  void FrameRect(const RECT &rect);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // Draws text in a rectangle with DrawTextA flags; with DT_CALCRECT it
  // only measures and widens or heightens rect.
  int DrawText(const std::string &text, RECT &rect, UINT flags);

private:
  SIZE measure(const std::string &text) const;

  HDC dc_ = nullptr;
  mutable std::optional<base::CreatedDC> memoryDc_;
  TFont font_;
  TColor brushColor_ = clBtnFace;
  TColor penColor_ = clBlack;
  bool brushClear_ = false;
};

} // namespace components

#endif
