// Suggestions: replacement candidates for an unknown word, made by small
// edits of the word and kept only when they are known words.
//
// Eight edit methods make the candidates, always in the same order (change
// the case of one letter, swap neighbours, delete one letter, insert one,
// replace one, swap across one, delete two, split in two). A main dictionary
// runs the methods its mask selects over its own alphabet; the whole-lexicon
// search (suggestion-search.h) runs all of them over every known word and
// then adds two-edit candidates. Both append to a caller's string list and
// stop as soon as an addition takes the list past its limit, so a list can
// end with limit + 1 entries.
#ifndef SPELLING_SUGGESTIONS_H
#define SPELLING_SUGGESTIONS_H

#include "platform/components/core/string-list.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace spelling {

class TDictionary;

// The mask bit of each edit method; the methods run in this order.
constexpr std::uint8_t SuggestCaseOfOne = 0x01;
constexpr std::uint8_t SuggestSwapNeighbours = 0x02;
constexpr std::uint8_t SuggestDeleteOne = 0x04;
constexpr std::uint8_t SuggestInsertOne = 0x08;
constexpr std::uint8_t SuggestReplaceOne = 0x10;
constexpr std::uint8_t SuggestSwapAcrossOne = 0x20;
constexpr std::uint8_t SuggestDeleteTwo = 0x40;
constexpr std::uint8_t SuggestSplit = 0x80;

constexpr std::uint8_t SuggestMethods[] = {
    SuggestCaseOfOne,  SuggestSwapNeighbours, SuggestDeleteOne, SuggestInsertOne,
    SuggestReplaceOne, SuggestSwapAcrossOne,  SuggestDeleteTwo, SuggestSplit};

// Why a generator stopped.
enum class SuggestEnd { Completed, LimitReached, CommandPending };

using KnownWordTest = std::function<bool(std::string_view)>;
using CaseFunction = std::function<std::string(const std::string &)>;
using MatchCaseFunction = std::function<std::string(const std::string &, const std::string &)>;

// Takes candidates for one list: keeps the known ones that the list does
// not hold yet (the list's own comparison, so case is ignored), re-cased
// when a re-casing is set, and says stop once the list has grown past the
// limit or, checked before every candidate, when a stop is requested.
class CandidateCollector {
public:
  CandidateCollector(components::TStringList &list, int limit, KnownWordTest isKnown);

  void setRecase(CaseFunction recase) { recase_ = std::move(recase); }
  void setStopRequest(std::function<bool()> stopRequested) {
    stopRequested_ = std::move(stopRequested);
  }

  // Offers one candidate; false when the generator must stop. The
  // presence test uses the candidate as offered, before re-casing.
  bool offer(const std::string &candidate, bool recase = true);
  // Offers first + " " + second when both halves are known words.
  bool offerPair(std::string_view first, std::string_view second);

  bool isKnown(std::string_view word) const { return isKnown_(word); }
  SuggestEnd end() const { return end_; }
  bool stopped() const { return end_ != SuggestEnd::Completed; }

private:
  bool stopRequested();
  bool add(const std::string &candidate, bool recase);

  components::TStringList &list_;
  int limit_;
  KnownWordTest isKnown_;
  CaseFunction recase_;
  std::function<bool()> stopRequested_;
  SuggestEnd end_ = SuggestEnd::Completed;
};

// Runs one edit method (one of the mask bits above) over the word with
// the given letter set. beforeInsertPosition, when set, is called before
// each position of the insert method. False when the collector stopped.
bool runEditMethod(std::uint8_t method, const std::string &word, std::string_view letters,
                   CandidateCollector &collector,
                   const std::function<void()> &beforeInsertPosition = {});

// Re-cases a candidate after the misspelled word: each position where the
// word has a capital A-Z gets a capital in the candidate; and when the
// candidate is longer and its letter at the word's last position is then a
// capital, all of the candidate's letters after it are capitals too. So
// "hello" for "HELO" becomes "HELLO", "the" for "Teh" becomes "The".
std::string MatchSuggestionCase(const std::string &suggestion, const std::string &word);

// Re-cases, after the word, the entries that are entirely lower case (as
// lowerCase says; components::LowerCase when unset), through matchCase
// (MatchSuggestionCase when unset), and leaves the list sorted.
void MergeSuggestions(components::TStringList &list, const std::string &word,
                      const CaseFunction &lowerCase = {}, const MatchCaseFunction &matchCase = {});

// The dictionaries' part of a suggestion request: Suggest of the first
// dictionary only when primaryOnly, else of each in order, into one list.
void SuggestFromDictionaries(const std::vector<TDictionary *> &dictionaries, bool primaryOnly,
                             const std::string &word, components::TStringList &list);

// The list the check dialog shows for a misspelled word: a sorted list
// (case ignored, duplicates dropped) with the suggestions for the word in
// lower case, re-cased after the word, when that differs from the word,
// then the suggestions for the word itself. getSuggestions fills a list
// for one word; lowerCase and matchCase as for MergeSuggestions.
void CollectDialogSuggestions(
    const std::string &word, components::TStringList &list,
    const std::function<void(const std::string &, components::TStringList &)> &getSuggestions,
    const CaseFunction &lowerCase = {}, const MatchCaseFunction &matchCase = {});

} // namespace spelling

#endif
