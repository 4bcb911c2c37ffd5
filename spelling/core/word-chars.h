// The word characters of a check: the letters of the main dictionaries'
// alphabets followed by the language's extra word characters. The word
// parsers treat exactly these characters as parts of words.
#ifndef SPELLING_WORD_CHARS_H
#define SPELLING_WORD_CHARS_H

#include <string>
#include <vector>

namespace spelling {

class TDictionary;

// The letters of every dictionary's alphabet, in dictionary order and then
// alphabet order, each letter once (its first occurrence counts), followed
// unchanged by extraWordChars (language string 2).
std::string GetWordChars(const std::vector<const TDictionary *> &mains,
                         const std::string &extraWordChars);

} // namespace spelling

#endif
