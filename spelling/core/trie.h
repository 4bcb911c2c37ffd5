// Letter tries for the words the user added or ignored and for replacement
// pairs (auto-correct and change all). The check loop asks them for every
// word it meets, so a lookup walks one sibling chain per letter and never
// compares whole words. All comparisons are byte-exact and case-sensitive;
// the empty word is never stored or found.
//
// Each level's siblings are kept in ascending byte order, so a search can
// stop at the first sibling whose letter is greater than the one wanted.
// Deleting a word only clears its end mark: the nodes stay, which keeps
// deletion cheap and lets the word come back with its old path.
#ifndef SPELLING_TRIE_H
#define SPELLING_TRIE_H

#include "platform/components/core/event.h"
#include "platform/components/core/string-list.h"

#include <cstdint>
#include <string>
#include <vector>

namespace spelling {

class TTrie : public components::TObject {
public:
  TTrie();

  // Sets the pending value, then adds the word through the virtual Add, so
  // a subclass that records its words sees this addition too.
  virtual void AddValue(const std::string &word, int value);
  // Frees every node and starts a new empty trie; LastValue becomes -1.
  virtual void Clear();
  // Stores the word; its end node takes the pending value (also when the
  // word or a longer word through it was stored before).
  virtual void Add(const std::string &word);
  // Clears the word's end mark when it is stored.
  virtual void Delete(const std::string &word);
  // True when the word is stored; then LastValue is its value.
  virtual bool Find(const std::string &word);

  // The value of the last successful Find (-1 after creation and Clear).
  int LastValue() const { return lastValue_; }

private:
  static constexpr std::int32_t NoNode = -1;
  struct Node {
    char letter;
    bool endOfWord;
    std::int32_t firstChild;
    std::int32_t nextSibling;
    int value;
  };

  // The node of the word's last letter, or NoNode when the path is missing.
  std::int32_t findNode(const std::string &word) const;
  // The child of parent with this letter, created at its ordered place.
  std::int32_t childFor(std::int32_t parent, char letter);
  std::int32_t newNode(char letter, std::int32_t nextSibling);

  // Nodes live in one pool and link to each other by index; index 0 is the
  // root (letter 0, never an end).
  std::vector<Node> nodes_;
  int pendingValue_ = 0;
  int lastValue_ = -1;
};

// A trie that also keeps the list of the words added to it, in order of
// addition, so that a word can be found again by text when it is deleted.
class TTrieStringList : public TTrie {
public:
  TTrieStringList();
  void Clear() override;
  void Add(const std::string &word) override;
  void Delete(const std::string &word) override;

  const components::TStringList &Words() const { return words_; }

private:
  components::TStringList words_;
};

// A map from word to replacement: each end node's value is the index of its
// replacement in a second list. A deleted pair leaves its replacement
// entry in place, unreferenced, so the indices of every other pair stay
// valid.
class TTrieLookupList : public TTrieStringList {
public:
  TTrieLookupList();
  void Clear() override;

  void AddPair(const std::string &word, const std::string &replacement);
  // The replacement of the word that the last successful Find found, or
  // empty when that value names no replacement.
  std::string FoundReplacement() const;

private:
  components::TStringList replacements_;
};

} // namespace spelling

#endif
