// A canvas: what windowless controls paint on and what forms measure text
// with, over a device context.
#ifndef COMPONENTS_WIN32_CANVAS_H
#define COMPONENTS_WIN32_CANVAS_H

#include "platform/components/win32/colors.h"
#include "platform/components/win32/font.h"

#include "platform/components/core/event.h"
#include "platform/base/win32/gdi-owners.h"

#include <windows.h>

#include <optional>
#include <string>

namespace components {

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
  void SetBrushClear(bool clear) { brushClear_ = clear; }

  int TextWidth(const std::string &text) const;
  void TextOut(int x, int y, const std::string &text);
  void FillRect(const RECT &rect);
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
