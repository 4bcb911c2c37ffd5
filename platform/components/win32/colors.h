// Colours as the class library spells them: plain RGB values and the
// system colours, resolved when drawn.
#ifndef COMPONENTS_WIN32_COLORS_H
#define COMPONENTS_WIN32_COLORS_H

#include <windows.h>

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

} // namespace components

#endif
