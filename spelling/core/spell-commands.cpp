// The check dialog's commands, codes 0 to 11. A command that acts on the
// word on show does nothing when no word is on show (the loop runs, or the
// user has left the dialog and must press Start first).
#include "spelling/core/verba-spell.h"

#include "spelling/core/configuration.h"
#include "spelling/core/trie.h"
#include "spelling/core/user-dictionary.h"

namespace spelling {

void TVerbaSpell::DialogCommand(int code) {
  if (code < 0 || code >= DialogCommandCount)
    return;
  if (!checkActive_) {
    // Outside a check only the options and help have a meaning.
    if (code != dcOptions && code != dcHelp)
      return;
  }
  if (commandDepth_ > 0 || loopRunning_ || backgroundBusy_) {
    // A later command replaces an earlier one that still waits.
    pendingCommand_ = code;
    return;
  }
  CommandScope scope(*this);
  runCommand(code);
  runPending();
}

void TVerbaSpell::runCommand(int code) {
  switch (code) {
  case dcSuggest: {
    if (!wordShown_)
      return;
    std::string word = wordEditText();
    if (word.empty())
      word = currentWord_;
    suggestions_.SetSorted(false);
    GetSuggestions(word, suggestions_);
    appendShownSuggestions();
    return;
  }
  case dcStart:
    if (!parser_)
      return;
    loopInterrupted_ = false;
    enable(ciStart, false);
    resetDialogControls();
    parser_->StartAtCaret();
    parser_->Restart();
    parser_->SetLength(0);
    currentWord_.clear();
    runLoop(false);
    return;
  case dcUndoLast:
    if (!wordShown_)
      return;
    commandUndoLast();
    return;
  case dcOptions:
    Setup();
    if (parser_)
      parser_->SetWordCharacters(checkWordChars());
    return;
  case dcChangeAll: {
    if (!wordShown_)
      return;
    const std::string replacement = wordEditText();
    const std::string word = currentWord_;
    replaceCurrent(replacement, options().contains(soRecheck));
    changeAllWords_.Add(word);
    changeAllReplacements_.Add(replacement);
    replacements_->AddPair(word, replacement);
    resetDialogControls();
    parser_->SetUndoKind(dcChangeAll);
    runLoop(false);
    return;
  }
  case dcChange:
    if (!wordShown_)
      return;
    commandChange(false);
    return;
  case dcIgnoreAll:
    if (!wordShown_)
      return;
    ignoreAll_.Add(currentWord_);
    knownWords_->Add(currentWord_);
    resetDialogControls();
    parser_->SetUndoKind(dcIgnoreAll);
    runLoop(false);
    return;
  case dcIgnore:
    if (!wordShown_)
      return;
    if (repeatedWord_) {
      setCaption(ciChange, GetString(5));
      parser_->SetUndoKind(dcIgnore);
    }
    resetDialogControls();
    runLoop(false);
    return;
  case dcAdd:
    if (!wordShown_)
      return;
    if (currentUser_) {
      currentUser_->AddWord(currentWord_);
      knownWords_->Add(currentWord_);
    }
    resetDialogControls();
    parser_->SetUndoKind(dcAdd);
    runLoop(false);
    return;
  case dcAutoCorrect:
    if (!wordShown_)
      return;
    commandChange(true);
    return;
  case dcHelp:
    if (Platform.ShowHelp)
      Platform.ShowHelp(HelpContextDialog);
    return;
  case dcCancel:
    if (!checkActive_)
      return;
    OnCheckCanceled(this);
    endCheck(true);
    return;
  default:
    return;
  }
}

void TVerbaSpell::replaceCurrent(const std::string &text, bool recheck) {
  parser_->SelectWord();
  parser_->ReplaceWord(text);
  if (recheck)
    parser_->SetLength(0);
}

void TVerbaSpell::commandChange(bool autoCorrect) {
  const std::string replacement = wordEditText();
  if (autoCorrect) {
    if (currentUser_) {
      currentUser_->AddAutoCorrect(currentWord_, replacement);
      replacements_->AddPair(currentWord_, replacement);
    }
    parser_->SetUndoKind(dcAutoCorrect);
  }
  if (repeatedWord_) {
    // Delete: the word and the space after it go; where the text ends
    // after the word, only the word.
    setCaption(ciChange, GetString(5));
    parser_->SelectWord();
    parser_->ReplaceWord(" ");
    parser_->DeleteSpace();
    const bool second = parser_->DeleteSpace();
    parser_->SetUndoKind(second ? UndoDeletedTwoSpaces : UndoDeletedOneSpace);
    resetDialogControls();
    runLoop(false);
    return;
  }
  replaceCurrent(replacement, options().contains(soRecheck));
  resetDialogControls();
  runLoop(false);
}

void TVerbaSpell::commandUndoLast() {
  std::unique_ptr<TUndo> record = parser_->PopUndo();
  resetDialogControls();
  if (!record) {
    // Nothing to undo: the word on show is read and shown again rather
    // than passed over.
    parser_->SetLength(0);
    runLoop(false);
    return;
  }
  switch (record->Code) {
  case dcChangeAll:
    for (int i = changeAllWords_.Count() - 1; i >= 0; --i) {
      if (changeAllWords_[i] == record->Word) {
        changeAllWords_.Delete(i);
        changeAllReplacements_.Delete(i);
        break;
      }
    }
    RebuildTries();
    break;
  case UndoDeletedOneSpace:
  case UndoDeletedTwoSpaces:
  case dcIgnore:
    currentWord_ = record->Word;
    break;
  case dcIgnoreAll: {
    int index = ignoreAll_.IndexOf(record->Word);
    if (index >= 0)
      ignoreAll_.Delete(index);
    RebuildTries();
    break;
  }
  case dcAdd:
    if (currentUser_)
      currentUser_->RemoveWord(record->Word);
    RebuildTries();
    break;
  case dcAutoCorrect:
    if (currentUser_)
      currentUser_->RemoveAutoCorrect(record->Word);
    RebuildTries();
    break;
  default:
    break;
  }
  runLoop(false);
}

} // namespace spelling
