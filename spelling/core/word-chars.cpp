// The word characters of a check, gathered from the main dictionaries.
#include "spelling/core/word-chars.h"

#include "spelling/core/dictionary.h"

#include <array>

namespace spelling {

std::string GetWordChars(const std::vector<const TDictionary *> &mains,
                         const std::string &extraWordChars) {
  std::array<bool, 256> seen{};
  std::string letters;
  for (const TDictionary *dictionary : mains) {
    for (char letter : dictionary->Alphabet()) {
      auto &wasSeen = seen[static_cast<unsigned char>(letter)];
      if (wasSeen)
        continue;
      wasSeen = true;
      letters += letter;
    }
  }
  return letters + extraWordChars;
}

} // namespace spelling
