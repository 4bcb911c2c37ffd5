// Header text beyond US-ASCII as encoded words (RFC 2047): a header may
// carry only 7-bit text, so a display name or subject with 8-bit
// characters goes as "=?charset?Q?...?=" words that readers decode.
#ifndef BILLPOST_ENCODED_WORDS_H
#define BILLPOST_ENCODED_WORDS_H

#include <string>
#include <vector>

namespace billpost {

// True when text holds a byte from 128 up.
bool HasEightBit(const std::string &text);

// The encoded words of text in charset, each at most 75 characters (the
// first at most firstLength), to be written separated by white space
// (which readers drop between them). The "Q" encoding keeps letters and
// digits; every other character is escaped, the blank as "_", so that the
// words are valid in a display name as well.
std::vector<std::string> EncodedWords(const std::string &text, const std::string &charset,
                                      std::size_t firstLength = 75);

// A display name as encoded words: one "Q" word when it fits, else "B"
// (base64) words, which carry 42 bytes each whatever the text. Some
// readers keep the blank between the words of a display name, so the
// fewer words the better.
std::vector<std::string> EncodedPhrase(const std::string &text, const std::string &charset);

} // namespace billpost

#endif
