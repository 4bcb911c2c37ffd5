// A font as forms and controls describe it: name, height and style, made
// into a GDI font when first drawn with.
#ifndef COMPONENTS_WIN32_FONT_H
#define COMPONENTS_WIN32_FONT_H

#include "platform/components/win32/colors.h"

#include "platform/components/core/event.h"
#include "platform/base/win32/gdi-owners.h"

#include <windows.h>

#include <optional>
#include <string>

namespace components {

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
  void SetSize(int points); // points at 96 dots per inch
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

} // namespace components

#endif
