// A main dictionary's own suggestions: the edit methods its mask selects,
// over its alphabet, kept when the dictionary knows them.
#include "spelling/core/dictionary.h"

#include "spelling/core/suggestions.h"

namespace spelling {

void TDictionary::Suggest(const std::string &word, components::TStringList &list) const {
  CandidateCollector collector(list, suggestLimit_,
                               [this](std::string_view candidate) { return Contains(candidate); });
  for (std::uint8_t method : SuggestMethods) {
    if ((suggestMask_ & method) == 0)
      continue;
    if (!runEditMethod(method, word, alphabet_, collector))
      return;
  }
}

} // namespace spelling
