// The check: its entry points, the loop that tests word after word, showing
// a word in the dialog with its suggestions, and the end of the check.
//
// Only the outermost command (or check start) runs commands: one that
// arrives while the loop or the background search runs, or while another
// command is carried out, is stored and run by the outermost one once the
// others have returned. So Cancel or Options can never free the parser,
// the dialog or a dictionary under the code that uses them, and a long run
// of words each answered during the search does not nest one call per word.
#include "spelling/core/verba-spell.h"

#include "spelling/core/configuration.h"
#include "spelling/core/dictionary.h"
#include "spelling/core/parser-affixes.h"
#include "spelling/core/suggestion-search.h"
#include "spelling/core/suggestions.h"
#include "spelling/core/trie.h"

namespace spelling {

namespace {

// The chance per word that the loop lets the application handle messages.
constexpr double YieldProbability = 0.03;

bool digitsOnly(const std::string &word) {
  if (word.empty())
    return false;
  for (char c : word) {
    if (c < '0' || c > '9')
      return false;
  }
  return true;
}

bool hasDigit(const std::string &word) {
  for (char c : word) {
    if (c >= '0' && c <= '9')
      return true;
  }
  return false;
}

// Sets a flag for as long as the scope lasts, an exception included.
class FlagScope {
public:
  explicit FlagScope(bool &flag) : flag_(flag), saved_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = saved_; }
  FlagScope(const FlagScope &) = delete;
  FlagScope &operator=(const FlagScope &) = delete;

private:
  bool &flag_;
  bool saved_;
};

} // namespace

// Entry points.

void TVerbaSpell::CheckWinControl(components::TComponent *control) {
  startSourceCheck(-1, control, control, CheckStart{});
}

void TVerbaSpell::CheckWinControlFromCursor(components::TComponent *control) {
  CheckStart how;
  how.range = CheckStart::FromCursor;
  startSourceCheck(-1, control, control, how);
}

void TVerbaSpell::CheckWinControlSelection(components::TComponent *control) {
  CheckStart how;
  how.range = CheckStart::Selection;
  startSourceCheck(-1, control, control, how);
}

void TVerbaSpell::CheckParser(std::unique_ptr<TParser> parser, components::TComponent *control) {
  startCheck(std::move(parser), control, CheckStart{});
}

void TVerbaSpell::CheckParserFromCursor(std::unique_ptr<TParser> parser,
                                        components::TComponent *control) {
  CheckStart how;
  how.range = CheckStart::FromCursor;
  startCheck(std::move(parser), control, how);
}

void TVerbaSpell::CheckParserSelection(std::unique_ptr<TParser> parser,
                                       components::TComponent *control) {
  CheckStart how;
  how.range = CheckStart::Selection;
  startCheck(std::move(parser), control, how);
}

void TVerbaSpell::CheckContainer(components::TComponent *component) {
  if (!component)
    return;
  const bool wasAlwaysActive = alwaysActive_;
  SetAlwaysActive(true);
  try {
    CheckWinControl(component);
    for (int i = 0; i < component->ComponentCount(); ++i)
      CheckContainer(component->Components(i));
  } catch (...) {
    SetAlwaysActive(wasAlwaysActive);
    throw;
  }
  SetAlwaysActive(wasAlwaysActive);
}

void TVerbaSpell::CheckBuffer(char *buffer, std::size_t capacity) {
  TParserBuffer source{buffer, capacity};
  CheckStart how;
  how.defaultWordChars = true;
  startSourceCheck(0, &source, nullptr, how);
}

void TVerbaSpell::CheckBufferRange(char *buffer, std::size_t capacity, int start, int end) {
  TParserBuffer source{buffer, capacity};
  CheckStart how{CheckStart::Part, start, end, true};
  startSourceCheck(0, &source, nullptr, how);
}

void TVerbaSpell::CheckString(std::string &text) {
  CheckStart how;
  how.defaultWordChars = true;
  startSourceCheck(1, &text, nullptr, how);
}

void TVerbaSpell::CheckStringRange(std::string &text, int start, int end) {
  startSourceCheck(1, &text, nullptr, CheckStart{CheckStart::Part, start, end, true});
}

void TVerbaSpell::CheckEdit(components::TComponent *edit) {
  CheckStart how;
  how.defaultWordChars = true;
  startSourceCheck(4, edit, edit, how);
}

void TVerbaSpell::CheckEditRange(components::TComponent *edit, int start, int end) {
  startSourceCheck(4, edit, edit, CheckStart{CheckStart::Part, start, end, true});
}

void TVerbaSpell::CheckMemo(components::TComponent *memo) {
  CheckStart how;
  how.defaultWordChars = true;
  startSourceCheck(5, memo, memo, how);
}

void TVerbaSpell::CheckMemoRange(components::TComponent *memo, int start, int end) {
  startSourceCheck(5, memo, memo, CheckStart{CheckStart::Part, start, end, true});
}

void TVerbaSpell::CheckRichEdit(components::TComponent *richEdit) {
  CheckStart how;
  how.defaultWordChars = true;
  startSourceCheck(2, richEdit, richEdit, how);
}

void TVerbaSpell::CheckRichEditRange(components::TComponent *richEdit, int start, int end) {
  startSourceCheck(2, richEdit, richEdit, CheckStart{CheckStart::Part, start, end, true});
}

void TVerbaSpell::CheckWindow(components::TComponent *control) {
  CheckStart how;
  how.defaultWordChars = true;
  startSourceCheck(3, control, control, how);
}

// Kind -1 asks for the parser that suits the control's class.
void TVerbaSpell::startSourceCheck(int kind, void *source, components::TComponent *control,
                                   const CheckStart &how) {
  // A request during a check is refused before its parser exists: making
  // one may already touch the text under the running parser.
  if (checkActive_)
    return;
  std::unique_ptr<TParser> parser;
  if (kind < 0) {
    if (Platform.CreateParserForControl)
      parser = Platform.CreateParserForControl(control);
  } else if (kind % 128 <= 1) {
    parser = CreateParserForSource(kind, source);
  } else if (Platform.CreateParserForSource) {
    parser = Platform.CreateParserForSource(kind, source);
  }
  if (!parser) {
    // No parser for this source: nothing happens, and no event fires.
    return;
  }
  startCheck(std::move(parser), control, how);
}

void TVerbaSpell::startCheck(std::unique_ptr<TParser> parser, components::TComponent *,
                             const CheckStart &how) {
  if (checkActive_ || !parser)
    return;
  {
    CommandScope scope(*this);
    checkActive_ = true;
    try {
      Activate();
    } catch (...) {
      checkActive_ = false;
      throw;
    }
    wordsChecked_ = 0;
    currentWord_.clear();
    previousWord_.clear();
    repeatedWord_ = false;
    canceled_ = false;
    dialogCreated_ = false;
    wordShown_ = false;
    pendingCommand_ = -1;
    loopInterrupted_ = false;

    parser_ = std::move(parser);
    applySpellOptions(*parser_, options(), QuoteCharacters);
    defaultWordChars_ = how.defaultWordChars;
    parser_->SetWordCharacters(checkWordChars());
    parser_->SetUndoDepth(maxUndo_);
    splitAffixes();
    switch (how.range) {
    case CheckStart::Whole:
      break;
    case CheckStart::Part:
      parser_->SetRange(how.start, how.end);
      break;
    case CheckStart::FromCursor:
      parser_->StartAtCaret();
      break;
    case CheckStart::Selection:
      parser_->StartAtCaret();
      parser_->StopAtSelectionEnd();
      break;
    }
    DialogPlaced = false;
    parser_->BeginCheck();
    try {
      runLoop(false);
      runPending();
    } catch (...) {
      // The check cannot go on: end it, so that CheckActive does not
      // stay set for good.
      endCheck(true);
      throw;
    }
  }
  while (checkActive_ && WaitForCompletion) {
    if (Platform.ApplicationEnding && Platform.ApplicationEnding()) {
      DialogCommand(dcCancel);
      break;
    }
    if (Platform.HandleMessage)
      Platform.HandleMessage();
    else if (Platform.ProcessMessages)
      Platform.ProcessMessages();
    else
      break;
  }
}

// The dictionaries' letters; for the entry points that name their source,
// the default letters when the dictionaries give none.
std::string TVerbaSpell::checkWordChars() const {
  std::string letters = GetWordChars();
  if (letters.empty() && defaultWordChars_)
    letters = DefaultWordChars;
  return letters;
}

// Runs what waited while the outermost command ran: stored commands, and
// the loop where a command interrupted it.
void TVerbaSpell::runPending() {
  while (checkActive_) {
    if (pendingCommand_ >= 0) {
      int code = pendingCommand_;
      pendingCommand_ = -1;
      runCommand(code);
      continue;
    }
    if (loopInterrupted_) {
      loopInterrupted_ = false;
      runLoop(true);
      continue;
    }
    break;
  }
  pendingCommand_ = -1;
  loopInterrupted_ = false;
}

void TVerbaSpell::runLoop(bool resume) {
  if (!checkActive_ || !parser_)
    return;
  switch (checkLoop(resume)) {
  case LoopEnd::Ended:
    endCheck(false);
    break;
  case LoopEnd::ShowedWord:
    showWord();
    break;
  case LoopEnd::Interrupted:
    loopInterrupted_ = true;
    break;
  }
}

TVerbaSpell::LoopEnd TVerbaSpell::checkLoop(bool resume) {
  FlagScope running(loopRunning_);
  TParser &parser = *parser_;
  const TSpellOptions opts = options();
  bool advance = true;
  if (!resume) {
    repeatedWord_ = false;
    previousWord_ = currentWord_;
    parser.NextWord(currentWord_);
  }
  for (;;) {
    if (parser.AtEnd())
      return LoopEnd::Ended;
    if (!advance)
      return LoopEnd::ShowedWord;
    ++wordsChecked_;
    const std::string word = currentWord_;
    if (isKnownAnyForm(word)) {
      if (word == previousWord_ && opts.contains(soRepeated) && !parser.NoRepeatCheck()) {
        repeatedWord_ = true;
        advance = false;
      } else {
        previousWord_ = word;
      }
    } else {
      previousWord_ = word;
      if (replacements_->Find(word) && !replacements_->FoundReplacement().empty()) {
        // Change all and auto-correct: replaced without asking. The parser
        // keeps this out of the undo records of the words shown.
        const std::string replacement = replacements_->FoundReplacement();
        parser.SelectWord();
        parser.ReplaceWord(replacement);
      } else if (!parser.SkipWord() && !digitsOnly(word)) {
        if (opts.contains(soUpcase) && word == GetUpperCase(word)) {
        } else if (opts.contains(soNumbers) && hasDigit(word)) {
        } else {
          advance = false;
        }
      }
    }
    if (advance) {
      parser.NextWord(currentWord_);
      if (randomValue() < YieldProbability) {
        yieldToApplication();
        // A command arrived: it runs once the loop has returned, and the
        // loop resumes after it with the word just read.
        if (pendingCommand_ >= 0 || !checkActive_)
          return LoopEnd::Interrupted;
      }
    }
  }
}

void TVerbaSpell::showWord() {
  TParser &parser = *parser_;
  parser.SelectWord();
  parser.ShowWord();
  parser.PushUndo();
  if (dialog_) {
    if (DialogPlaced) {
      placeDialog(false);
    } else {
      enable(ciOptions, configAvailable_);
      placeDialog(true);
      DialogPlaced = true;
    }
  } else {
    DialogPlaced = true;
    if (!createDialog()) {
      endCheck(false);
      return;
    }
    enable(ciOptions, configAvailable_);
    placeDialog(true);
    dialog_->Show();
  }

  const std::string word = currentWord_;
  const TSpellOptions opts = options();
  suggestions_.Clear();
  if (!repeatedWord_ && opts.contains(soAutoSuggest)) {
    CollectDialogSuggestions(
        word, suggestions_,
        [this](const std::string &w, components::TStringList &list) { GetSuggestions(w, list); },
        [this](const std::string &w) { return GetLowerCase(w); },
        [this](const std::string &entry, const std::string &w) {
          if (!OnMatchCase.Assigned())
            return MatchSuggestionCase(entry, w);
          std::string result = entry;
          OnMatchCase(this, result, w);
          return result;
        });
  }
  showSuggestions();

  setCaption(ciNotFound, word);
  enable(ciIgnore, true);
  enable(ciNotFound, true);
  if (repeatedWord_) {
    setCaption(ciErrorLabel, GetString(18));
    setCaption(ciChange, GetString(14));
    enable(ciChange, true);
  } else {
    setCaption(ciErrorLabel, GetString(17));
    enable(ciAdd, currentUser_ != nullptr);
    enable(ciIgnoreAll, true);
    enable(ciSuggest, !opts.contains(soAutoSuggest));
    enable(ciWordEdit, true);
    enable(ciSuggestBox, true);
    if (AutoSelectFirst && opts.contains(soAutoSuggest) && suggestions_.Count() > 0 &&
        dialogControl_) {
      const std::string first = suggestions_[0];
      if (dialogControl_->Suggestions)
        dialogControl_->Suggestions->SetItemIndex(0);
      selectingSuggestion_ = true;
      setCaption(ciWordEdit, first);
      selectingSuggestion_ = false;
      if (dialogControl_->WordEdit)
        dialogControl_->WordEdit->SelectText(0, static_cast<int>(first.size()) - 1);
    }
  }
  enable(ciUndoLast, parser.CanUndo());
  wordShown_ = true;
  OnMisspelledWord(this);
  if (BackgroundSuggestions && !repeatedWord_ && !mains_.empty() && checkActive_ && wordShown_)
    StartBackgroundSuggestions(GetLowerCase(word));
}

void TVerbaSpell::showSuggestions() {
  if (!dialogControl_ || !dialogControl_->Suggestions)
    return;
  dialogControl_->Suggestions->Clear();
  for (int i = 0; i < suggestions_.Count(); ++i)
    dialogControl_->Suggestions->Add(suggestions_[i]);
}

// The list was sent whole when the word was shown; since then only
// additions at its end have been made.
void TVerbaSpell::appendShownSuggestions() {
  if (!dialogControl_ || !dialogControl_->Suggestions)
    return;
  TDialogSuggestionList &shown = *dialogControl_->Suggestions;
  for (int i = shown.Count(); i < suggestions_.Count(); ++i)
    shown.Add(suggestions_[i]);
}

void TVerbaSpell::StartBackgroundSuggestions(const std::string &word) {
  FlagScope busy(backgroundBusy_);
  const std::string ellipsis = GetString(21);
  if (!ellipsis.empty() && dialog_)
    dialog_->SetCaption(GetString(3) + " " + ellipsis);
  if (dialogControl_)
    dialogControl_->OnBackgroundStart(dialogControl_);
  // The search appends in the order it finds.
  suggestions_.SetSorted(false);
  LexiconSearchHooks hooks;
  hooks.isKnownWord = [this](std::string_view w) { return IsKnownWord(w); };
  const std::string shownWord = currentWord_;
  hooks.matchCase = [shownWord](const std::string &candidate) {
    return MatchSuggestionCase(candidate, shownWord);
  };
  hooks.commandPending = [this] { return pendingCommand_ >= 0 || !checkActive_; };
  hooks.yield = [this] {
    appendShownSuggestions();
    yieldToApplication();
  };
  BuildSuggestions(word, suggestions_, !options().contains(soAutoSuggest), GetWordChars(),
                   maxSuggestions_, hooks);
  appendShownSuggestions();
  if (dialogControl_)
    dialogControl_->OnBackgroundEnd(dialogControl_);
  if (!ellipsis.empty() && dialog_)
    dialog_->SetCaption(GetString(3));
}

void TVerbaSpell::endCheck(bool canceled) {
  if (!checkActive_)
    return;
  canceled_ = canceled;
  wordShown_ = false;
  OnCheckComplete(this);
  TDialogForm *form = dialog_;
  // The dialog is unlinked first: hiding it deactivates it, and nothing it
  // reports now may reach the ending check.
  unlinkDialogControl();
  if (form)
    form->Hide();
  const bool message = EndShowMessage == emAlways ||
                       (EndShowMessage == emNoDialog && !dialogCreated_) ||
                       (EndShowMessage == emExceptCancel && !canceled);
  if (message) {
    std::string text = GetString(0);
    if (WordCountVisible)
      text += "\r\n\r\n" + GetString(1) + std::to_string(wordsChecked_);
    showMessage(text, TMessageKind::Information, TMessageButtons::OK);
  }
  dialog_ = nullptr;
  if (form) {
    if (OnFreeDialog.Assigned())
      OnFreeDialog(this, form);
    else if (ownDialog_)
      form->Release();
  }
  restoreHelpFile();
  parser_.reset();
  pendingCommand_ = -1;
  loopInterrupted_ = false;
  Deactivate();
  checkActive_ = false;
}

} // namespace spelling
