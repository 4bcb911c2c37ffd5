// User dictionaries: the words a user added and the auto-correct pairs,
// kept in an editable ".udt" file, or a read-only ".dic" word list.
//
// A ".udt" file is INI text with two numbered lists (see enhanced-ini.h):
//
//   [Added]
//   IGN_ListCount=1
//   IGN_0=colour
//   [Auto Correct]
//   AC_ListCount=1
//   AC_0=teh@@@the
//
// An auto-correct item is the word, "@@@" and the replacement. A ".dic"
// file is plain text with one word per line and is never written.
//
// Saving rewrites the file by writing a new one beside it and replacing
// the old one with it, so a failed save leaves the user's words as they
// were on disk. Keys and sections the lists do not use are carried over
// unchanged, so a file saved without changes keeps its bytes.
//
// Every word the dictionary accepts reads back as itself: one that the INI
// conventions would change (blanks around it, matching quotes) is written
// between quotes, and one that no line can hold (a line break, a NUL) is
// refused when added. A save reads its lists back before the file is
// replaced; a key the lists do not use that now reads as one of theirs
// (a name whose trailing blank stood before a NUL, which the rewrite
// drops) is removed, so it cannot hide what was written.
#ifndef SPELLING_USER_DICTIONARY_H
#define SPELLING_USER_DICTIONARY_H

#include "platform/components/core/event.h"
#include "platform/components/core/exception.h"
#include "platform/components/core/file-system.h"
#include "platform/components/core/string-list.h"

#include <string>

namespace spelling {

// A word or replacement that no line of the file could hold as itself.
class EUserDictionaryError : public components::Exception {
public:
  using components::Exception::Exception;
};

class TUserDictionary : public components::TObject {
public:
  // Decides from the extension whether the file is a word list, then
  // loads it. Throws what Load throws.
  explicit TUserDictionary(std::string fileName,
                           components::FileSystem &fileSystem = components::defaultFileSystem());
  // Saves a modified ".udt" file, then unloads. A destructor cannot report
  // a failed save; the file keeps its previous contents then.
  ~TUserDictionary() override;
  TUserDictionary(const TUserDictionary &) = delete;
  TUserDictionary &operator=(const TUserDictionary &) = delete;

  // Reads the file unless already loaded (then only clears Modified). A
  // missing file is an empty dictionary. Throws EFOpenError when the file
  // exists but cannot be read.
  void Load();
  // Saves when loaded and modified, then empties the lists.
  void Unload();
  // Writes both lists into the ".udt" file (nothing for a word list).
  // Throws EWriteError or EFOpenError and keeps the old file on failure
  // (also when the lists would not read back as written); Modified stays
  // set then.
  void Save();

  // Both throw EUserDictionaryError for a word or replacement that cannot
  // be stored (and an auto-correct word holding the separator).
  void AddWord(const std::string &word);
  void AddAutoCorrect(const std::string &word, const std::string &replacement);
  void RemoveWord(const std::string &word);
  void RemoveAutoCorrect(const std::string &word);

  const std::string &FileName() const { return fileName_; }
  // Sorted without regard to case; no two entries equal in that comparison.
  const components::TStringList &Words() const { return words_; }
  const components::TStringList &AutoCorrectWords() const { return autoCorrectWords_; }
  const components::TStringList &AutoCorrectReplacements() const {
    return autoCorrectReplacements_;
  }
  bool Modified() const { return modified_; }
  bool Loaded() const { return loaded_; }
  bool IsWordList() const { return wordList_; }

private:
  void loadWordList(const std::string &contents);
  void loadLists(components::FileSystem &staged);
  void clearLists();
  // The form in which item is written so that it reads back as itself.
  std::string storedForm(const std::string &item) const;

  std::string fileName_;
  components::FileSystem &fileSystem_;
  components::TStringList words_;
  components::TStringList autoCorrectWords_;
  components::TStringList autoCorrectReplacements_;
  bool modified_ = false;
  bool loaded_ = false;
  bool wordList_ = false;
};

// Section and list names of a ".udt" file.
extern const char AddedSection[];
extern const char AutoCorrectSection[];
extern const char AddedListName[];
extern const char AutoCorrectListName[];
extern const char AutoCorrectSeparator[];

} // namespace spelling

#endif
