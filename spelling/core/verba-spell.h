// The spelling component: the non-visual object a form drops in to check
// text. It owns the configuration, the main and user dictionaries, the two
// tries and the language tables, and during a check one word parser and
// the check dialog. It walks the text word by word, shows each unknown or
// repeated word in the dialog and carries out the dialog's commands.
//
// Everything runs on the user-interface thread. Re-entry comes only from
// message processing: the check loop yields with probability 0.03 per word,
// the background suggestion search yields regularly and WaitForCompletion
// keeps the caller in a message loop. A command that arrives while the loop
// or the search runs is stored and carried out once they have returned to
// the outermost command, so nothing they use is freed under them and the
// stack does not grow with the number of words.
#ifndef SPELLING_VERBA_SPELL_H
#define SPELLING_VERBA_SPELL_H

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/components/core/file-system.h"
#include "platform/components/core/string-list.h"
#include "spelling/core/dialog-control.h"
#include "spelling/core/languages.h"
#include "spelling/core/parser.h"
#include "spelling/core/spell-options.h"
#include "spelling/core/spell-platform.h"

#include <cstddef>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace spelling {

class TConfiguration;
class TDictionary;
class TUserDictionary;
class TTrieStringList;
class TTrieLookupList;

enum TSelBehavior { sbNone, sbAvoid, sbAvoidUpDown, sbMove, sbMoveUpDown };
enum TInitialPos { ipScreenCenter, ipUnderSelection, ipAvoidControl, ipUserDefined, ipIgnore };
enum TEndMessage { emNever, emAlways, emExceptCancel, emNoDialog };

using TDialogEvent = components::Event<components::TObject *, TDialogForm *&>;
// Sender, the result (pre-set to the source) and the source.
using TCaseEvent = components::Event<components::TObject *, std::string &, const std::string &>;

// The default option sets: 488 and 143 as stored values.
constexpr TSpellOptions DefaultSpellOptions{soInternet, soAutoSuggest, soPrimaryOnly, soRecheck,
                                            soRepeated};
constexpr TSpellOptions DefaultVisibleOptions{soUpcase, soNumbers, soHTML, soInternet, soRecheck};

class TVerbaSpell : public components::TComponent {
public:
  explicit TVerbaSpell(components::TComponent *owner,
                       components::FileSystem &fileSystem = components::defaultFileSystem());
  ~TVerbaSpell() override;

  // The platform hooks, copied from DefaultSpellPlatform() at creation.
  TSpellPlatform Platform;

  // Published properties, in stored order.
  bool ConfigInAppDir() const { return configInAppDir_; }
  void SetConfigInAppDir(bool value);
  const std::string &ConfigFileName() const { return configFileName_; }
  void SetConfigFileName(const std::string &value);
  const std::string &ConfigKey() const { return configKey_; }
  void SetConfigKey(const std::string &value);
  bool ConfigAvailable() const { return configAvailable_; }
  void SetConfigAvailable(bool value);
  bool AlwaysActive() const { return alwaysActive_; }
  void SetAlwaysActive(bool value);
  int MaxSuggestions() const { return maxSuggestions_; }
  void SetMaxSuggestions(int value);
  int MaxUndo() const { return maxUndo_; }
  void SetMaxUndo(int value);
  bool AutoSelectFirst = false;
  TSelBehavior SelectionBehavior = sbAvoid;
  TInitialPos InitialPosition = ipAvoidControl;
  bool WaitForCompletion = true;
  std::string IgnorePrefix = "'";
  std::string IgnoreSuffix = "';'s";
  bool HelpEnabled = true;
  bool HelpSeparate = true;
  std::string HelpFile = "vqspell.hlp";
  int HelpContextDialog = 100;
  int HelpContextConfig1 = 101;
  int HelpContextConfig2 = 102;
  bool BackgroundSuggestions = true;
  bool DialogHourGlass = false;
  const std::string &DefaultMain() const { return defaultMain_; }
  void SetDefaultMain(const std::string &value);
  const std::string &DefaultUser() const { return defaultUser_; }
  void SetDefaultUser(const std::string &value);
  TSpellOptions DefaultOptions() const { return defaultOptions_; }
  void SetDefaultOptions(TSpellOptions value);
  TSpellOptions VisibleOptions = DefaultVisibleOptions;
  bool WordCountVisible = true;
  std::string QuoteCharacters;
  TLanguages &Languages() { return languages_; }
  const TLanguages &Languages() const { return languages_; }
  int LanguageIndex() const { return languageIndex_; }
  // Ignored unless 0 <= value < the number of languages.
  void SetLanguageIndex(int value);
  TEndMessage EndShowMessage = emExceptCancel;

  // Published events.
  TDialogEvent OnCreateDialog;
  TDialogEvent OnFreeDialog;
  TDialogEvent OnAfterCreate;
  TCaseEvent OnMatchCase;
  TCaseEvent OnGetLowerCase;
  TCaseEvent OnGetUpperCase;
  components::TNotifyEvent OnCheckComplete;
  components::TNotifyEvent OnCheckCanceled;
  components::TNotifyEvent OnMisspelledWord;
  components::TNotifyEvent OnDeactivate;
  TDialogEvent OnSetupCreate;
  TDialogEvent OnPositionDialog;

  // Run-time state.
  bool CheckActive() const { return checkActive_; }
  int WordsChecked() const { return wordsChecked_; }
  bool Active() const { return active_; }
  TConfiguration *Configuration() const { return configuration_.get(); }
  const std::vector<std::unique_ptr<TDictionary>> &MainDictionaries() const { return mains_; }
  const std::vector<std::unique_ptr<TUserDictionary>> &UserDictionaries() const { return users_; }
  TUserDictionary *CurrentUserDictionary() const { return currentUser_; }
  const components::TStringList &IgnoreAllList() const { return ignoreAll_; }
  const components::TStringList &ChangeAllWords() const { return changeAllWords_; }
  const components::TStringList &ChangeAllReplacements() const { return changeAllReplacements_; }
  TTrieStringList &KnownWordTrie() const { return *knownWords_; }
  TTrieLookupList &ReplacementTrie() const { return *replacements_; }
  const std::string &CurrentWord() const { return currentWord_; }
  bool RepeatedWord() const { return repeatedWord_; }
  // The parser of the running check, or null.
  TParser *Parser() const { return parser_.get(); }
  // True while the background suggestion search runs.
  bool BackgroundBusy() const { return backgroundBusy_; }

  virtual void Activate();
  virtual void Deactivate();
  virtual void ReadConfiguration();
  virtual void CheckWinControl(components::TComponent *control);
  virtual void CheckWinControlFromCursor(components::TComponent *control);
  virtual void CheckWinControlSelection(components::TComponent *control);
  // The caller's parser; it is freed at the end of the check.
  virtual void CheckParser(std::unique_ptr<TParser> parser, components::TComponent *control);
  virtual void CheckParserFromCursor(std::unique_ptr<TParser> parser,
                                     components::TComponent *control);
  virtual void CheckParserSelection(std::unique_ptr<TParser> parser,
                                    components::TComponent *control);
  virtual void CheckContainer(components::TComponent *component);
  // A zero-terminated text in a buffer of capacity bytes: replacements that
  // would not fit stop with EParserError and never write past it.
  virtual void CheckBuffer(char *buffer, std::size_t capacity);
  virtual void CheckBufferRange(char *buffer, std::size_t capacity, int start, int end);
  // A string of the caller, edited in place; it must outlive the check.
  virtual void CheckString(std::string &text);
  virtual void CheckStringRange(std::string &text, int start, int end);
  virtual void CheckEdit(components::TComponent *edit);
  virtual void CheckEditRange(components::TComponent *edit, int start, int end);
  virtual void CheckMemo(components::TComponent *memo);
  virtual void CheckMemoRange(components::TComponent *memo, int start, int end);
  virtual void CheckRichEdit(components::TComponent *richEdit);
  virtual void CheckRichEditRange(components::TComponent *richEdit, int start, int end);
  virtual void CheckWindow(components::TComponent *control);

  void Setup();
  void SetDialogCaption(int index, const std::string &text);
  void ClearSessionLists();
  std::string GetString(int index) const;
  std::string GetWordChars() const;
  void GetSuggestions(const std::string &word, components::TStringList &list);
  std::string GetLowerCase(const std::string &word) const;
  std::string GetUpperCase(const std::string &word) const;
  // Every main dictionary in order, then the user and ignore-all words.
  bool IsKnownWord(std::string_view word) const;
  // The linked dialog control's command handler (codes 0 to 11).
  void DialogCommand(int code);

  void Loaded() override;

private:
  // How a check entry point chooses its range.
  struct CheckStart {
    enum Range { Whole, Part, FromCursor, Selection } range = Whole;
    int start = 0;
    int end = 0;
    bool defaultWordChars = false; // an empty letter set becomes the default
  };
  // Marks a command (or a check start) in progress: commands that arrive
  // meanwhile wait for it.
  class CommandScope {
  public:
    explicit CommandScope(TVerbaSpell &spell) : spell_(spell) { ++spell_.commandDepth_; }
    ~CommandScope() { --spell_.commandDepth_; }
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;

  private:
    TVerbaSpell &spell_;
  };
  enum class LoopEnd { ShowedWord, Ended, Interrupted };

  std::string configPath() const;
  void ApplyConfiguration();
  void openMain(TDictionary &main);
  void RebuildTries();
  void splitAffixes();
  TMessageResult showMessage(const std::string &text, TMessageKind kind, TMessageButtons buttons);
  void yieldToApplication();

  void startCheck(std::unique_ptr<TParser> parser, components::TComponent *control,
                  const CheckStart &how);
  void startSourceCheck(int kind, void *source, components::TComponent *control,
                        const CheckStart &how);
  void runPending();
  void runLoop(bool resume);
  LoopEnd checkLoop(bool resume);
  double randomValue();
  TSpellOptions options() const;
  std::string checkWordChars() const;
  bool isKnownAnyForm(const std::string &word) const;
  void showWord();
  void endCheck(bool canceled);
  void runCommand(int code);

  bool createDialog();
  void linkDialogControl(TDialogControl &control);
  void unlinkDialogControl();
  void resetDialogControls();
  void enable(int index, bool enabled);
  void setCaption(int index, const std::string &text);
  std::string wordEditText() const;
  void wordEditChanged();
  void suggestionClicked();
  void dialogDeactivated();
  void dialogActivated();
  void showSuggestions();
  void appendShownSuggestions();
  void placeDialog(bool first);
  void moveDialog(int x, int y);
  void avoidWord(bool always, bool keepX);
  bool useHelpFile();
  void restoreHelpFile();

  void StartBackgroundSuggestions(const std::string &word);
  void replaceCurrent(const std::string &text, bool recheck);
  void commandChange(bool tagAutoCorrect);
  void commandUndoLast();

  components::FileSystem &fileSystem_;
  bool configInAppDir_ = true;
  std::string configFileName_ = "VERBA.CFG";
  std::string configKey_ = "verba";
  bool configAvailable_ = true;
  bool alwaysActive_ = false;
  int maxSuggestions_ = 50;
  int maxUndo_ = 20;
  std::string defaultMain_ = "english.dct";
  std::string defaultUser_ = "default.udt";
  TSpellOptions defaultOptions_ = DefaultSpellOptions;
  TLanguages languages_;
  int languageIndex_ = 0;

  bool checkActive_ = false;
  int wordsChecked_ = 0;
  bool active_ = false;
  std::unique_ptr<TConfiguration> configuration_;
  std::vector<std::unique_ptr<TDictionary>> mains_;
  std::vector<std::unique_ptr<TUserDictionary>> users_;
  TUserDictionary *currentUser_ = nullptr;
  components::TStringList ignoreAll_;
  components::TStringList changeAllWords_;
  components::TStringList changeAllReplacements_;
  std::unique_ptr<TTrieStringList> knownWords_;
  std::unique_ptr<TTrieLookupList> replacements_;
  std::vector<std::string> PrefixList;
  std::vector<std::string> SuffixList;

  // The running check.
  std::unique_ptr<TParser> parser_;
  std::string currentWord_;
  std::string previousWord_;
  bool repeatedWord_ = false;
  bool DialogPlaced = false;
  TDialogForm *dialog_ = nullptr;
  bool ownDialog_ = false;
  bool dialogCreated_ = false; // a dialog was made during this check
  TDialogControl *dialogControl_ = nullptr;
  bool canceled_ = false;
  bool helpFileSaved_ = false;
  std::string savedHelpFile_;
  components::TStringList suggestions_; // what the dialog's list shows
  bool selectingSuggestion_ = false;
  bool wordShown_ = false; // a word waits in the dialog for a command
  bool defaultWordChars_ = false;
  std::minstd_rand random_;

  // Re-entry: commands and check requests that arrive while a command,
  // the loop or the search runs wait here for the outermost one.
  int commandDepth_ = 0;
  bool loopRunning_ = false;
  bool backgroundBusy_ = false;
  int pendingCommand_ = -1;
  bool loopInterrupted_ = false;
};

} // namespace spelling

#endif
