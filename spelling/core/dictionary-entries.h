// Configuration entries for dictionary files: a user dictionary is a path
// with a selected flag, a main dictionary adds the title that its ".dct"
// file carries. The configuration keeps them in order, the options dialog
// edits them and the spelling component creates its dictionaries from the
// selected ones.
#ifndef SPELLING_DICTIONARY_ENTRIES_H
#define SPELLING_DICTIONARY_ENTRIES_H

#include "platform/components/core/file-system.h"

#include <string>

namespace spelling {

struct TUser {
  std::string FileName; // path of the dictionary file
  bool Selected = false;

  friend bool operator==(const TUser &a, const TUser &b) {
    return a.FileName == b.FileName && a.Selected == b.Selected;
  }
};

struct TMain : TUser {
  std::string Title; // exactly as stored in the ".dct" file, 25 characters

  // Reads the title from the ".dct" file: the 25 bytes at offset 88, taken
  // whole. Throws EFOpenError when the file cannot be read and EReadError
  // when it is too short to hold a title; the entry is unchanged then.
  void ReadTitle(components::FileSystem &fileSystem = components::defaultFileSystem());

  friend bool operator==(const TMain &a, const TMain &b) {
    return static_cast<const TUser &>(a) == static_cast<const TUser &>(b) && a.Title == b.Title;
  }
};

// Where the title sits in a ".dct" file.
constexpr std::size_t DictionaryTitleOffset = 88;
constexpr std::size_t DictionaryTitleLength = 25;

} // namespace spelling

#endif
