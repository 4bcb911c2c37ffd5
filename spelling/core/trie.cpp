// Letter tries: a first-child / next-sibling tree whose levels are kept in
// ascending byte order.
#include "spelling/core/trie.h"

namespace spelling {

namespace {

// Letters are compared as bytes, so characters of the upper half of the
// code page sort after ASCII whatever the signedness of char.
bool lessThan(char a, char b) {
  return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
}

} // namespace

TTrie::TTrie() { TTrie::Clear(); }

void TTrie::AddValue(const std::string &word, int value) {
  pendingValue_ = value;
  Add(word);
}

void TTrie::Clear() {
  nodes_.clear();
  nodes_.push_back(Node{0, false, NoNode, NoNode, 0});
  lastValue_ = -1;
}

std::int32_t TTrie::newNode(char letter, std::int32_t nextSibling) {
  nodes_.push_back(Node{letter, false, NoNode, nextSibling, 0});
  return static_cast<std::int32_t>(nodes_.size() - 1);
}

std::int32_t TTrie::childFor(std::int32_t parent, char letter) {
  std::int32_t child = nodes_[parent].firstChild;
  if (child == NoNode || lessThan(letter, nodes_[child].letter)) {
    std::int32_t created = newNode(letter, child);
    nodes_[parent].firstChild = created;
    return created;
  }
  // Walk while the next sibling's letter is still smaller; the new node
  // goes right after the last smaller one.
  for (;;) {
    if (nodes_[child].letter == letter)
      return child;
    std::int32_t next = nodes_[child].nextSibling;
    if (next == NoNode || lessThan(letter, nodes_[next].letter)) {
      std::int32_t created = newNode(letter, next);
      nodes_[child].nextSibling = created;
      return created;
    }
    child = next;
  }
}

void TTrie::Add(const std::string &word) {
  if (word.empty())
    return;
  std::int32_t current = 0;
  for (char letter : word)
    current = childFor(current, letter);
  nodes_[current].endOfWord = true;
  nodes_[current].value = pendingValue_;
}

std::int32_t TTrie::findNode(const std::string &word) const {
  std::int32_t current = 0;
  for (char letter : word) {
    std::int32_t child = nodes_[current].firstChild;
    while (child != NoNode && lessThan(nodes_[child].letter, letter))
      child = nodes_[child].nextSibling;
    if (child == NoNode || nodes_[child].letter != letter)
      return NoNode;
    current = child;
  }
  return current;
}

void TTrie::Delete(const std::string &word) {
  if (word.empty())
    return;
  std::int32_t node = findNode(word);
  if (node != NoNode)
    nodes_[node].endOfWord = false;
}

bool TTrie::Find(const std::string &word) {
  if (word.empty())
    return false;
  std::int32_t node = findNode(word);
  if (node == NoNode || !nodes_[node].endOfWord)
    return false;
  lastValue_ = nodes_[node].value;
  return true;
}

TTrieStringList::TTrieStringList() { words_.SetCaseSensitive(true); }

void TTrieStringList::Clear() {
  TTrie::Clear();
  words_.Clear();
}

void TTrieStringList::Add(const std::string &word) {
  if (word.empty())
    return;
  TTrie::Add(word);
  words_.Add(word);
}

void TTrieStringList::Delete(const std::string &word) {
  TTrie::Delete(word);
  int index = words_.IndexOf(word);
  if (index >= 0)
    words_.Delete(index);
}

TTrieLookupList::TTrieLookupList() { replacements_.SetCaseSensitive(true); }

void TTrieLookupList::Clear() {
  TTrieStringList::Clear();
  replacements_.Clear();
}

void TTrieLookupList::AddPair(const std::string &word, const std::string &replacement) {
  if (word.empty())
    return;
  int index = replacements_.Add(replacement);
  AddValue(word, index);
}

std::string TTrieLookupList::FoundReplacement() const {
  int index = LastValue();
  if (index < 0 || index >= replacements_.Count())
    return std::string();
  return replacements_[index];
}

} // namespace spelling
