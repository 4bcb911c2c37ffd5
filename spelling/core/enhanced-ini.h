// Numbered lists in INI files, as the user dictionaries and the spelling
// configuration store them. A list named N in a section is the key
// N_ListCount with the count c and the keys N_0 to N_<c-1> with the items:
//
//   [Added]
//   IGN_ListCount=2
//   IGN_0=colour
//   IGN_1=flavour
//
// Dictionary entries are lists whose items are "T" or "F" (selected or
// not) followed by the file path; a main dictionary list also keeps the
// titles in a second list and marks its section with ID=1.
#ifndef SPELLING_ENHANCED_INI_H
#define SPELLING_ENHANCED_INI_H

#include "spelling/core/dictionary-entries.h"

#include "platform/components/core/ini-file.h"
#include "platform/components/core/string-list.h"

#include <map>
#include <string>
#include <vector>

namespace spelling {

class TEnhancedINI : public components::TIniFile {
public:
  explicit TEnhancedINI(std::string fileName,
                        components::FileSystem &fileSystem = components::defaultFileSystem());

  // Appends the non-empty items of the list to list, in key order. The
  // count only limits which keys are items: the keys themselves are taken
  // from the file, so a damaged count costs nothing beyond what the file
  // holds.
  void ReadList(const std::string &section, const std::string &name,
                components::TStringList &list) const;
  // Writes the count and the items. Keys of an earlier, longer list are
  // left in the file; the count says where the list ends.
  void WriteList(const std::string &section, const std::string &name,
                 const components::TStringList &list);

  void ReadUserList(const std::string &section, const std::string &name,
                    std::vector<TUser> &entries) const;
  void WriteUserList(const std::string &section, const std::string &name,
                     const std::vector<TUser> &entries);
  // Main entries: a listed file that does not exist is read as unselected;
  // a title missing from the file's title list is read from the dictionary
  // itself, and stays empty when that file is missing or damaged.
  void ReadMainList(const std::string &section, const std::string &name,
                    std::vector<TMain> &entries) const;
  void WriteMainList(const std::string &section, const std::string &name,
                     const std::vector<TMain> &entries);

  // True when the section carries ID=1 (written with every main list).
  bool SectionPresent(const std::string &section) const;

private:
  // Name=Value lines of the first section of that name, as
  // ReadSectionValues gives them, in time linear in the file's size.
  void readSectionValues(const std::string &section, components::TStringList &values) const;
  // The items of a list by their key number; empty items are left out.
  std::map<long, std::string> readIndexedList(const std::string &section,
                                              const std::string &name) const;
  static std::vector<std::pair<long, TUser>> userEntries(const std::map<long, std::string> &items);

  components::FileSystem &fileSystem_;
};

} // namespace spelling

#endif
