// String lists and the case-insensitive text comparison they use.
//
// A sorted list keeps its entries in the order of its comparison and finds
// them by binary search; an unsorted list keeps the order of insertion.
#include "platform/components/core/string-list.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/stream.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>

namespace components {

namespace {

// Lower case of one byte of the ANSI (Latin-1 based) code page.
unsigned char foldByte(unsigned char c) {
  if (c >= 'A' && c <= 'Z')
    return static_cast<unsigned char>(c + 32);
  if ((c >= 0xC0 && c <= 0xDE) && c != 0xD7)
    return static_cast<unsigned char>(c + 32);
  return c;
}

unsigned char upperByte(unsigned char c) {
  if (c >= 'a' && c <= 'z')
    return static_cast<unsigned char>(c - 32);
  if ((c >= 0xE0 && c <= 0xFE) && c != 0xF7)
    return static_cast<unsigned char>(c - 32);
  return c;
}

} // namespace

int CompareText(const std::string &a, const std::string &b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = foldByte(static_cast<unsigned char>(a[i]));
    unsigned char y = foldByte(static_cast<unsigned char>(b[i]));
    if (x != y)
      return x < y ? -1 : 1;
  }
  if (a.size() == b.size())
    return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(const std::string &a, const std::string &b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string LowerCase(const std::string &text) {
  std::string out = text;
  for (char &c : out)
    c = static_cast<char>(foldByte(static_cast<unsigned char>(c)));
  return out;
}

std::string UpperCase(const std::string &text) {
  std::string out = text;
  for (char &c : out)
    c = static_cast<char>(upperByte(static_cast<unsigned char>(c)));
  return out;
}

namespace {

[[noreturn]] void indexError(int index) {
  throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

[[noreturn]] void sortedError() { throw EStringListError("Operation not allowed on sorted list"); }

int compareBytes(const std::string &a, const std::string &b) {
  int result = a.compare(b);
  return result < 0 ? -1 : result > 0 ? 1 : 0;
}

} // namespace

const std::string &TStringList::Strings(int index) const {
  if (index < 0 || index >= Count())
    indexError(index);
  return items_[static_cast<std::size_t>(index)].text;
}

void TStringList::Put(int index, std::string text) {
  if (sorted_)
    sortedError();
  if (index < 0 || index >= Count())
    indexError(index);
  items_[static_cast<std::size_t>(index)].text = std::move(text);
  changed();
}

int TStringList::Add(std::string text) {
  int index = Count();
  if (sorted_ && Find(text, index)) {
    switch (duplicates_) {
    case TDuplicates::dupIgnore:
      return index;
    case TDuplicates::dupError:
      throw EStringListError("String list does not allow duplicates");
    case TDuplicates::dupAccept:
      break;
    }
  }
  items_.insert(items_.begin() + index, Item{std::move(text)});
  changed();
  return index;
}

void TStringList::AddStrings(const TStringList &other) {
  // Copy first: other may be this list.
  addAll(other.items_);
}

// Adds the items as Add would, one after the other. A sorted list that
// ignores duplicates takes them in one merge instead: inserting each at
// its place would move the list's tail every time, which makes a long
// list quadratic to fill. The first of equal items is kept, as Add keeps
// it.
void TStringList::addAll(std::vector<Item> items) {
  if (!sorted_ || duplicates_ != TDuplicates::dupIgnore) {
    for (Item &item : items)
      Add(std::move(item.text));
    return;
  }
  auto less = [this](const Item &a, const Item &b) { return compare(a.text, b.text) < 0; };
  auto equal = [this](const Item &a, const Item &b) { return compare(a.text, b.text) == 0; };
  std::stable_sort(items.begin(), items.end(), less);
  items.erase(std::unique(items.begin(), items.end(), equal), items.end());
  std::vector<Item> fresh;
  for (Item &item : items) {
    int at;
    if (!Find(item.text, at))
      fresh.push_back(std::move(item));
  }
  if (fresh.empty())
    return;
  std::vector<Item> merged;
  merged.reserve(items_.size() + fresh.size());
  std::merge(std::make_move_iterator(items_.begin()), std::make_move_iterator(items_.end()),
             std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()),
             std::back_inserter(merged), less);
  items_ = std::move(merged);
  changed();
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count())
    indexError(index);
  items_.erase(items_.begin() + index);
  changed();
}

void TStringList::Clear() {
  if (items_.empty())
    return;
  items_.clear();
  changed();
}

void TStringList::Assign(const TStringList &other) {
  if (&other == this)
    return;
  std::vector<Item> items = other.items_;
  items_.clear();
  addAll(std::move(items));
  changed();
}

int TStringList::IndexOf(const std::string &text) const {
  int index;
  if (sorted_)
    return Find(text, index) ? index : -1;
  for (int i = 0; i < Count(); ++i)
    if (compare(items_[static_cast<std::size_t>(i)].text, text) == 0)
      return i;
  return -1;
}

bool TStringList::Find(const std::string &text, int &index) const {
  if (!sorted_) {
    // Binary search means nothing in an unsorted list: look at every entry
    // and answer the end as the place to insert.
    for (int i = 0; i < Count(); ++i) {
      if (compare(items_[static_cast<std::size_t>(i)].text, text) == 0) {
        index = i;
        return true;
      }
    }
    index = Count();
    return false;
  }
  // The lowest entry not less than text, so that the first of several
  // equal entries is found.
  int low = 0, high = Count();
  while (low < high) {
    int middle = low + (high - low) / 2;
    if (compare(items_[static_cast<std::size_t>(middle)].text, text) < 0)
      low = middle + 1;
    else
      high = middle;
  }
  index = low;
  return low < Count() && compare(items_[static_cast<std::size_t>(low)].text, text) == 0;
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_)
    return;
  if (sorted)
    Sort();
  sorted_ = sorted;
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item &a, const Item &b) { return compare(a.text, b.text) < 0; });
  changed();
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == caseSensitive_)
    return;
  caseSensitive_ = caseSensitive;
  if (sorted_)
    Sort();
}

std::string TStringList::Text() const {
  std::string text;
  for (const Item &item : items_)
    text += item.text + "\r\n";
  return text;
}

void TStringList::SetText(const std::string &text) {
  items_.clear();
  std::size_t begin = 0, n = text.size();
  while (begin < n) {
    std::size_t end = begin;
    while (end < n && text[end] != '\r' && text[end] != '\n')
      ++end;
    Add(text.substr(begin, end - begin));
    if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n')
      ++end;
    begin = end + 1;
  }
  changed();
}

void TStringList::LoadFromStream(TStream &stream) {
  std::int64_t remaining = stream.Remaining();
  std::string text;
  if (static_cast<std::uint64_t>(remaining) > text.max_size())
    throw EReadError("Stream read error");
  if (remaining > 0) {
    text.resize(static_cast<std::size_t>(remaining));
    stream.ReadBuffer(&text[0], text.size());
  }
  SetText(text);
}

void TStringList::LoadFromFile(const std::string &fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

int TStringList::compare(const std::string &a, const std::string &b) const {
  return caseSensitive_ ? compareBytes(a, b) : CompareText(a, b);
}

void TStringList::changed() { OnChange(const_cast<TStringList *>(this)); }

} // namespace components
