// The whole-lexicon suggestion search that runs while the check dialog
// waits for the user: candidates are tested against every dictionary and
// the user's words, and besides the one-edit methods it tries two edits.
//
// It can make millions of lookups, so it runs on the user-interface thread
// in small steps: it yields regularly (the component points the yield at
// its application's message processing) and gives way before its next
// candidate as soon as a dialog command is pending. To keep the two-edit
// passes bearable they use only the first half of the letter set.
#ifndef SPELLING_SUGGESTION_SEARCH_H
#define SPELLING_SUGGESTION_SEARCH_H

#include "spelling/core/suggestions.h"

#include <functional>
#include <string>

namespace spelling {

struct LexiconSearchHooks {
  KnownWordTest isKnownWord;            // every dictionary, then the user's words
  CaseFunction matchCase;               // re-cases a candidate after the checked word
  std::function<bool()> commandPending; // checked before every candidate
  std::function<void()> yield;          // lets the application process messages
};

// Appends suggestions for word (the checked word in lower case) to list,
// over the letter set letters, until the list holds more than
// maxSuggestions entries, a command is pending or every pass has run.
// With quick, the eight one-edit methods run first (their case candidates
// are not re-cased), yielding after each method but insert and split and
// before each insert position; then, unless the limit was reached, the
// two-edit passes, which yield before each inserted letter and before each
// inner position. Unset hooks are skipped, except isKnownWord. The word
// and letters are copied, but list is written after yields: whatever runs
// during a yield must leave it alive (a closing dialog defers its end
// until the search has returned).
SuggestEnd BuildSuggestions(const std::string &word, components::TStringList &list, bool quick,
                            const std::string &letters, int maxSuggestions,
                            const LexiconSearchHooks &hooks);

} // namespace spelling

#endif
