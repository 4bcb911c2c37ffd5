// The check dialog's form, built in code: its controls at their designed
// places, the handlers of its TDialogControl and the fitting of its
// columns to the texts of the current language.
#include "spelling/win32/dialogs/spell-dialog.h"

#include "spelling/core/verba-spell.h"
#include "spelling/win32/dialogs/glyph-button.h"

#include "platform/components/win32/application.h"

#include <algorithm>
#include <initializer_list>

namespace spelling {

using namespace components;

namespace {

// Designed width of every button and of the left column.
constexpr int DesignedColumn = 75;
// Text narrower than this keeps the designed width (71 plus 4 of margin).
constexpr int NarrowestText = 71;
// Room for the cancel glyph beside its text.
constexpr int GlyphRoom = 22;

template <typename Control>
Control *place(TForm *form, Control *control, int left, int top, int width, int height,
               int helpContext) {
  control->SetBounds(left, top, width, height);
  control->SetHelpContext(helpContext);
  control->SetParent(form);
  return control;
}

TButton *button(TForm *form, const char *caption, int left, int top, int helpContext,
                bool enabled) {
  auto *made = place(form, new TButton(form), left, top, 75, 22, helpContext);
  made->SetCaption(caption);
  made->SetEnabled(enabled);
  return made;
}

TLabel *label(TForm *form, const char *caption, int left, int top, int width) {
  auto *made = place(form, new TLabel(form), left, top, width, 13, 0);
  made->SetCaption(caption);
  return made;
}

void setHelpContexts(TWinControl &parent, int context) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl *control = parent.Controls(i);
    if (auto *windowed = dynamic_cast<TWinControl *>(control)) {
      windowed->SetHelpContext(context);
      setHelpContexts(*windowed, context);
    }
  }
}

} // namespace

void TDialogEditAdapter::SelectText(int start, int length) {
  edit_->SetSelStart(start);
  edit_->SetSelLength(length);
}

TVerbaSpellDialog::TVerbaSpellDialog(TComponent *owner) : TForm(owner) {
  SetName("VerbaSpellDialog");
  SetBorderStyle(bsDialog);
  SetBorderIcons(biSystemMenu);
  SetFormStyle(fsStayOnTop);
  TForm::SetCaption("Spell Check");
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);
  SetClientWidth(386);
  SetClientHeight(157);
  createControls();
  linkEvents();
}

// Windows are made in tab order: the platform tabs through sibling
// windows in the order they were created.
void TVerbaSpellDialog::createControls() {
  ErrorLabel = label(this, "Not Found:", 8, 8, 53);
  ActionLabel = label(this, "&Replace With:", 8, 32, 68);
  SuggestLabel = label(this, "&Suggestions:", 8, 57, 61);
  ChangeAll = button(this, "&Change All", 224, 32, 900, false);
  Change = button(this, "C&hange", 304, 32, 901, false);
  IgnoreAll = button(this, "&Ignore All", 224, 56, 902, false);
  Ignore = button(this, "I&gnore", 304, 56, 903, false);
  Add = button(this, "&Add", 224, 80, 904, false);
  AutoCorrect = button(this, "Au&to-Correct", 304, 80, 905, false);
  NotFound = place(this, new TEdit(this), 96, 8, 281, 21, 912);
  NotFound->SetReadOnly(true);
  WordEdit = place(this, new TEdit(this), 96, 32, 121, 21, 913);
  SuggestBox = place(this, new TListBox(this), 96, 56, 121, 97, 914);
  SuggestBox->SetItemHeight(13);
  Suggest = button(this, "S&uggest", 8, 59, 906, false);
  Start = button(this, "Start", 8, 83, 907, false);
  UndoLast = button(this, "Undo &Last", 8, 107, 908, false);
  Options = button(this, "&Options", 8, 131, 909, true);
  Help = button(this, "Hel&p", 224, 131, 0, true);
  // The kind before the window: setting it later would restyle the
  // window as a plain push button.
  auto *cancel = new TGlyphButton(this);
  cancel->SetKind(bkCancel);
  Cancel = place(this, cancel, 304, 131, 75, 22, 911);
  ErrorLabel->SetFocusControl(NotFound);
  ActionLabel->SetFocusControl(WordEdit);
  SuggestLabel->SetFocusControl(SuggestBox);

  DC = new TDialogControl(this);
  DC->SetName("DC");
  wordEditAdapter_ = std::make_unique<TDialogEditAdapter>(WordEdit);
  suggestionsAdapter_ = std::make_unique<TDialogListAdapter>(SuggestBox);
  DC->WordEdit = wordEditAdapter_.get();
  DC->Suggestions = suggestionsAdapter_.get();
}

void TVerbaSpellDialog::linkEvents() {
  DC->OnChangeEnabled = [this](TObject *, int index, bool enabled) {
    DC1ChangeEnabled(index, enabled);
  };
  DC->OnChangeVisible = [this](TObject *, int index, bool visible) {
    DC1ChangeVisible(index, visible);
  };
  DC->OnGetCaption = [this](TObject *, int index, std::string &text) {
    DC1GetCaption(index, text);
  };
  DC->OnSetCaption = [this](TObject *, int index, const std::string &text) {
    DC1SetCaption(index, text);
  };
  DC->OnResize = [this](TObject *) { DCResize(); };

  const std::pair<TButton *, void (TVerbaSpellDialog::*)(TObject *)> clicks[] = {
      {Suggest, &TVerbaSpellDialog::SuggestClick},
      {Start, &TVerbaSpellDialog::StartClick},
      {UndoLast, &TVerbaSpellDialog::UndoLastClick},
      {Options, &TVerbaSpellDialog::OptionsClick},
      {ChangeAll, &TVerbaSpellDialog::ChangeAllClick},
      {Change, &TVerbaSpellDialog::ChangeClick},
      {IgnoreAll, &TVerbaSpellDialog::IgnoreAllClick},
      {Ignore, &TVerbaSpellDialog::IgnoreClick},
      {Add, &TVerbaSpellDialog::AddClick},
      {AutoCorrect, &TVerbaSpellDialog::AutoCorrectClick},
      {Help, &TVerbaSpellDialog::HelpClick},
      {Cancel, &TVerbaSpellDialog::CancelClick}};
  for (const auto &click : clicks) {
    auto handler = click.second;
    click.first->OnClick = [this, handler](TObject *sender) { (this->*handler)(sender); };
  }

  // What the component takes over of the controls and the form.
  SuggestBox->OnClick = [this](TObject *) { DC->SuggestionClicked(); };
  SuggestBox->OnDblClick = [this](TObject *) { DC->SuggestionDoubleClicked(); };
  WordEdit->OnChange = [this](TObject *) { DC->WordEditChanged(); };
  OnActivate = [this](TObject *) { DC->DialogActivated(); };
  OnDeactivate = [this](TObject *) { DC->DialogDeactivated(); };
  OnCloseQuery = [this](TObject *, bool &canClose) { canClose = DC->DialogCloseQuery(); };
}

void TVerbaSpellDialog::SuggestClick(TObject *) { DC->Suggest(); }
void TVerbaSpellDialog::StartClick(TObject *) { DC->Start(); }
void TVerbaSpellDialog::UndoLastClick(TObject *) { DC->UndoLast(); }
void TVerbaSpellDialog::OptionsClick(TObject *) { DC->Options(); }
void TVerbaSpellDialog::ChangeAllClick(TObject *) { DC->ChangeAll(); }
void TVerbaSpellDialog::ChangeClick(TObject *) { DC->Change(); }
void TVerbaSpellDialog::IgnoreAllClick(TObject *) { DC->IgnoreAll(); }
void TVerbaSpellDialog::IgnoreClick(TObject *) { DC->Ignore(); }
void TVerbaSpellDialog::AddClick(TObject *) { DC->Add(); }
void TVerbaSpellDialog::AutoCorrectClick(TObject *) { DC->AutoCorrect(); }
void TVerbaSpellDialog::HelpClick(TObject *) { DC->Help(); }
void TVerbaSpellDialog::CancelClick(TObject *) { DC->Cancel(); }

TControl *TVerbaSpellDialog::indexed(int index) const {
  TControl *const controls[] = {ChangeAll,   Change,     IgnoreAll, Ignore,   Add,
                                AutoCorrect, Suggest,    Start,     UndoLast, Options,
                                Help,        Cancel,     NotFound,  WordEdit, SuggestBox,
                                ErrorLabel,  ActionLabel};
  if (index < 0 || index >= static_cast<int>(sizeof controls / sizeof controls[0]))
    return nullptr;
  return controls[index];
}

void TVerbaSpellDialog::DC1ChangeEnabled(int index, bool enabled) {
  if (TControl *control = indexed(index))
    control->SetEnabled(enabled);
}

void TVerbaSpellDialog::DC1ChangeVisible(int index, bool visible) {
  if (TControl *control = indexed(index))
    control->SetVisible(visible);
}

// The suggestion list has no text of its own.
void TVerbaSpellDialog::DC1GetCaption(int index, std::string &text) {
  if (index == ciSuggestBox)
    return;
  if (TControl *control = indexed(index))
    text = control->Caption();
}

void TVerbaSpellDialog::DC1SetCaption(int index, const std::string &text) {
  if (index == ciSuggestBox)
    return;
  if (TControl *control = indexed(index))
    control->SetCaption(text);
}

// Widths are measured on the raw texts, accelerator marks included, so a
// column is never narrower than its widest caption.
void TVerbaSpellDialog::DCResize() {
  TCanvas &canvas = Canvas();
  auto widest = [&canvas](std::initializer_list<TControl *> controls) {
    int width = NarrowestText;
    for (TControl *control : controls)
      width = std::max(width, canvas.TextWidth(control->Caption()));
    return width;
  };

  const std::initializer_list<TControl *> leftColumn = {
      ErrorLabel, ActionLabel, SuggestLabel, Suggest, Start, UndoLast, Options};
  int left = widest(leftColumn) + 4;
  if (left > DesignedColumn) {
    int d = left - DesignedColumn;
    for (TControl *control : leftColumn)
      control->SetWidth(left);
    NotFound->SetLeft(NotFound->Left() + d);
    WordEdit->SetLeft(NotFound->Left());
    SuggestBox->SetLeft(NotFound->Left());
    ChangeAll->SetLeft(ChangeAll->Left() + d);
    for (TControl *control : std::initializer_list<TControl *>{IgnoreAll, Add, Help})
      control->SetLeft(ChangeAll->Left());
    Change->SetLeft(Change->Left() + d);
    for (TControl *control : std::initializer_list<TControl *>{Ignore, AutoCorrect, Cancel})
      control->SetLeft(Change->Left());
    SetWidth(Width() + d);
  }
  // A label narrower than its shown text would wrap the rest onto a line
  // its height hides; within the column it grows to fit, as it would on a
  // font wider than the designed one.
  for (TControl *control :
       std::initializer_list<TControl *>{ErrorLabel, ActionLabel, SuggestLabel}) {
    RECT shown{0, 0, 0, 0};
    canvas.DrawText(control->Caption(), shown, DT_CALCRECT | DT_SINGLELINE);
    if (shown.right > control->Width())
      control->SetWidth(std::min<int>(shown.right, std::max(left, DesignedColumn)));
  }

  const std::initializer_list<TControl *> buttons = {ChangeAll, Change,      IgnoreAll, Ignore,
                                                     Add,       AutoCorrect, Help,      Cancel};
  int right = std::max(widest(buttons), canvas.TextWidth(Cancel->Caption()) + GlyphRoom) + 4;
  if (right > DesignedColumn) {
    int e = right - DesignedColumn;
    for (TControl *control : buttons)
      control->SetWidth(right);
    Change->SetLeft(Change->Left() + e);
    for (TControl *control : std::initializer_list<TControl *>{Ignore, AutoCorrect, Cancel})
      control->SetLeft(Change->Left());
    NotFound->SetWidth(NotFound->Width() + 2 * e);
    SetWidth(Width() + 2 * e);
  }
}

void TVerbaSpellDialog::SetHelpEnabled(bool enabled) {
  if (enabled) {
    SetBorderIcons(BorderIcons() | biHelp);
    return;
  }
  SetBorderIcons(BorderIcons() & ~biHelp);
  setHelpContexts(*this, 0);
}

TDialogForm *CreateVerbaSpellDialog(TVerbaSpell &spell) {
  (void)spell;
  return new TVerbaSpellDialog(Application);
}

} // namespace spelling
