// The spelling component: properties, configuration, dictionaries and the
// word tests. The check itself is in check-loop.cpp, the dialog's commands
// in spell-commands.cpp and the dialog's handling in verba-spell-dialog.cpp.
#include "spelling/core/verba-spell.h"

#include "spelling/core/configuration.h"
#include "spelling/core/dictionary.h"
#include "spelling/core/parser-affixes.h"
#include "spelling/core/suggestions.h"
#include "spelling/core/trie.h"
#include "spelling/core/user-dictionary.h"
#include "spelling/core/word-chars.h"

#include "platform/components/core/exception.h"

#include <chrono>

namespace spelling {

namespace {

const char CRLF[] = "\r\n";

} // namespace

TVerbaSpell::TVerbaSpell(components::TComponent *owner, components::FileSystem &fileSystem)
    : TComponent(owner), Platform(DefaultSpellPlatform()), fileSystem_(fileSystem),
      knownWords_(std::make_unique<TTrieStringList>()),
      replacements_(std::make_unique<TTrieLookupList>()),
      random_(static_cast<std::minstd_rand::result_type>(
          std::chrono::steady_clock::now().time_since_epoch().count())) {
  splitAffixes();
}

TVerbaSpell::~TVerbaSpell() {
  // A dialog that outlives the component must not call back into it.
  unlinkDialogControl();
  if (dialog_ && ownDialog_)
    dialog_->Release();
  dialog_ = nullptr;
  parser_.reset();
  users_.clear();
  mains_.clear();
}

// Property setters. None acts while the component's stored values are read.

void TVerbaSpell::SetConfigInAppDir(bool value) {
  if (value == configInAppDir_)
    return;
  configInAppDir_ = value;
  if (!Loading())
    ReadConfiguration();
}

void TVerbaSpell::SetConfigFileName(const std::string &value) {
  if (value == configFileName_)
    return;
  configFileName_ = value;
  if (!Loading())
    ReadConfiguration();
}

void TVerbaSpell::SetConfigKey(const std::string &value) {
  configKey_ = value;
  if (!Loading())
    ReadConfiguration();
}

void TVerbaSpell::SetConfigAvailable(bool value) {
  configAvailable_ = value;
  if (dialog_)
    enable(ciOptions, value);
}

void TVerbaSpell::SetAlwaysActive(bool value) {
  alwaysActive_ = value;
  if (Loading())
    return;
  if (active_ && !value)
    Deactivate();
  else if (!active_ && value)
    Activate();
}

void TVerbaSpell::SetMaxSuggestions(int value) {
  maxSuggestions_ = value;
  for (auto &main : mains_)
    main->SetSuggestLimit(value);
}

void TVerbaSpell::SetMaxUndo(int value) {
  maxUndo_ = value;
  if (parser_)
    parser_->SetUndoDepth(value);
}

void TVerbaSpell::SetDefaultMain(const std::string &value) {
  defaultMain_ = value;
  if (configuration_)
    configuration_->SetDefaultMain(value);
}

void TVerbaSpell::SetDefaultUser(const std::string &value) {
  defaultUser_ = value;
  if (configuration_)
    configuration_->SetDefaultUser(value);
}

void TVerbaSpell::SetDefaultOptions(TSpellOptions value) {
  defaultOptions_ = value;
  if (configuration_)
    configuration_->SetDefaultOptions(value);
}

void TVerbaSpell::SetLanguageIndex(int value) {
  if (value >= 0 && value < languages_.Count())
    languageIndex_ = value;
}

void TVerbaSpell::Loaded() {
  TComponent::Loaded();
  ReadConfiguration();
}

// Configuration and dictionaries.

std::string TVerbaSpell::configPath() const {
  if (!configInAppDir_)
    return configFileName_;
  std::string folder = Platform.ProgramDirectory ? Platform.ProgramDirectory() : std::string();
  return folder + configFileName_;
}

TSpellOptions TVerbaSpell::options() const {
  return configuration_ ? configuration_->Options() : defaultOptions_;
}

void TVerbaSpell::splitAffixes() {
  SuffixList = spelling::splitAffixes(IgnoreSuffix);
  PrefixList = spelling::splitAffixes(IgnorePrefix);
}

void TVerbaSpell::ReadConfiguration() {
  // The old configuration writes itself back when modified.
  configuration_.reset();
  configuration_ = std::make_unique<TConfiguration>(configPath(), defaultOptions_, defaultUser_,
                                                    defaultMain_, configKey_, fileSystem_);
  splitAffixes();
  ApplyConfiguration();
  if (alwaysActive_)
    Activate();
  ClearSessionLists();
}

void TVerbaSpell::ApplyConfiguration() {
  if (!configuration_)
    return;
  auto oldUsers = std::move(users_);
  users_.clear();
  currentUser_ = nullptr;
  const auto &userEntries = configuration_->UserEntries();
  for (std::size_t i = 0; i < userEntries.size(); ++i) {
    const TUser &entry = userEntries[i];
    if (!entry.Selected)
      continue;
    std::unique_ptr<TUserDictionary> user;
    for (auto &old : oldUsers) {
      if (old && old->FileName() == entry.FileName) {
        user = std::move(old);
        break;
      }
    }
    // A dictionary kept from before keeps its words as they are: loading
    // it again would forget that words were added and never write them.
    try {
      if (!user)
        user = std::make_unique<TUserDictionary>(entry.FileName, fileSystem_);
    } catch (const components::Exception &error) {
      // An unreadable user dictionary is left out; checking goes on.
      showMessage(error.Message(), TMessageKind::Information, TMessageButtons::OK);
      continue;
    }
    if (static_cast<int>(i) == configuration_->UserIndex())
      currentUser_ = user.get();
    users_.push_back(std::move(user));
  }
  oldUsers.clear(); // each saves itself when modified

  auto oldMains = std::move(mains_);
  mains_.clear();
  for (const TMain &entry : configuration_->MainEntries()) {
    if (!entry.Selected)
      continue;
    std::unique_ptr<TDictionary> main;
    for (auto &old : oldMains) {
      if (old && old->FileName() == entry.FileName) {
        main = std::move(old);
        break;
      }
    }
    if (!main) {
      main = std::make_unique<TDictionary>(entry.FileName);
      if (active_)
        openMain(*main);
    }
    mains_.push_back(std::move(main));
  }
  oldMains.clear();
  for (auto &main : mains_)
    main->SetSuggestLimit(maxSuggestions_);
  RebuildTries();
}

// A missing file is reported by its path; a damaged one by what the
// reader found wrong, which names the path, the offset and the fault.
void TVerbaSpell::openMain(TDictionary &main) {
  std::string found = main.FileName();
  try {
    if (main.Open())
      return;
  } catch (const components::Exception &error) {
    found = error.Message();
  }
  showMessage(GetString(62) + CRLF + found, TMessageKind::Information, TMessageButtons::Abort);
}

void TVerbaSpell::RebuildTries() {
  knownWords_->Clear();
  replacements_->Clear();
  for (const auto &user : users_) {
    const auto &words = user->AutoCorrectWords();
    const auto &replacements = user->AutoCorrectReplacements();
    for (int i = 0; i < words.Count() && i < replacements.Count(); ++i)
      replacements_->AddPair(words[i], replacements[i]);
    for (int i = 0; i < user->Words().Count(); ++i)
      knownWords_->Add(user->Words()[i]);
  }
  for (int i = 0; i < changeAllWords_.Count() && i < changeAllReplacements_.Count(); ++i)
    replacements_->AddPair(changeAllWords_[i], changeAllReplacements_[i]);
  for (int i = 0; i < ignoreAll_.Count(); ++i)
    knownWords_->Add(ignoreAll_[i]);
}

void TVerbaSpell::ClearSessionLists() {
  ignoreAll_.Clear();
  changeAllWords_.Clear();
  changeAllReplacements_.Clear();
  RebuildTries();
}

void TVerbaSpell::Activate() {
  if (active_)
    return;
  if (!configuration_)
    ReadConfiguration();
  if (active_)
    return; // ReadConfiguration activated an always-active component
  if (mains_.empty()) {
    TMessageResult answer = showMessage(ConvertLineBreaks(GetString(60)), TMessageKind::Information,
                                        TMessageButtons::YesNo);
    if (answer == TMessageResult::Yes) {
      Setup();
      if (!mains_.empty())
        Activate();
    }
    return;
  }
  active_ = true;
  for (auto &main : mains_) {
    if (!main->Opened())
      openMain(*main);
  }
  for (auto &user : users_) {
    try {
      user->Load();
    } catch (const components::Exception &error) {
      showMessage(error.Message(), TMessageKind::Information, TMessageButtons::OK);
    }
  }
  RebuildTries();
}

void TVerbaSpell::Deactivate() {
  if (!active_ || alwaysActive_)
    return;
  active_ = false;
  for (auto &main : mains_)
    main->Close();
  for (auto &user : users_) {
    try {
      user->Unload();
    } catch (const components::Exception &error) {
      // The words stay in memory (Modified is still set) for the next try.
      showMessage(error.Message(), TMessageKind::Information, TMessageButtons::OK);
    }
  }
}

// Strings, letters and word tests.

std::string TVerbaSpell::GetString(int index) const {
  return languages_.GetString(languageIndex_, index);
}

std::string TVerbaSpell::GetWordChars() const {
  std::vector<const TDictionary *> mains;
  for (const auto &main : mains_)
    mains.push_back(main.get());
  return spelling::GetWordChars(mains, GetString(2));
}

std::string TVerbaSpell::GetLowerCase(const std::string &word) const {
  if (!OnGetLowerCase.Assigned())
    return components::LowerCase(word);
  std::string result = word;
  OnGetLowerCase(const_cast<TVerbaSpell *>(this), result, word);
  return result;
}

std::string TVerbaSpell::GetUpperCase(const std::string &word) const {
  if (!OnGetUpperCase.Assigned())
    return components::UpperCase(word);
  std::string result = word;
  OnGetUpperCase(const_cast<TVerbaSpell *>(this), result, word);
  return result;
}

bool TVerbaSpell::IsKnownWord(std::string_view word) const {
  for (const auto &main : mains_) {
    if (main->Opened() && main->Contains(word))
      return true;
  }
  return knownWords_->Find(std::string(word));
}

bool TVerbaSpell::isKnownAnyForm(const std::string &word) const {
  if (IsKnownWord(word))
    return true;
  const std::string lower = GetLowerCase(word);
  if (lower != word && IsKnownWord(lower))
    return true;
  const std::string stripped = StripAffixes(word, PrefixList, SuffixList);
  if (stripped != word && IsKnownWord(stripped))
    return true;
  const std::string lowerStripped = StripAffixes(lower, PrefixList, SuffixList);
  return lowerStripped != stripped && IsKnownWord(lowerStripped);
}

void TVerbaSpell::GetSuggestions(const std::string &word, components::TStringList &list) {
  if (dialogControl_)
    dialogControl_->OnSuggestStart(dialogControl_);
  const bool hourGlass = DialogHourGlass && dialog_ && Platform.HourGlass;
  if (hourGlass)
    Platform.HourGlass(true);
  std::vector<TDictionary *> mains;
  for (const auto &main : mains_) {
    if (main->Opened())
      mains.push_back(main.get());
  }
  SuggestFromDictionaries(mains, options().contains(soPrimaryOnly), word, list);
  if (hourGlass)
    Platform.HourGlass(false);
  if (dialogControl_)
    dialogControl_->OnSuggestEnd(dialogControl_);
}

// The platform.

TMessageResult TVerbaSpell::showMessage(const std::string &text, TMessageKind kind,
                                        TMessageButtons buttons) {
  if (!Platform.ShowMessage)
    return buttons == TMessageButtons::YesNo ? TMessageResult::No : TMessageResult::OK;
  return Platform.ShowMessage(text, kind, buttons);
}

void TVerbaSpell::yieldToApplication() {
  if (Platform.ProcessMessages)
    Platform.ProcessMessages();
}

double TVerbaSpell::randomValue() {
  if (Platform.Random)
    return Platform.Random();
  return std::uniform_real_distribution<double>(0.0, 1.0)(random_);
}

bool TVerbaSpell::useHelpFile() {
  if (!HelpEnabled || !HelpSeparate || helpFileSaved_)
    return false;
  savedHelpFile_ = Platform.GetHelpFile ? Platform.GetHelpFile() : std::string();
  helpFileSaved_ = true;
  if (Platform.SetHelpFile)
    Platform.SetHelpFile(HelpFile);
  return true;
}

void TVerbaSpell::restoreHelpFile() {
  if (!helpFileSaved_)
    return;
  helpFileSaved_ = false;
  if (Platform.SetHelpFile)
    Platform.SetHelpFile(savedHelpFile_);
}

// The options dialog.

void TVerbaSpell::Setup() {
  if (!configuration_)
    ReadConfiguration();
  TSetupRequest request;
  request.Spell = this;
  request.Configuration = configuration_.get();
  request.Caption = GetString(22);
  request.VisibleOptions = VisibleOptions;
  request.IgnoreAllList = &ignoreAll_;
  request.ChangeAllReplacements = &changeAllReplacements_;
  request.ChangeAllWords = &changeAllWords_;
  request.Language = &languages_.Modules(languageIndex_);
  request.HelpContext1 = HelpContextConfig1;
  request.HelpContext2 = HelpContextConfig2;
  request.HelpEnabled = HelpEnabled;
  const bool swapped = useHelpFile();
  try {
    if (Platform.RunSetupDialog)
      Platform.RunSetupDialog(request);
  } catch (...) {
    if (swapped)
      restoreHelpFile();
    throw;
  }
  if (swapped)
    restoreHelpFile();
  ApplyConfiguration();
  if (parser_)
    applySpellOptions(*parser_, options(), QuoteCharacters);
}

} // namespace spelling
