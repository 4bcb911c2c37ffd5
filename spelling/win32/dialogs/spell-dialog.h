// The check dialog: the form that shows each unknown or repeated word while
// a check runs. The spelling component drives it only through its
// TDialogControl (controls addressed by index, button presses handed back
// as command codes) and the TDialogForm interface (caption, font, bounds,
// showing and releasing), so the form itself keeps no state beyond its
// controls.
#ifndef SPELLING_WIN32_DIALOGS_SPELL_DIALOG_H
#define SPELLING_WIN32_DIALOGS_SPELL_DIALOG_H

#include "spelling/core/dialog-control.h"
#include "spelling/core/spell-platform.h"

#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"

#include <memory>
#include <string>

namespace spelling {

// The replacement edit and the suggestion list as the component sees them.
class TDialogEditAdapter : public TDialogWordEdit {
public:
  explicit TDialogEditAdapter(components::TEdit *edit) : edit_(edit) {}
  std::string Text() const override { return edit_->Text(); }
  void SetText(const std::string &text) override { edit_->SetText(text); }
  void SelectText(int start, int length) override;

private:
  components::TEdit *edit_;
};

class TDialogListAdapter : public TDialogSuggestionList {
public:
  explicit TDialogListAdapter(components::TListBox *list) : list_(list) {}
  void Clear() override { list_->Items().Clear(); }
  void Add(const std::string &item) override { list_->Items().Add(item); }
  int Count() const override { return list_->Items().Count(); }
  std::string Item(int index) const override { return list_->Items().Strings(index); }
  int ItemIndex() const override { return list_->ItemIndex(); }
  void SetItemIndex(int index) override { list_->SetItemIndex(index); }

private:
  components::TListBox *list_;
};

class TVerbaSpellDialog : public components::TForm, public TDialogForm {
public:
  explicit TVerbaSpellDialog(components::TComponent *owner);

  // The controls, by their names on the form.
  components::TLabel *ErrorLabel, *ActionLabel, *SuggestLabel;
  components::TEdit *NotFound, *WordEdit;
  components::TListBox *SuggestBox;
  components::TButton *ChangeAll, *Change, *IgnoreAll, *Ignore, *Add, *AutoCorrect;
  components::TButton *Suggest, *Start, *UndoLast, *Options, *Help;
  components::TBitBtn *Cancel;
  TDialogControl *DC;

  // The handlers of DC's events.
  void DC1ChangeEnabled(int index, bool enabled);
  void DC1ChangeVisible(int index, bool visible);
  void DC1GetCaption(int index, std::string &text);
  void DC1SetCaption(int index, const std::string &text);
  // Fits the columns to the texts as they stand.
  void DCResize();
  // The buttons' clicks: each calls the DC method of its command.
  void SuggestClick(components::TObject *sender);
  void StartClick(components::TObject *sender);
  void UndoLastClick(components::TObject *sender);
  void OptionsClick(components::TObject *sender);
  void ChangeAllClick(components::TObject *sender);
  void ChangeClick(components::TObject *sender);
  void IgnoreAllClick(components::TObject *sender);
  void IgnoreClick(components::TObject *sender);
  void AddClick(components::TObject *sender);
  void AutoCorrectClick(components::TObject *sender);
  void HelpClick(components::TObject *sender);
  void CancelClick(components::TObject *sender);

  // TDialogForm.
  components::TComponent *FormComponent() override { return this; }
  void SetCaption(const std::string &caption) override { TForm::SetCaption(caption); }
  void SetFontSize(int points) override { Font().SetSize(points); }
  TDialogRect Bounds() const override { return TDialogRect{Left(), Top(), Width(), Height()}; }
  void MoveTo(int left, int top) override { SetBounds(left, top, Width(), Height()); }
  void Show() override { SetVisible(true); }
  void Hide() override { SetVisible(false); }
  void Release() override { TForm::Release(); }
  void SetHelpEnabled(bool enabled) override;

private:
  // The control of an index of the enable, show and text requests, or null.
  components::TControl *indexed(int index) const;
  void createControls();
  void linkEvents();

  std::unique_ptr<TDialogEditAdapter> wordEditAdapter_;
  std::unique_ptr<TDialogListAdapter> suggestionsAdapter_;
};

// The platform hook that makes the component's own check dialog.
TDialogForm *CreateVerbaSpellDialog(TVerbaSpell &spell);

} // namespace spelling

#endif
