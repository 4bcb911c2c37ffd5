// Ignored prefixes and suffixes: the apostrophes and the like that a word
// from the text may carry and the dictionaries do not, such as the "'s" of
// a possessive. The check loop retries an unknown word without them.
#ifndef SPELLING_PARSER_AFFIXES_H
#define SPELLING_PARSER_AFFIXES_H

#include <string>
#include <vector>

namespace spelling {

// The non-empty items of a ";"-separated list, in order.
std::vector<std::string> splitAffixes(const std::string &items);

// word without its ignored prefixes and suffixes. A prefix item applies when
// its first occurrence in the word is at the start, a suffix item when its
// first occurrence ends the word; after each removal the items are tried
// again from the first, until none applies or the word is empty.
std::string StripAffixes(std::string word, const std::vector<std::string> &prefixes,
                         const std::vector<std::string> &suffixes);

} // namespace spelling

#endif
