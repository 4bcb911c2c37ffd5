// Ignored prefixes and suffixes of words.
#include "spelling/core/parser-affixes.h"

namespace spelling {

namespace {

bool stripOnePrefix(std::string &word, const std::vector<std::string> &prefixes) {
  for (const std::string &prefix : prefixes) {
    if (!prefix.empty() && word.find(prefix) == 0) {
      word.erase(0, prefix.size());
      return true;
    }
  }
  return false;
}

bool stripOneSuffix(std::string &word, const std::vector<std::string> &suffixes) {
  for (const std::string &suffix : suffixes) {
    if (suffix.empty())
      continue;
    std::size_t first = word.find(suffix);
    if (first != std::string::npos && first + suffix.size() == word.size()) {
      word.erase(first);
      return true;
    }
  }
  return false;
}

} // namespace

std::vector<std::string> splitAffixes(const std::string &items) {
  std::vector<std::string> result;
  std::size_t start = 0;
  while (start <= items.size()) {
    std::size_t end = items.find(';', start);
    if (end == std::string::npos)
      end = items.size();
    if (end > start)
      result.push_back(items.substr(start, end - start));
    start = end + 1;
  }
  return result;
}

// Empty items never apply, so every removal shortens the word and the loops
// end.
std::string StripAffixes(std::string word, const std::vector<std::string> &prefixes,
                         const std::vector<std::string> &suffixes) {
  while (!word.empty() && stripOnePrefix(word, prefixes)) {
  }
  while (!word.empty() && stripOneSuffix(word, suffixes)) {
  }
  return word;
}

} // namespace spelling
