// The edit methods, the candidate test and the re-casing shared by the
// dictionary's suggestions and the whole-lexicon search.
#include "spelling/core/suggestions.h"

#include "spelling/core/dictionary.h"

#include <utility>

namespace spelling {

namespace {

bool isLowerAscii(char c) { return c >= 'a' && c <= 'z'; }
bool isUpperAscii(char c) { return c >= 'A' && c <= 'Z'; }
char toUpperAscii(char c) { return isLowerAscii(c) ? static_cast<char>(c - 'a' + 'A') : c; }

// Each method below names positions from 0; the candidate buffer is reused
// so that a method allocates only when the list keeps a candidate.

bool caseOfOne(const std::string &word, CandidateCollector &collector) {
  std::string candidate = word;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (isLowerAscii(c))
      candidate[i] = static_cast<char>(c - 'a' + 'A');
    else if (isUpperAscii(c))
      candidate[i] = static_cast<char>(c - 'A' + 'a');
    else
      continue;
    // A letter whose case changed is the candidate, never re-cased: the
    // case is what it suggests.
    if (!collector.offer(candidate, false))
      return false;
    candidate[i] = c;
  }
  return true;
}

bool swapAt(const std::string &word, std::size_t distance, CandidateCollector &collector) {
  std::string candidate = word;
  for (std::size_t i = 0; i + distance < word.size(); ++i) {
    std::swap(candidate[i], candidate[i + distance]);
    if (!collector.offer(candidate))
      return false;
    std::swap(candidate[i], candidate[i + distance]);
  }
  return true;
}

bool deleteOne(const std::string &word, CandidateCollector &collector) {
  for (std::size_t i = 0; i < word.size(); ++i) {
    std::string candidate = word;
    candidate.erase(i, 1);
    if (!collector.offer(candidate))
      return false;
  }
  return true;
}

bool insertOne(const std::string &word, std::string_view letters, CandidateCollector &collector,
               const std::function<void()> &beforePosition) {
  // Positions start after the first letter: a letter missing before the
  // first one is not this method's to suggest.
  for (std::size_t i = 1; i <= word.size(); ++i) {
    if (beforePosition)
      beforePosition();
    std::string candidate = word;
    candidate.insert(i, 1, ' ');
    for (char letter : letters) {
      candidate[i] = letter;
      if (!collector.offer(candidate))
        return false;
    }
  }
  return true;
}

bool replaceOne(const std::string &word, std::string_view letters, CandidateCollector &collector) {
  std::string candidate = word;
  for (std::size_t i = 0; i < word.size(); ++i) {
    for (char letter : letters) {
      candidate[i] = letter;
      if (!collector.offer(candidate))
        return false;
    }
    candidate[i] = word[i];
  }
  return true;
}

bool deleteTwo(const std::string &word, CandidateCollector &collector) {
  for (std::size_t i = 0; i < word.size(); ++i) {
    std::string shorter = word;
    shorter.erase(i, 1);
    for (std::size_t j = 0; j < shorter.size(); ++j) {
      std::string candidate = shorter;
      candidate.erase(j, 1);
      if (!collector.offer(candidate))
        return false;
    }
  }
  return true;
}

bool split(const std::string &word, CandidateCollector &collector) {
  // Both halves have at least two letters.
  const std::string_view whole(word);
  for (std::size_t k = 2; k + 2 <= word.size(); ++k) {
    if (!collector.offerPair(whole.substr(0, k), whole.substr(k)))
      return false;
  }
  return true;
}

} // namespace

CandidateCollector::CandidateCollector(components::TStringList &list, int limit,
                                       KnownWordTest isKnown)
    : list_(list), limit_(limit), isKnown_(std::move(isKnown)) {}

bool CandidateCollector::stopRequested() {
  if (stopped())
    return true;
  if (stopRequested_ && stopRequested_())
    end_ = SuggestEnd::CommandPending;
  return stopped();
}

bool CandidateCollector::add(const std::string &candidate, bool recase) {
  if (list_.IndexOf(candidate) >= 0)
    return true;
  list_.Add(recase && recase_ ? recase_(candidate) : candidate);
  if (list_.Count() > limit_)
    end_ = SuggestEnd::LimitReached;
  return !stopped();
}

bool CandidateCollector::offer(const std::string &candidate, bool recase) {
  if (stopRequested())
    return false;
  if (!isKnown_(candidate))
    return true;
  return add(candidate, recase);
}

bool CandidateCollector::offerPair(std::string_view first, std::string_view second) {
  if (stopRequested())
    return false;
  if (!isKnown_(first) || !isKnown_(second))
    return true;
  std::string candidate(first);
  candidate += ' ';
  candidate += second;
  return add(candidate, true);
}

bool runEditMethod(std::uint8_t method, const std::string &word, std::string_view letters,
                   CandidateCollector &collector,
                   const std::function<void()> &beforeInsertPosition) {
  const std::size_t n = word.size();
  switch (method) {
  case SuggestCaseOfOne:
    return caseOfOne(word, collector);
  case SuggestSwapNeighbours:
    return swapAt(word, 1, collector);
  case SuggestDeleteOne:
    return deleteOne(word, collector);
  case SuggestInsertOne:
    return insertOne(word, letters, collector, beforeInsertPosition);
  case SuggestReplaceOne:
    return replaceOne(word, letters, collector);
  case SuggestSwapAcrossOne:
    return n <= 2 || swapAt(word, 2, collector);
  case SuggestDeleteTwo:
    return n <= 4 || deleteTwo(word, collector);
  case SuggestSplit:
    return n <= 3 || split(word, collector);
  default:
    return true;
  }
}

std::string MatchSuggestionCase(const std::string &suggestion, const std::string &word) {
  std::string result = suggestion;
  for (std::size_t i = 0; i < word.size() && i < result.size(); ++i) {
    if (isUpperAscii(word[i]))
      result[i] = toUpperAscii(result[i]);
  }
  // A word that ends in a capital was typed in capitals: what the
  // candidate has beyond the word's length follows it.
  if (word.empty() || result.size() <= word.size() || !isUpperAscii(result[word.size() - 1]))
    return result;
  for (std::size_t i = word.size(); i < result.size(); ++i)
    result[i] = toUpperAscii(result[i]);
  return result;
}

void MergeSuggestions(components::TStringList &list, const std::string &word,
                      const CaseFunction &lowerCase, const MatchCaseFunction &matchCase) {
  const bool wasSorted = list.Sorted();
  list.SetSorted(false);
  for (int i = 0; i < list.Count(); ++i) {
    const std::string entry = list[i];
    const std::string lower = lowerCase ? lowerCase(entry) : components::LowerCase(entry);
    if (lower != entry)
      continue;
    list.Put(i, matchCase ? matchCase(entry, word) : MatchSuggestionCase(entry, word));
  }
  if (wasSorted)
    list.SetSorted(true);
  else
    list.Sort();
}

void SuggestFromDictionaries(const std::vector<TDictionary *> &dictionaries, bool primaryOnly,
                             const std::string &word, components::TStringList &list) {
  for (TDictionary *dictionary : dictionaries) {
    dictionary->Suggest(word, list);
    if (primaryOnly)
      return;
  }
}

void CollectDialogSuggestions(
    const std::string &word, components::TStringList &list,
    const std::function<void(const std::string &, components::TStringList &)> &getSuggestions,
    const CaseFunction &lowerCase, const MatchCaseFunction &matchCase) {
  list.Clear();
  list.SetDuplicates(components::TDuplicates::dupIgnore);
  list.SetSorted(true);
  const std::string lower = lowerCase ? lowerCase(word) : components::LowerCase(word);
  if (lower != word) {
    getSuggestions(lower, list);
    MergeSuggestions(list, word, lowerCase, matchCase);
  }
  getSuggestions(word, list);
}

} // namespace spelling
