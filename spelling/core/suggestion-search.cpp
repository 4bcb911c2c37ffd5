// The whole-lexicon search: the one-edit methods, then five two-edit
// passes, each made of an outer edit and an inner one on its result.
#include "spelling/core/suggestion-search.h"

#include <string_view>

namespace spelling {

namespace {

class LexiconSearch {
public:
  LexiconSearch(const std::string &word, components::TStringList &list, const std::string &letters,
                int maxSuggestions, const LexiconSearchHooks &hooks)
      : word_(word), letters_(letters),
        // The two-edit passes use the first half of the letters, and their
        // inner edits all of that half but its last letter.
        half_(std::string_view(letters_).substr(0, letters_.size() / 2)),
        innerHalf_(half_.substr(0, half_.empty() ? 0 : half_.size() - 1)), hooks_(hooks),
        collector_(list, maxSuggestions, hooks.isKnownWord) {
    collector_.setRecase(hooks.matchCase);
    collector_.setStopRequest(hooks.commandPending);
  }

  SuggestEnd run(bool quick) {
    if (quick && !oneEditMethods())
      return collector_.end();
    const std::size_t n = word_.size();
    if (n > 2 && !insertThenDelete())
      return collector_.end();
    if (n > 1 && !insertThenReplace())
      return collector_.end();
    if (n > 1 && !insertThenInsert())
      return collector_.end();
    if (n > 2 && !deleteThenReplace())
      return collector_.end();
    if (n > 2 && !replaceThenReplace())
      return collector_.end();
    return collector_.end();
  }

private:
  void yield() const {
    if (hooks_.yield)
      hooks_.yield();
  }

  bool oneEditMethods() {
    const std::function<void()> yieldHere = [this] { yield(); };
    for (std::uint8_t method : SuggestMethods) {
      if (!runEditMethod(method, word_, letters_, collector_,
                         method == SuggestInsertOne ? yieldHere : std::function<void()>()))
        return false;
      if (method != SuggestInsertOne && method != SuggestSplit)
        yield();
    }
    return true;
  }

  // Calls inner (the word with x inserted) for each place and letter x of
  // the half, yielding before each letter.
  template <typename Inner> bool forEachInsertion(Inner inner) {
    for (std::size_t p = 0; p <= word_.size(); ++p) {
      std::string longer = word_;
      longer.insert(p, 1, ' ');
      for (char x : half_) {
        yield();
        longer[p] = x;
        if (!inner(longer))
          return false;
      }
    }
    return true;
  }

  // Offers the word with each letter of letters put at position i.
  bool replaceAt(std::string word, std::size_t i, std::string_view letters) {
    for (char letter : letters) {
      word[i] = letter;
      if (!collector_.offer(word))
        return false;
    }
    return true;
  }

  bool insertThenDelete() {
    return forEachInsertion([this](const std::string &longer) {
      for (std::size_t j = 0; j < longer.size(); ++j) {
        std::string candidate = longer;
        candidate.erase(j, 1);
        if (!collector_.offer(candidate))
          return false;
      }
      return true;
    });
  }

  bool insertThenReplace() {
    return forEachInsertion([this](const std::string &longer) {
      for (std::size_t j = 0; j < longer.size(); ++j) {
        if (!replaceAt(longer, j, innerHalf_))
          return false;
      }
      return true;
    });
  }

  bool insertThenInsert() {
    return forEachInsertion([this](const std::string &longer) {
      for (std::size_t q = 0; q <= longer.size(); ++q) {
        yield();
        std::string candidate = longer;
        candidate.insert(q, 1, ' ');
        if (!replaceAt(candidate, q, innerHalf_))
          return false;
      }
      return true;
    });
  }

  bool deleteThenReplace() {
    for (std::size_t p = 0; p < word_.size(); ++p) {
      std::string shorter = word_;
      shorter.erase(p, 1);
      for (std::size_t j = 0; j < shorter.size(); ++j) {
        yield();
        if (!replaceAt(shorter, j, half_))
          return false;
      }
    }
    return true;
  }

  bool replaceThenReplace() {
    std::string changed = word_;
    for (std::size_t p = 0; p < word_.size(); ++p) {
      for (char y : innerHalf_) {
        changed[p] = y;
        for (std::size_t j = 0; j < word_.size(); ++j) {
          if (j == p)
            continue;
          yield();
          if (!replaceAt(changed, j, innerHalf_))
            return false;
        }
      }
      changed[p] = word_[p];
    }
    return true;
  }

  // Copies: a yield may run code that changes the caller's strings.
  const std::string word_;
  const std::string letters_;
  std::string_view half_;
  std::string_view innerHalf_;
  const LexiconSearchHooks &hooks_;
  CandidateCollector collector_;
};

} // namespace

SuggestEnd BuildSuggestions(const std::string &word, components::TStringList &list, bool quick,
                            const std::string &letters, int maxSuggestions,
                            const LexiconSearchHooks &hooks) {
  LexiconSearch search(word, list, letters, maxSuggestions, hooks);
  return search.run(quick);
}

} // namespace spelling
