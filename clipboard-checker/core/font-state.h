// A font's published state as the persistence component keeps it inside
// a font's binary value: one "Name=value" line each for its colour,
// height, face name and style, in that order, lines ended by CR LF:
//   Color=clWindowText
//   Height=-11
//   Name=MS Sans Serif
//   Style=[fsBold,fsItalic]
// The colour is written by identifier when it has one (as property
// values are), the style as a set of "fsBold", "fsItalic", "fsUnderline"
// and "fsStrikeOut".
#ifndef CLIPBOARD_CHECKER_CORE_FONT_STATE_H
#define CLIPBOARD_CHECKER_CORE_FONT_STATE_H

#include <cstdint>
#include <string>

namespace lexitray {

struct FontState {
  std::int64_t colour = 0;
  int height = 0;
  std::string name;
  unsigned style = 0; // bold 1, italic 2, underline 4, strike-out 8
};

std::string fontStateText(const FontState &font);
// Raises components::Exception for state that lacks a line, holds an
// unknown one, or a value that does not fit it.
FontState parseFontState(const std::string &text);

} // namespace lexitray

#endif
