// The check dialog as the component drives it: creating and linking it,
// its texts and enabled states by control index, the events it forwards,
// and where it stands on the screen.
#include "spelling/core/verba-spell.h"

#include <algorithm>

namespace spelling {

namespace {

const char NoDialogControl[] = "Could not locate Dialog Control.";

bool inside(const TDialogRect &box, int x, int y) {
  return x >= box.Left && x < box.Left + box.Width && y >= box.Top && y < box.Top + box.Height;
}

} // namespace

bool TVerbaSpell::createDialog() {
  TDialogForm *form = nullptr;
  if (OnCreateDialog.Assigned()) {
    OnCreateDialog(this, form);
    ownDialog_ = false;
  } else if (Platform.CreateDialog) {
    form = Platform.CreateDialog(*this);
    ownDialog_ = true;
  }
  dialogCreated_ = true;
  dialog_ = form;
  if (!form) {
    showMessage(NoDialogControl, TMessageKind::Error, TMessageButtons::OK);
    return false;
  }
  form->SetFontSize(8);
  OnAfterCreate(this, form);
  TDialogControl *control = FindDialogControl(form->FormComponent());
  if (!control) {
    showMessage(NoDialogControl, TMessageKind::Error, TMessageButtons::OK);
    return false;
  }
  linkDialogControl(*control);
  if (languageIndex_ >= languages_.Count())
    languageIndex_ = 0;
  form->SetCaption(GetString(3));
  static const int buttonStrings[] = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16};
  for (int index = ciChangeAll; index <= ciCancel; ++index)
    setCaption(index, GetString(buttonStrings[index]));
  setCaption(ciErrorLabel, GetString(17));
  setCaption(ciActionLabel, GetString(19));
  setCaption(ciSuggestLabel, GetString(20));
  control->OnResize(control);
  if (HelpEnabled) {
    form->SetHelpEnabled(true);
    useHelpFile();
  } else {
    form->SetHelpEnabled(false);
    enable(ciHelp, false);
  }
  return true;
}

void TVerbaSpell::linkDialogControl(TDialogControl &control) {
  dialogControl_ = &control;
  control.OnCommand = [this](components::TObject *, int code) { DialogCommand(code); };
  control.OnSuggestionClick = [this](components::TObject *) { suggestionClicked(); };
  control.OnSuggestionDblClick = [this](components::TObject *) { DialogCommand(dcChangeAll); };
  control.OnWordEditChange = [this](components::TObject *) { wordEditChanged(); };
  control.OnDialogActivate = [this](components::TObject *) { dialogActivated(); };
  control.OnDialogDeactivate = [this](components::TObject *) { dialogDeactivated(); };
  control.OnDialogCloseQuery = [this](components::TObject *, bool &canClose) {
    canClose = false;
    DialogCommand(dcCancel);
  };
  resetDialogControls();
}

void TVerbaSpell::unlinkDialogControl() {
  if (!dialogControl_)
    return;
  TDialogControl &control = *dialogControl_;
  control.OnCommand.Clear();
  control.OnSuggestionClick.Clear();
  control.OnSuggestionDblClick.Clear();
  control.OnWordEditChange.Clear();
  control.OnDialogActivate.Clear();
  control.OnDialogDeactivate.Clear();
  control.OnDialogCloseQuery.Clear();
  dialogControl_ = nullptr;
}

void TVerbaSpell::resetDialogControls() {
  wordShown_ = false;
  // Emptying the edit reports a change that enables buttons: disable after.
  setCaption(ciWordEdit, "");
  static const int disabled[] = {ciChangeAll, ciChange,      ciIgnoreAll, ciIgnore,
                                 ciAdd,       ciAutoCorrect, ciSuggest,   ciUndoLast,
                                 ciNotFound,  ciWordEdit,    ciSuggestBox};
  for (int index : disabled)
    enable(index, false);
}

void TVerbaSpell::enable(int index, bool enabled) {
  if (dialogControl_)
    dialogControl_->OnChangeEnabled(dialogControl_, index, enabled);
}

void TVerbaSpell::setCaption(int index, const std::string &text) {
  if (dialogControl_)
    dialogControl_->OnSetCaption(dialogControl_, index, text);
}

void TVerbaSpell::SetDialogCaption(int index, const std::string &text) {
  if (index < 100)
    setCaption(index, text);
}

std::string TVerbaSpell::wordEditText() const {
  if (!dialogControl_)
    return std::string();
  if (dialogControl_->WordEdit)
    return dialogControl_->WordEdit->Text();
  std::string text;
  dialogControl_->OnGetCaption(dialogControl_, ciWordEdit, text);
  return text;
}

void TVerbaSpell::wordEditChanged() {
  enable(ciChangeAll, true);
  enable(ciChange, true);
  enable(ciSuggest, true);
  if (currentUser_) {
    enable(ciAdd, true);
    enable(ciAutoCorrect, true);
  }
  if (selectingSuggestion_)
    selectingSuggestion_ = false;
  else if (dialogControl_ && dialogControl_->Suggestions)
    dialogControl_->Suggestions->SetItemIndex(-1);
}

void TVerbaSpell::suggestionClicked() {
  if (!dialogControl_ || !dialogControl_->Suggestions)
    return;
  TDialogSuggestionList &list = *dialogControl_->Suggestions;
  const int index = list.ItemIndex();
  if (index < 0 || index >= list.Count())
    return;
  selectingSuggestion_ = true;
  setCaption(ciWordEdit, list.Item(index));
  selectingSuggestion_ = false;
}

void TVerbaSpell::dialogDeactivated() {
  OnDeactivate(this);
  restoreHelpFile();
  resetDialogControls();
  enable(ciStart, true);
}

void TVerbaSpell::dialogActivated() { useHelpFile(); }

// Placement.

void TVerbaSpell::moveDialog(int x, int y) {
  if (!dialog_ || !Platform.Screen)
    return;
  const TDialogRect screen = Platform.Screen();
  const TDialogRect box = dialog_->Bounds();
  x = std::max(x, 0);
  if (x + box.Width > screen.Width)
    x = screen.Width - box.Width;
  y = std::max(y, 0);
  if (y + box.Height > screen.Height)
    y = screen.Height - box.Height;
  dialog_->MoveTo(x, y);
}

void TVerbaSpell::avoidWord(bool always, bool keepX) {
  if (!dialog_ || !parser_ || !Platform.Screen)
    return;
  TParserRect word;
  parser_->GetWordRect(word);
  if (word.Left <= 0)
    return;
  const TDialogRect box = dialog_->Bounds();
  if (!always) {
    const bool covered = inside(box, word.Left, word.Top) || inside(box, word.Right, word.Top) ||
                         inside(box, word.Left, word.Bottom) ||
                         inside(box, word.Right, word.Bottom);
    if (!covered)
      return;
  }
  const TDialogRect screen = Platform.Screen();
  const int y =
      box.Height + word.Bottom < screen.Height ? word.Bottom + 2 : word.Top - box.Height - 2;
  moveDialog(keepX ? box.Left : word.Left, y);
}

void TVerbaSpell::placeDialog(bool first) {
  if (!dialog_ || !parser_ || !Platform.Screen)
    return;
  if (!first) {
    switch (SelectionBehavior) {
    case sbNone:
      return;
    case sbAvoid:
      avoidWord(false, false);
      return;
    case sbAvoidUpDown:
      avoidWord(false, true);
      return;
    case sbMove:
      avoidWord(true, false);
      return;
    case sbMoveUpDown:
      avoidWord(true, true);
      return;
    }
    return;
  }
  const TDialogRect screen = Platform.Screen();
  const TDialogRect box = dialog_->Bounds();
  auto centre = [&] {
    moveDialog(screen.Width / 2 - box.Width / 2, screen.Height / 2 - box.Height / 2);
  };
  TParserRect control;
  parser_->GetControlRect(control);
  TInitialPos position = InitialPosition;
  if (control.Left < 0)
    position = ipScreenCenter;
  switch (position) {
  case ipScreenCenter:
    centre();
    return;
  case ipUnderSelection:
    avoidWord(true, false);
    return;
  case ipAvoidControl: {
    if (box.Height + control.Bottom < screen.Height) {
      moveDialog(control.Left, control.Bottom + 2);
    } else if (control.Right + 2 + box.Width < screen.Width) {
      moveDialog(control.Right + 2, control.Top);
    } else if (control.Top - box.Height > 0) {
      moveDialog(control.Left, control.Top - box.Height - 2);
    } else if (control.Left - box.Width > 0) {
      moveDialog(control.Left - box.Width - 2, control.Top);
    } else {
      TParserRect word;
      parser_->GetWordRect(word);
      if (word.Left < 0)
        centre();
      else
        avoidWord(true, false);
    }
    return;
  }
  case ipUserDefined:
    if (OnPositionDialog.Assigned()) {
      TDialogForm *form = dialog_;
      OnPositionDialog(this, form);
    } else {
      centre();
    }
    return;
  case ipIgnore:
    return;
  }
}

} // namespace spelling
