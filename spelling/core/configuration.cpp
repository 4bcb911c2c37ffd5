// The spelling configuration section and the folder scan that makes one up.
#include "spelling/core/configuration.h"

#include "spelling/core/enhanced-ini.h"
#include "spelling/core/staged-file.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"

namespace spelling {

namespace {

const char DictionaryListName[] = "DCT";
const char UserIndexKey[] = "UserIndex";
// Written when no user dictionary is found; deliberately not DefaultUser,
// whose file is known not to exist in that case.
const char FallbackUserName[] = "default.udt";

struct OptionKey {
  const char *key;
  TSpellOption option;
  bool missing; // the value of a key missing from a present section
};

// In the order they are written.
const OptionKey OptionKeys[] = {
    {"soUpcase", soUpcase, true},
    {"soNumbers", soNumbers, false},
    {"soAutoSuggest", soAutoSuggest, true},
    {"soPrimaryOnly", soPrimaryOnly, true},
    {"soRecheck", soRecheck, true},
    {"soRepeated", soRepeated, true},
    {"soDualCaps", soDualCaps, false},
    {"soHTML", soHTML, true},
    {"soInternet", soInternet, true},
    {"soQuoted", soQuoted, true},
    {"soUser1", soUser1, false},
    {"soUser2", soUser2, false},
    {"soUser3", soUser3, false},
    {"soUser4", soUser4, false},
};

} // namespace

TConfiguration::TConfiguration(std::string path, TSpellOptions defaultOptions,
                               std::string defaultUser, std::string defaultMain,
                               std::string section, components::FileSystem &fileSystem)
    : path_(std::move(path)), section_(std::move(section)), defaultOptions_(defaultOptions),
      defaultMain_(std::move(defaultMain)), defaultUser_(std::move(defaultUser)),
      fileSystem_(&fileSystem) {
  if (!path_.empty())
    Load();
}

TConfiguration::~TConfiguration() {
  try {
    if (modified_ && loaded_)
      Save();
  } catch (const components::Exception &) {
    // Nothing can be reported from here; the section is written into a
    // new file that replaces the old one only on success.
  }
}

void TConfiguration::Load() {
  StagedFile file(*fileSystem_, path_);
  file.load();
  TEnhancedINI ini(path_, file);
  mainEntries_.clear();
  userEntries_.clear();
  options_ = TSpellOptions();
  userIndex_ = -1;
  if (ini.SectionPresent(section_))
    readSection(ini);
  else
    scanFolder();
  loaded_ = true;
}

void TConfiguration::readSection(const TEnhancedINI &ini) {
  ini.ReadMainList(section_, DictionaryListName, mainEntries_);
  ini.ReadUserList(section_, DictionaryListName, userEntries_);
  for (const OptionKey &key : OptionKeys)
    options_.set(key.option, ini.ReadBool(section_, key.key, key.missing));
  userIndex_ = ini.ReadInteger(section_, UserIndexKey, -1);
  modified_ = false;
}

void TConfiguration::scanFolder() {
  std::string folder = components::ExtractFilePath(path_);
  std::string listed = folder.empty() ? std::string(".") : folder;
  for (const std::string &name : fileSystem_->listFiles(listed, "*.dct")) {
    TMain entry;
    entry.FileName = folder + name;
    entry.Selected = components::SameText(name, defaultMain_);
    // A damaged dictionary is listed with an empty title; opening it
    // reports the damage when it is used.
    try {
      entry.ReadTitle(*fileSystem_);
    } catch (const components::EStreamError &) {
    }
    mainEntries_.push_back(std::move(entry));
  }
  for (const std::string &name : fileSystem_->listFiles(listed, "*.udt")) {
    TUser entry;
    entry.FileName = folder + name;
    entry.Selected = components::SameText(name, defaultUser_);
    if (entry.Selected)
      userIndex_ = static_cast<int>(userEntries_.size());
    userEntries_.push_back(std::move(entry));
  }
  if (userEntries_.empty()) {
    userEntries_.push_back(TUser{folder + FallbackUserName, true});
    userIndex_ = 0;
  }
  options_ = defaultOptions_;
  modified_ = true;
}

void TConfiguration::Save() {
  StagedFile file(*fileSystem_, path_);
  file.load();
  TEnhancedINI ini(path_, file);
  ini.WriteMainList(section_, DictionaryListName, mainEntries_);
  ini.WriteUserList(section_, DictionaryListName, userEntries_);
  for (const OptionKey &key : OptionKeys)
    ini.WriteBool(section_, key.key, options_.contains(key.option));
  ini.WriteInteger(section_, UserIndexKey, userIndex_);
  file.commit();
  modified_ = false;
}

void TConfiguration::Assign(const TConfiguration &other) {
  if (&other == this)
    return;
  path_ = other.path_;
  section_ = other.section_;
  modified_ = other.modified_;
  loaded_ = other.loaded_;
  options_ = other.options_;
  userIndex_ = other.userIndex_;
  mainEntries_ = other.mainEntries_;
  userEntries_ = other.userEntries_;
}

} // namespace spelling
