// Conversions between ANSI (Windows-1252) text and UTF-8 / UTF-16.
#include "platform/components/core/unicode-text.h"

#include <cstdint>

namespace components {

namespace {

// Windows-1252 bytes 0x80..0x9F as Unicode; the five unassigned ones map to
// the C1 controls of the same value, as the platform's table does.
const std::uint16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::uint32_t ansiToUnicode(unsigned char c) {
  return c >= 0x80 && c < 0xA0 ? cp1252High[c - 0x80] : c;
}

// False for a character the ANSI code page lacks.
bool unicodeToAnsi(std::uint32_t u, char &ansi) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
    ansi = static_cast<char>(u);
    return true;
  }
  for (int i = 0; i < 32; ++i)
    if (cp1252High[i] == u) {
      ansi = static_cast<char>(0x80 + i);
      return true;
    }
  return false;
}

// Bytes in the UTF-8 sequence that starts with lead, or 0 when no
// sequence can start with it.
std::size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80)
    return 1;
  if (lead >= 0xC2 && lead < 0xE0)
    return 2;
  if (lead >= 0xE0 && lead < 0xF0)
    return 3;
  if (lead >= 0xF0 && lead < 0xF5)
    return 4;
  return 0;
}

// Decodes the sequence of length at text[at]; false when it is malformed
// (bad continuation byte, overlong form, beyond U+10FFFF, or a surrogate
// unless those are allowed).
bool decodeSequence(const std::string &text, std::size_t at, std::size_t length,
                    bool allowSurrogates, std::uint32_t &code) {
  static const std::uint32_t leadMask[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  static const std::uint32_t smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  code = static_cast<unsigned char>(text[at]) & leadMask[length];
  for (std::size_t k = 1; k < length; ++k) {
    unsigned char c = static_cast<unsigned char>(text[at + k]);
    if ((c & 0xC0) != 0x80)
      return false;
    code = (code << 6) | (c & 0x3Fu);
  }
  bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code >= smallest[length] && code <= 0x10FFFF && (allowSurrogates || !surrogate);
}

// Calls visit with each character of UTF-8 text. A malformed sequence (its
// lead byte and the continuation bytes that follow it, up to the length the
// lead announces) is one U+FFFD. Text read from a UTF-16 file may hold lone
// surrogates, encoded like any other character, so that they survive a
// rewrite as the platform lets them.
template <typename Visitor>
void forEachCharacter(const std::string &text, bool allowSurrogates, Visitor visit) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t length = sequenceLength(static_cast<unsigned char>(text[i]));
    std::uint32_t code = 0;
    if (length != 0 && text.size() - i >= length &&
        decodeSequence(text, i, length, allowSurrogates, code)) {
      visit(code);
      i += length;
      continue;
    }
    std::size_t skip = 1;
    while (skip < length && i + skip < text.size() &&
           (static_cast<unsigned char>(text[i + skip]) & 0xC0) == 0x80)
      ++skip;
    visit(0xFFFDu);
    i += skip;
  }
}

void appendUtf8(std::string &out, std::uint32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

} // namespace

std::string unicodeTextToAnsi(const std::string &text) {
  std::string out;
  out.reserve(text.size());
  forEachCharacter(text, true, [&](std::uint32_t code) {
    char ansi = '?';
    if (code > 0xFFFF)
      out += "??";
    else
      out += unicodeToAnsi(code, ansi) ? ansi : '?';
  });
  return out;
}

bool utf8ToAnsiExact(const std::string &text, std::string &ansi) {
  ansi.clear();
  bool exact = true;
  // A malformed sequence reads as U+FFFD, which the code page lacks too.
  forEachCharacter(text, false, [&](std::uint32_t code) {
    char byte = 0;
    if (exact && unicodeToAnsi(code, byte))
      ansi += byte;
    else
      exact = false;
  });
  return exact;
}

std::string cleanUtf8(const std::string &text) {
  std::string out;
  out.reserve(text.size());
  forEachCharacter(text, false, [&](std::uint32_t code) { appendUtf8(out, code); });
  return out;
}

std::string utf16ToText(const std::string &bytes, bool bigEndian) {
  auto unitAt = [&](std::size_t i) {
    unsigned first = static_cast<unsigned char>(bytes[i]);
    unsigned second = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  std::string out;
  std::size_t units = bytes.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    std::uint32_t unit = unitAt(2 * i);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
      std::uint32_t low = unitAt(2 * i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    appendUtf8(out, unit);
  }
  return out;
}

std::string textToUtf16(const std::string &text, bool bigEndian) {
  std::string out;
  auto appendUnit = [&](std::uint32_t unit) {
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  forEachCharacter(text, true, [&](std::uint32_t code) {
    if (code < 0x10000) {
      appendUnit(code);
      return;
    }
    appendUnit(0xD800 + ((code - 0x10000) >> 10));
    appendUnit(0xDC00 + ((code - 0x10000) & 0x3FF));
  });
  return out;
}

std::string ansiToUtf8(const std::string &text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    appendUtf8(out, ansiToUnicode(static_cast<unsigned char>(c)));
  return out;
}

} // namespace components
