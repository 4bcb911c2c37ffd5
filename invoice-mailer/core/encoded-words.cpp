// Encoded words.
#include "invoice-mailer/core/encoded-words.h"

#include <algorithm>
#include <cstdint>

namespace billpost {

bool HasEightBit(const std::string &text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 128)
      return true;
  return false;
}

namespace {

constexpr std::size_t maxWordLength = 75;

bool keptAsIs(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '!' ||
         c == '*' || c == '+' || c == '-' || c == '/';
}

std::string encodedChar(unsigned char c) {
  static const char hex[] = "0123456789ABCDEF";
  if (keptAsIs(c))
    return std::string(1, static_cast<char>(c));
  if (c == ' ')
    return "_";
  return {'=', hex[c >> 4], hex[c & 15]};
}

} // namespace

std::vector<std::string> EncodedWords(const std::string &text, const std::string &charset,
                                      std::size_t firstLength) {
  const std::string open = "=?" + charset + "?Q?";
  const std::string close = "?=";
  const std::size_t frame = open.size() + close.size();
  std::vector<std::string> words;
  std::string word;
  for (char ch : text) {
    std::string piece = encodedChar(static_cast<unsigned char>(ch));
    std::size_t length = words.empty() ? firstLength : maxWordLength;
    if (!word.empty() && frame + word.size() + piece.size() > length) {
      words.push_back(open + word + close);
      word.clear();
    }
    word += piece;
  }
  if (!word.empty() || words.empty())
    words.push_back(open + word + close);
  return words;
}

std::vector<std::string> EncodedPhrase(const std::string &text, const std::string &charset) {
  std::vector<std::string> quoted = EncodedWords(text, charset);
  if (quoted.size() == 1)
    return quoted;
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const std::string open = "=?" + charset + "?B?";
  const std::size_t chunk = (maxWordLength - open.size() - 2) / 4 * 3;
  std::vector<std::string> words;
  for (std::size_t start = 0; start < text.size(); start += chunk) {
    std::string word = open;
    std::size_t end = std::min(text.size(), start + chunk);
    for (std::size_t i = start; i < end; i += 3) {
      std::uint32_t group = 0;
      std::size_t n = std::min<std::size_t>(3, end - i);
      for (std::size_t k = 0; k < 3; ++k)
        group = group << 8 | (k < n ? static_cast<unsigned char>(text[i + k]) : 0u);
      for (std::size_t k = 0; k < 4; ++k)
        word += k <= n ? alphabet[group >> (18 - 6 * k) & 63] : '=';
    }
    words.push_back(word + "?=");
  }
  return words;
}

} // namespace billpost
