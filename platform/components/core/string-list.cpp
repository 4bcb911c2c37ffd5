// String lists and the case-insensitive text comparison they use.
#include "platform/components/core/string-list.h"

namespace components {

namespace {

// Lower case of one byte of the ANSI (Latin-1 based) code page.
unsigned char foldByte(unsigned char c) {
  if (c >= 'A' && c <= 'Z')
    return static_cast<unsigned char>(c + 32);
  if ((c >= 0xC0 && c <= 0xDE) && c != 0xD7)
    return static_cast<unsigned char>(c + 32);
  return c;
}

unsigned char upperByte(unsigned char c) {
  if (c >= 'a' && c <= 'z')
    return static_cast<unsigned char>(c - 32);
  if ((c >= 0xE0 && c <= 0xFE) && c != 0xF7)
    return static_cast<unsigned char>(c - 32);
  return c;
}

} // namespace

int CompareText(const std::string &a, const std::string &b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = foldByte(static_cast<unsigned char>(a[i]));
    unsigned char y = foldByte(static_cast<unsigned char>(b[i]));
    if (x != y)
      return x < y ? -1 : 1;
  }
  if (a.size() == b.size())
    return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(const std::string &a, const std::string &b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string LowerCase(const std::string &text) {
  std::string out = text;
  for (char &c : out)
    c = static_cast<char>(foldByte(static_cast<unsigned char>(c)));
  return out;
}

std::string UpperCase(const std::string &text) {
  std::string out = text;
  for (char &c : out)
    c = static_cast<char>(upperByte(static_cast<unsigned char>(c)));
  return out;
}

} // namespace components
