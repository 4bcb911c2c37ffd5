// User dictionaries: ".udt" files with added words and auto-correct pairs,
// and read-only ".dic" word lists.
#include "spelling/core/user-dictionary.h"

#include "spelling/core/enhanced-ini.h"
#include "spelling/core/staged-file.h"

#include "platform/components/core/exception.h"

namespace spelling {

const char AddedSection[] = "Added";
const char AutoCorrectSection[] = "Auto Correct";
const char AddedListName[] = "IGN";
const char AutoCorrectListName[] = "AC";
const char AutoCorrectSeparator[] = "@@@";

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
  components::TStringList lines;
  lines.SetText(contents);
  for (int i = 0; i < lines.Count(); ++i)
    if (!lines[i].empty())
      words_.Add(lines[i]);
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

void TUserDictionary::Save() {
  if (wordList_)
    return;
  // The lists are written into a copy of the current file so that keys
  // the lists do not use survive; the copy then replaces the file whole.
  StagedFile file(fileSystem_, fileName_);
  file.load();
  TEnhancedINI ini(fileName_, file);
  ini.WriteList(AddedSection, AddedListName, words_);
  components::TStringList pairs;
  for (int i = 0; i < autoCorrectWords_.Count(); ++i)
    pairs.Add(autoCorrectWords_[i] + AutoCorrectSeparator + autoCorrectReplacements_[i]);
  ini.WriteList(AutoCorrectSection, AutoCorrectListName, pairs);
  file.commit();
  modified_ = false;
}

void TUserDictionary::AddWord(const std::string &word) {
  if (wordList_)
    return;
  modified_ = true;
  words_.Add(word);
}

void TUserDictionary::AddAutoCorrect(const std::string &word, const std::string &replacement) {
  if (wordList_)
    return;
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
