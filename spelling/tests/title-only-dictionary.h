// A ".dct" file as far as the configuration reads it: the 25-byte title at
// offset 88, padded with zero bytes; the rest is zero.
#ifndef SPELLING_TESTS_TITLE_ONLY_DICTIONARY_H
#define SPELLING_TESTS_TITLE_ONLY_DICTIONARY_H

#include <string>

namespace spelling_tests {

inline std::string dictionaryWithTitle(const std::string &title) {
  std::string bytes(300, '\0');
  bytes.replace(88, title.size() < 25 ? title.size() : 25, title.substr(0, 25));
  return bytes;
}

} // namespace spelling_tests

#endif
