// The spelling configuration: which main and user dictionaries are in use,
// which user dictionary receives new words, and the checking options. It
// lives in one section of an INI-format file ("VERBA.CFG" beside the
// program by default), so several programs can share the file under
// different section names. The section, in the order written:
//
//   [verba]
//   ID=1
//   U_MU_DCT_ListCount=2          main dictionaries: T/F + path
//   U_MU_DCT_0=TC:\app\english.dct
//   ...
//   M_DCT_ListCount=2             their titles, same numbering
//   M_DCT_0=English (US)
//   ...
//   U_DCT_ListCount=1             user dictionaries: T/F + path
//   U_DCT_0=TC:\app\default.udt
//   soUpcase=0 ... soUser4=0      fourteen option keys
//   UserIndex=0
//
// Without the section, the configuration is made up from the ".dct" and
// ".udt" files in the file's folder and written when it is destroyed.
#ifndef SPELLING_CONFIGURATION_H
#define SPELLING_CONFIGURATION_H

#include "spelling/core/dictionary-entries.h"
#include "spelling/core/spell-options.h"

#include "platform/components/core/event.h"
#include "platform/components/core/file-system.h"

#include <string>
#include <vector>

namespace spelling {

class TEnhancedINI;

class TConfiguration : public components::TObject {
public:
  // Loads at once when path is not empty (and throws what Load throws).
  TConfiguration(std::string path, TSpellOptions defaultOptions, std::string defaultUser,
                 std::string defaultMain, std::string section,
                 components::FileSystem &fileSystem = components::defaultFileSystem());
  // Saves when modified and loaded. A destructor cannot report a failed
  // save; the file keeps its previous contents then.
  ~TConfiguration() override;
  TConfiguration(const TConfiguration &) = delete;
  TConfiguration &operator=(const TConfiguration &) = delete;

  // Forgets every entry and option, then reads the section or, when it is
  // missing, scans the folder. Throws EFOpenError when the file exists but
  // cannot be read.
  void Load();
  // Writes the section; the rest of the file is kept. Throws EWriteError
  // or EFOpenError and keeps the old file on failure.
  void Save();
  // Copies path, section, marks, options, UserIndex and entries; the
  // defaults stay as they are.
  void Assign(const TConfiguration &other);

  const std::string &Path() const { return path_; }
  const std::string &Section() const { return section_; }
  std::vector<TMain> &MainEntries() { return mainEntries_; }
  const std::vector<TMain> &MainEntries() const { return mainEntries_; }
  std::vector<TUser> &UserEntries() { return userEntries_; }
  const std::vector<TUser> &UserEntries() const { return userEntries_; }
  int UserIndex() const { return userIndex_; }
  void SetUserIndex(int index) { userIndex_ = index; }
  TSpellOptions Options() const { return options_; }
  void SetOptions(TSpellOptions options) { options_ = options; }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  bool Loaded() const { return loaded_; }

  TSpellOptions DefaultOptions() const { return defaultOptions_; }
  void SetDefaultOptions(TSpellOptions options) { defaultOptions_ = options; }
  const std::string &DefaultMain() const { return defaultMain_; }
  void SetDefaultMain(std::string name) { defaultMain_ = std::move(name); }
  const std::string &DefaultUser() const { return defaultUser_; }
  void SetDefaultUser(std::string name) { defaultUser_ = std::move(name); }

private:
  void readSection(const TEnhancedINI &ini);
  void scanFolder();

  std::string path_;
  std::string section_;
  std::vector<TMain> mainEntries_;
  std::vector<TUser> userEntries_;
  int userIndex_ = -1;
  bool modified_ = false;
  bool loaded_ = false;
  TSpellOptions options_;
  TSpellOptions defaultOptions_;
  std::string defaultMain_;
  std::string defaultUser_;
  components::FileSystem *fileSystem_;
};

} // namespace spelling

#endif
