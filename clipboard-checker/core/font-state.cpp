// Fonts' stored state.
#include "clipboard-checker/core/font-state.h"

#include "clipboard-checker/core/property-text.h"
#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace lexitray {

namespace {

const char *const styleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
constexpr std::size_t maxFaceName = 31; // what the platform's font names hold

[[noreturn]] void damaged(const std::string &what) {
  throw components::Exception("The stored font is damaged: " + what);
}

bool wholeNumber(const std::string &text, long long &value) {
  if (text.empty())
    return false;
  char *end = nullptr;
  errno = 0;
  value = std::strtoll(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0';
}

unsigned parseStyle(const std::string &text) {
  if (text.size() < 2 || text.front() != '[' || text.back() != ']')
    damaged("style " + text);
  unsigned style = 0;
  std::string inside = text.substr(1, text.size() - 2);
  std::size_t start = 0;
  while (!inside.empty() && start <= inside.size()) {
    std::size_t comma = inside.find(',', start);
    std::string name = inside.substr(start, comma == std::string::npos ? comma : comma - start);
    unsigned bit = 0;
    for (unsigned i = 0; i < 4; ++i)
      if (components::SameText(name, styleNames[i]))
        bit = 1u << i;
    if (!bit)
      damaged("style " + text);
    style |= bit;
    if (comma == std::string::npos)
      break;
    start = comma + 1;
  }
  return style;
}

} // namespace

std::string fontStateText(const FontState &font) {
  std::string colour;
  if (!colourToIdent(font.colour, colour))
    colour = std::to_string(font.colour);
  std::string style;
  for (unsigned i = 0; i < 4; ++i)
    if (font.style & (1u << i))
      style += (style.empty() ? "" : ",") + std::string(styleNames[i]);
  return "Color=" + colour + "\r\nHeight=" + std::to_string(font.height) + "\r\nName=" + font.name +
         "\r\nStyle=[" + style + "]\r\n";
}

FontState parseFontState(const std::string &text) {
  FontState font;
  unsigned seen = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos)
      damaged("its last line is not ended");
    std::string line = text.substr(start, end - start);
    start = end + 2;
    std::size_t equals = line.find('=');
    if (equals == std::string::npos)
      damaged("line " + line);
    std::string key = line.substr(0, equals), value = line.substr(equals + 1);
    long long number = 0;
    if (key == "Color") {
      if (!identToColour(value, font.colour)) {
        if (!wholeNumber(value, number) || number < INT32_MIN || number > UINT32_MAX)
          damaged("colour " + value);
        font.colour = number;
      }
      seen |= 1;
    } else if (key == "Height") {
      if (!wholeNumber(value, number) || number < -32767 || number > 32767)
        damaged("height " + value);
      font.height = static_cast<int>(number);
      seen |= 2;
    } else if (key == "Name") {
      if (value.empty() || value.size() > maxFaceName)
        damaged("name " + value);
      font.name = value;
      seen |= 4;
    } else if (key == "Style") {
      font.style = parseStyle(value);
      seen |= 8;
    } else {
      damaged("line " + line);
    }
  }
  if (seen != 15)
    damaged("a line is missing");
  return font;
}

} // namespace lexitray
