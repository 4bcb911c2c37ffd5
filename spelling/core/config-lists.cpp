// Moving and removing dictionary entries with the add-words choice kept on
// its dictionary.
#include "spelling/core/config-lists.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace spelling {

namespace {

template <typename Entry> bool inRange(const std::vector<Entry> &entries, int index) {
  return index >= 0 && index < static_cast<int>(entries.size());
}

template <typename Entry> int moveEntry(std::vector<Entry> &entries, int index, int delta) {
  int other = index + delta;
  if (!inRange(entries, index) || !inRange(entries, other))
    return index;
  std::swap(entries[static_cast<std::size_t>(index)], entries[static_cast<std::size_t>(other)]);
  return other;
}

template <typename Entry> int removeEntry(std::vector<Entry> &entries, int index) {
  if (!inRange(entries, index))
    return index;
  entries.erase(entries.begin() + index);
  int count = static_cast<int>(entries.size());
  return index < count ? index : count - 1;
}

std::string lowerCase(std::string text) {
  for (char &c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool receivesWords(const TUser &entry) {
  std::string name = lowerCase(entry.FileName);
  return entry.Selected && name.size() >= 4 && name.compare(name.size() - 4, 4, ".udt") == 0;
}

} // namespace

int moveMainEntry(TConfiguration &config, int index, int delta) {
  return moveEntry(config.MainEntries(), index, delta);
}

int moveUserEntry(TConfiguration &config, int index, int delta) {
  int moved = moveEntry(config.UserEntries(), index, delta);
  if (moved == index)
    return index;
  if (config.UserIndex() == index)
    config.SetUserIndex(moved);
  else if (config.UserIndex() == moved)
    config.SetUserIndex(index);
  return moved;
}

int removeMainEntry(TConfiguration &config, int index) {
  return removeEntry(config.MainEntries(), index);
}

int removeUserEntry(TConfiguration &config, int index) {
  if (!inRange(config.UserEntries(), index))
    return index;
  int chosen = config.UserIndex();
  if (chosen == index)
    config.SetUserIndex(-1);
  else if (chosen > index)
    config.SetUserIndex(chosen - 1);
  return removeEntry(config.UserEntries(), index);
}

std::vector<int> addWordsToEntries(const TConfiguration &config) {
  std::vector<int> entries;
  const std::vector<TUser> &users = config.UserEntries();
  for (std::size_t i = 0; i < users.size(); ++i)
    if (receivesWords(users[i]))
      entries.push_back(static_cast<int>(i));
  return entries;
}

int refreshAddWordsTo(TConfiguration &config) {
  std::vector<int> entries = addWordsToEntries(config);
  auto chosen = std::find(entries.begin(), entries.end(), config.UserIndex());
  if (chosen != entries.end())
    return static_cast<int>(chosen - entries.begin());
  if (entries.empty()) {
    config.SetUserIndex(-1);
    return -1;
  }
  config.SetUserIndex(entries.front());
  return 0;
}

std::string dictionaryDisplayName(const std::string &path) {
  std::size_t slash = path.find_last_of("\\/:");
  return lowerCase(slash == std::string::npos ? path : path.substr(slash + 1));
}

} // namespace spelling
