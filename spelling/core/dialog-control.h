// The seam between the spelling component and its check dialog. The
// component never touches the dialog's controls: it asks the dialog's
// TDialogControl to enable, show, read or set a control by index, and the
// dialog hands each button press back as a command code. Any form that
// carries a TDialogControl and handles its events can serve as the dialog.
//
// The dialog also forwards to the control what the component takes over of
// its controls and form (a suggestion clicked or double-clicked, the word
// edit changed, the form activated, deactivated or asked to close); these
// do nothing until a component links the control.
#ifndef SPELLING_DIALOG_CONTROL_H
#define SPELLING_DIALOG_CONTROL_H

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"

#include <string>

namespace spelling {

// What each button reports.
enum TDialogCommand : int {
  dcSuggest = 0,
  dcStart = 1,
  dcUndoLast = 2,
  dcOptions = 3,
  dcChangeAll = 4,
  dcChange = 5,
  dcIgnoreAll = 6,
  dcIgnore = 7,
  dcAdd = 8,
  dcAutoCorrect = 9,
  dcHelp = 10,
  dcCancel = 11,
};
constexpr int DialogCommandCount = 12;

// Control indices of the enable, show, read-text and set-text requests.
// The component also sets the text of index 17; a dialog without such a
// control ignores it, as it ignores every index it does not have.
enum TDialogControlIndex : int {
  ciChangeAll = 0,
  ciChange = 1,
  ciIgnoreAll = 2,
  ciIgnore = 3,
  ciAdd = 4,
  ciAutoCorrect = 5,
  ciSuggest = 6,
  ciStart = 7,
  ciUndoLast = 8,
  ciOptions = 9,
  ciHelp = 10,
  ciCancel = 11,
  ciNotFound = 12,     // the word in question (read-only)
  ciWordEdit = 13,     // the replacement
  ciSuggestBox = 14,   // the suggestion list: enable and show only
  ciErrorLabel = 15,   // "Not Found:" / "Repeated Word:"
  ciActionLabel = 16,  // "Replace With:"
  ciSuggestLabel = 17, // "Suggestions:"
};

// The dialog's replacement edit as the component sees it.
class TDialogWordEdit {
public:
  virtual ~TDialogWordEdit() = default;
  virtual std::string Text() const = 0;
  // Sets the text as if typed: the dialog reports the change through
  // TDialogControl::WordEditChanged.
  virtual void SetText(const std::string &text) = 0;
  // Selects length characters from start (0-based).
  virtual void SelectText(int start, int length) = 0;
};

// The dialog's suggestion list as the component sees it. The component
// keeps its own copy of the suggestions and sends the list every entry.
class TDialogSuggestionList {
public:
  virtual ~TDialogSuggestionList() = default;
  virtual void Clear() = 0;
  virtual void Add(const std::string &item) = 0;
  virtual int Count() const = 0;
  virtual std::string Item(int index) const = 0;
  // The selected entry, -1 for none; SetItemIndex(-1) deselects.
  virtual int ItemIndex() const = 0;
  virtual void SetItemIndex(int index) = 0;
};

using TIndexBoolEvent = components::Event<components::TObject *, int, bool>;
using TIndexVarStringEvent = components::Event<components::TObject *, int, std::string &>;
using TIndexStringEvent = components::Event<components::TObject *, int, const std::string &>;
using TDialogCommandEvent = components::Event<components::TObject *, int>;
using TCloseQueryEvent = components::Event<components::TObject *, bool &>;

class TDialogControl : public components::TComponent {
public:
  explicit TDialogControl(components::TComponent *owner) : TComponent(owner) {}

  // Published: the dialog's two controls the component reads and fills
  // (not owned; null until the dialog sets them).
  TDialogWordEdit *WordEdit = nullptr;
  TDialogSuggestionList *Suggestions = nullptr;

  // Published: handled by the dialog.
  TIndexBoolEvent OnChangeEnabled;
  TIndexBoolEvent OnChangeVisible;
  TIndexVarStringEvent OnGetCaption;
  TIndexStringEvent OnSetCaption;
  components::TNotifyEvent OnBackgroundStart;
  components::TNotifyEvent OnBackgroundEnd;
  components::TNotifyEvent OnSuggestStart;
  components::TNotifyEvent OnSuggestEnd;
  components::TNotifyEvent OnResize;

  // Not published: set by the component that links the control.
  TDialogCommandEvent OnCommand;
  components::TNotifyEvent OnSuggestionClick;
  components::TNotifyEvent OnSuggestionDblClick;
  components::TNotifyEvent OnWordEditChange;
  components::TNotifyEvent OnDialogActivate;
  components::TNotifyEvent OnDialogDeactivate;
  TCloseQueryEvent OnDialogCloseQuery;

  // The buttons: each reports its command code (nothing while unlinked).
  void Suggest() { Command(dcSuggest); }
  void Start() { Command(dcStart); }
  void UndoLast() { Command(dcUndoLast); }
  void Options() { Command(dcOptions); }
  void ChangeAll() { Command(dcChangeAll); }
  void Change() { Command(dcChange); }
  void IgnoreAll() { Command(dcIgnoreAll); }
  void Ignore() { Command(dcIgnore); }
  void Add() { Command(dcAdd); }
  void AutoCorrect() { Command(dcAutoCorrect); }
  void Help() { Command(dcHelp); }
  void Cancel() { Command(dcCancel); }
  void Command(int code) { OnCommand(this, code); }

  // What the dialog forwards of its controls and form.
  void SuggestionClicked() { OnSuggestionClick(this); }
  void SuggestionDoubleClicked() { OnSuggestionDblClick(this); }
  void WordEditChanged() { OnWordEditChange(this); }
  void DialogActivated() { OnDialogActivate(this); }
  void DialogDeactivated() { OnDialogDeactivate(this); }
  // Whether the form may close; a linked component refuses and cancels
  // the check instead.
  bool DialogCloseQuery() {
    bool canClose = true;
    OnDialogCloseQuery(this, canClose);
    return canClose;
  }
};

// The first TDialogControl among the components that form owns, or null.
TDialogControl *FindDialogControl(components::TComponent *form);

} // namespace spelling

#endif
