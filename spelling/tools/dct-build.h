// Making ".dct" main dictionaries from word lists.
//
// The words become a letter trie whose equal subtrees are merged (a
// directed acyclic word graph), so that the many words sharing an ending
// share its nodes. Nodes reached through child lists must lie among the
// first 65,536 of a block, because the lists hold 16-bit indices; nodes
// reached only as a single child may lie anywhere below 2^20. A word list
// whose graph does not fit is split into several sub-dictionaries, each
// built from a contiguous run of the sorted words. The output depends only
// on the set of words and the options: the same input gives the same bytes.
#ifndef SPELLING_TOOLS_DCT_BUILD_H
#define SPELLING_TOOLS_DCT_BUILD_H

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace spelling {
namespace dct {

using Bytes = std::vector<std::uint8_t>;

struct BuildOptions {
  std::string title;               // padded with spaces or cut to 25 bytes
  std::size_t maxNodes = 1u << 20; // node limit per sub-dictionary
};

class BuildError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Why a word cannot be stored ("" when it can): empty, longer than 255
// bytes, or holding a byte that cannot be a letter (controls, space, DEL).
std::string rejectionReason(const std::string &word);

// The letters the words use, in byte order.
std::string alphabetOf(const std::vector<std::string> &words);

// Converts UTF-8 text to the 8-bit ANSI code page (Windows-1252) by the
// component library's table, the one the program's own text conversions
// use. False when the text is not valid UTF-8 or holds a character the
// code page lacks.
bool utf8ToAnsi(const std::string &utf8, std::string &ansi);

struct BuildResult {
  Bytes file;
  std::size_t wordCount = 0;              // distinct words stored
  std::vector<std::size_t> nodesPerBlock; // node count of each sub-dictionary
};

// Builds the file from words that all pass rejectionReason (duplicates are
// stored once, order does not matter). Throws BuildError when the words do
// not fit the format even when split (more than 255 sub-dictionaries).
BuildResult buildDictionary(std::vector<std::string> words, const BuildOptions &options);

} // namespace dct
} // namespace spelling

#endif
