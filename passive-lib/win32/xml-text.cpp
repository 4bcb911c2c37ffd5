#include "passive-lib/win32/xml-text.h"

#include <cstdio>
#include <cstdlib>

namespace passive {
namespace {

// The ANSI bytes of count wide characters; false when the code page lacks
// one of them.
bool ansiBytes(const wchar_t *text, int count, std::string &out) {
  if (count == 0) {
    out.clear();
    return true;
  }
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, count, nullptr, 0,
                                       nullptr, &usedDefault);
  if (size <= 0 || usedDefault)
    return false;
  out.assign(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, count, &out[0], size, nullptr, nullptr);
  return true;
}

bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The wide form of one code point.
std::wstring wideOf(unsigned long codePoint) {
  if (codePoint < 0x10000)
    return std::wstring(1, static_cast<wchar_t>(codePoint));
  codePoint -= 0x10000;
  return {static_cast<wchar_t>(0xD800 + (codePoint >> 10)),
          static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF))};
}

} // namespace

std::string xmlBytesOfText(const wchar_t *text, UINT length) {
  std::string whole;
  if (ansiBytes(text, static_cast<int>(length), whole))
    return whole;
  std::string out;
  for (UINT i = 0; i < length;) {
    UINT width = isHighSurrogate(text[i]) && i + 1 < length && isLowSurrogate(text[i + 1]) ? 2 : 1;
    std::string bytes;
    if (width == 1 && ansiBytes(text + i, 1, bytes)) {
      out += bytes;
    } else {
      unsigned long codePoint = text[i];
      if (width == 2)
        codePoint = 0x10000 + ((static_cast<unsigned long>(text[i]) - 0xD800) << 10) +
                    (static_cast<unsigned long>(text[i + 1]) - 0xDC00);
      char reference[16];
      std::snprintf(reference, sizeof reference, "&#%lu;", codePoint);
      out += reference;
    }
    i += width;
  }
  return out;
}

std::wstring textOfXmlBytes(const std::string &bytes) {
  std::wstring wide;
  if (!bytes.empty()) {
    const int size =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (size > 0) {
      wide.assign(static_cast<std::size_t>(size), L'\0');
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0], size);
    }
  }
  // Character references of characters the code page lacks become the
  // characters again; the others stay as written.
  std::wstring out;
  out.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    if (wide[i] == L'&' && i + 2 < wide.size() && wide[i + 1] == L'#') {
      const std::size_t end = wide.find(L';', i + 2);
      if (end != std::wstring::npos && end - i <= 12) {
        const bool hex = wide[i + 2] == L'x' || wide[i + 2] == L'X';
        const std::wstring digits = wide.substr(i + (hex ? 3 : 2), end - i - (hex ? 3 : 2));
        wchar_t *stop = nullptr;
        const unsigned long codePoint = std::wcstoul(digits.c_str(), &stop, hex ? 16 : 10);
        const std::wstring character = wideOf(codePoint);
        std::string ignored;
        if (!digits.empty() && stop && *stop == L'\0' && codePoint > 0 && codePoint <= 0x10FFFF &&
            !(codePoint >= 0xD800 && codePoint <= 0xDFFF) &&
            !ansiBytes(character.data(), static_cast<int>(character.size()), ignored)) {
          out += character;
          i = end;
          continue;
        }
      }
    }
    out += wide[i];
  }
  return out;
}

} // namespace passive
