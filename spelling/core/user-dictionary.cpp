// User dictionaries: ".udt" files with added words and auto-correct pairs,
// and read-only ".dic" word lists.
#include "spelling/core/user-dictionary.h"

#include "spelling/core/enhanced-ini.h"
#include "spelling/core/staged-file.h"

#include "platform/components/core/exception.h"

#include <algorithm>
#include <set>
#include <vector>

namespace spelling {

const char AddedSection[] = "Added";
const char AutoCorrectSection[] = "Auto Correct";
const char AddedListName[] = "IGN";
const char AutoCorrectListName[] = "AC";
const char AutoCorrectSeparator[] = "@@@";

namespace {

// Reads as itself under any INI convention: no control character, and
// neither a blank nor a quote at either end.
bool plainItem(const std::string &item) {
  if (item.empty())
    return true;
  for (char c : item)
    if (static_cast<unsigned char>(c) < ' ')
      return false;
  auto edge = [](char c) { return c == ' ' || c == '"' || c == '\''; };
  return !edge(item.front()) && !edge(item.back());
}

// Whether the list item written as stored reads back as item, asked of the
// INI class itself on an empty file in memory.
bool readsBackAs(components::FileSystem &base, const std::string &stored, const std::string &item) {
  const std::string name = "item-probe.udt";
  StagedFile scratch(base, name); // never loaded: an empty file
  TEnhancedINI ini(name, scratch);
  components::TStringList one;
  one.Add(stored);
  ini.WriteList(AddedSection, AddedListName, one);
  components::TStringList back;
  ini.ReadList(AddedSection, AddedListName, back);
  return back.Count() == 1 && back[0] == item;
}

std::vector<std::string> itemsOf(const components::TStringList &list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i)
    if (!list[i].empty()) // an empty item is no item on reading
      items.push_back(list[i]);
  return items;
}

// Whether the list reads back from the file as the items written.
bool readsBack(const TEnhancedINI &ini, const char *section, const char *name,
               const components::TStringList &items) {
  components::TStringList back;
  ini.ReadList(section, name, back);
  return itemsOf(back) == itemsOf(items);
}

// Removes every key that reads as one of the list's keys: its count and
// items 0 to count - 1, the list's own and any other that now reads so.
// Answers whether the file changed.
bool removeListKeys(TEnhancedINI &ini, const StagedFile &file, const char *section,
                    const std::string &name, int count) {
  bool changed = false;
  auto removeAll = [&](const std::string &key) {
    // A key that a deletion cannot reach stays; the file no longer changes.
    while (ini.ValueExists(section, key)) {
      std::string before = file.contents();
      ini.DeleteKey(section, key);
      if (file.contents() == before)
        return;
      changed = true;
    }
  };
  removeAll(name + "_ListCount");
  for (int i = 0; i < count; ++i)
    removeAll(name + "_" + std::to_string(i));
  if (!changed) {
    // No key hides the list: a section does. A header whose name ended in
    // a blank before a NUL now reads as the list's section and, coming
    // first, is the one every look-up finds. Its keys were never read as
    // the list's, so it goes; the list is written again after it.
    std::string before = file.contents();
    ini.EraseSection(section);
    changed = file.contents() != before;
  }
  return changed;
}

} // namespace

TUserDictionary::TUserDictionary(std::string fileName, components::FileSystem &fileSystem)
    : fileName_(std::move(fileName)), fileSystem_(fileSystem) {
  words_.SetSorted(true);
  words_.SetDuplicates(components::TDuplicates::dupIgnore);
  wordList_ = components::LowerCase(components::ExtractFileExt(fileName_)) == ".dic";
  Load();
}

TUserDictionary::~TUserDictionary() {
  try {
    if (modified_ && !wordList_)
      Save();
  } catch (const components::Exception &) {
    // Nothing can be reported from here; the save wrote a new file and
    // replaced the old one only on success, so the old words are intact.
  }
  modified_ = false;
  try {
    Unload();
  } catch (const components::Exception &) {
  }
}

void TUserDictionary::clearLists() {
  words_.Clear();
  autoCorrectWords_.Clear();
  autoCorrectReplacements_.Clear();
}

void TUserDictionary::loadWordList(const std::string &contents) {
  components::TStringList lines, words;
  lines.SetText(contents);
  for (int i = 0; i < lines.Count(); ++i)
    if (!lines[i].empty())
      words.Add(lines[i]);
  words_.AddStrings(words);
}

void TUserDictionary::loadLists(components::FileSystem &staged) {
  TEnhancedINI ini(fileName_, staged);
  ini.ReadList(AddedSection, AddedListName, words_);
  components::TStringList pairs;
  ini.ReadList(AutoCorrectSection, AutoCorrectListName, pairs);
  // An item without the separator is kept as an empty word whose
  // replacement is the whole item.
  for (int i = 0; i < pairs.Count(); ++i) {
    const std::string &item = pairs[i];
    std::size_t at = item.find(AutoCorrectSeparator);
    if (at == std::string::npos) {
      autoCorrectWords_.Add(std::string());
      autoCorrectReplacements_.Add(item);
      continue;
    }
    autoCorrectWords_.Add(item.substr(0, at));
    autoCorrectReplacements_.Add(item.substr(at + 3));
  }
}

void TUserDictionary::Load() {
  if (loaded_) {
    modified_ = false;
    return;
  }
  StagedFile file(fileSystem_, fileName_);
  file.load();
  clearLists();
  if (wordList_)
    loadWordList(file.contents());
  else
    loadLists(file);
  loaded_ = true;
  modified_ = false;
}

void TUserDictionary::Unload() {
  if (loaded_ && modified_)
    Save();
  clearLists();
  modified_ = false;
  loaded_ = false;
}

std::string TUserDictionary::storedForm(const std::string &item) const {
  if (plainItem(item))
    return item;
  if (readsBackAs(fileSystem_, item, item))
    return item;
  std::string quoted = '"' + item + '"';
  if (readsBackAs(fileSystem_, quoted, item))
    return quoted;
  // Shown in a message box: control characters as "?", or a NUL would
  // cut the message short.
  std::string shown = item;
  std::replace_if(
      shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; }, '?');
  throw EUserDictionaryError("\"" + shown + "\" cannot be stored in the user dictionary " +
                             fileName_);
}

void TUserDictionary::Save() {
  if (wordList_)
    return;
  // The lists are written into a copy of the current file so that keys
  // the lists do not use survive; the copy then replaces the file whole.
  StagedFile file(fileSystem_, fileName_);
  file.load();
  TEnhancedINI ini(fileName_, file);
  components::TStringList words, pairs, storedWords, storedPairs;
  for (int i = 0; i < words_.Count(); ++i) {
    words.Add(words_[i]);
    storedWords.Add(storedForm(words_[i]));
  }
  for (int i = 0; i < autoCorrectWords_.Count(); ++i) {
    pairs.Add(autoCorrectWords_[i] + AutoCorrectSeparator + autoCorrectReplacements_[i]);
    storedPairs.Add(storedForm(pairs[pairs.Count() - 1]));
  }
  // Each pass that finds a list reading otherwise removes keys that hid
  // it; one that can remove none, or that comes back to a file written
  // before, ends the save.
  std::set<std::string> written;
  for (;;) {
    ini.WriteList(AddedSection, AddedListName, storedWords);
    ini.WriteList(AutoCorrectSection, AutoCorrectListName, storedPairs);
    bool again = !written.insert(file.contents()).second;
    bool wordsBack = readsBack(ini, AddedSection, AddedListName, words);
    bool pairsBack = readsBack(ini, AutoCorrectSection, AutoCorrectListName, pairs);
    if (wordsBack && pairsBack)
      break;
    bool removed = false;
    if (!wordsBack)
      removed |= removeListKeys(ini, file, AddedSection, AddedListName, storedWords.Count());
    if (!pairsBack)
      removed |=
          removeListKeys(ini, file, AutoCorrectSection, AutoCorrectListName, storedPairs.Count());
    if (again || !removed)
      throw components::EWriteError("The user dictionary " + fileName_ +
                                    " cannot be written so that its words read back");
  }
  file.commit();
  modified_ = false;
}

void TUserDictionary::AddWord(const std::string &word) {
  if (wordList_)
    return;
  storedForm(word); // refuses what cannot be stored
  modified_ = true;
  words_.Add(word);
}

void TUserDictionary::AddAutoCorrect(const std::string &word, const std::string &replacement) {
  if (wordList_)
    return;
  if (word.find(AutoCorrectSeparator) != std::string::npos)
    throw EUserDictionaryError("\"" + word + "\" holds \"" + AutoCorrectSeparator +
                               "\" and cannot be stored as an auto-correct word");
  storedForm(word + AutoCorrectSeparator + replacement); // refuses what cannot be stored
  modified_ = true;
  int index = autoCorrectWords_.IndexOf(word);
  if (index >= 0) {
    autoCorrectReplacements_.Put(index, replacement);
    return;
  }
  autoCorrectWords_.Add(word);
  autoCorrectReplacements_.Add(replacement);
}

void TUserDictionary::RemoveWord(const std::string &word) {
  if (wordList_)
    return;
  int index = words_.IndexOf(word);
  if (index >= 0)
    words_.Delete(index);
}

void TUserDictionary::RemoveAutoCorrect(const std::string &word) {
  if (wordList_)
    return;
  int index = autoCorrectWords_.IndexOf(word);
  if (index < 0)
    return;
  autoCorrectWords_.Delete(index);
  autoCorrectReplacements_.Delete(index);
}

} // namespace spelling
