// The options dialog's frame: buttons, page control, sizing from the
// measured texts of the language, the close question and the run.
#include "spelling/win32/dialogs/config-dialog.h"

#include "spelling/core/verba-spell.h"
#include "spelling/win32/dialogs/dict-sheet.h"
#include "spelling/win32/dialogs/glyph-button.h"
#include "spelling/win32/dialogs/options-sheet.h"
#include "spelling/win32/dialogs/spell-dialog.h"

#include "platform/components/win32/application.h"
#include "platform/components/win32/dialogs.h"

#include <algorithm>

namespace spelling {

using namespace components;

namespace {

void clearHelpContexts(TWinControl &parent) {
  for (int i = 0; i < parent.ControlCount(); ++i)
    if (auto *windowed = dynamic_cast<TWinControl *>(parent.Controls(i))) {
      windowed->SetHelpContext(0);
      clearHelpContexts(*windowed);
    }
}

} // namespace

TConfigDialog::TConfigDialog(TComponent *owner, TConfiguration &configuration)
    : TForm(owner), configuration_(configuration), language_(EnglishLanguage()) {
  SetName("ConfigDialog");
  SetBorderStyle(bsDialog);
  SetBorderIcons(biSystemMenu);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);
  // The working copy never writes itself: only OK puts it into effect.
  working_ = std::make_unique<TConfiguration>("", configuration.DefaultOptions(),
                                              configuration.DefaultUser(),
                                              configuration.DefaultMain(), configuration.Section());
  working_->Assign(configuration);
  working_->SetModified(false);

  Pages = new TPageControl(this);
  Pages->SetAlign(alLeft);
  Pages->SetWidth(329);
  Pages->SetParent(this);
  OK = new TGlyphButton(this);
  OK->SetKind(bkOK);
  OK->SetHelpContext(816);
  OK->SetParent(this);
  Cancel = new TGlyphButton(this);
  Cancel->SetKind(bkCancel);
  Cancel->SetHelpContext(817);
  Cancel->SetParent(this);
  Help = new TButton(this);
  Help->SetCaption("&Help");
  Help->SetParent(this);
  Help->OnClick = [this](TObject *) { HelpClick(); };
  OnCloseQuery = [this](TObject *sender, bool &canClose) { FormCloseQuery(sender, canClose); };
}

void TConfigDialog::FormCloseQuery(TObject *, bool &canClose) {
  if (!changed_ || ModalResult() == mrOk)
    return;
  canClose = MessageDlg(ConvertLineBreaks(language_.Strings[63]), mtConfirmation, mbYes | mbNo,
                        0) == mrYes;
}

TConfigDialog::~TConfigDialog() { working_->SetModified(false); }

void TConfigDialog::BuildPages(TSpellOptions visible, const TStringList *ignoreAll,
                               const TStringList *changeAllReplacements,
                               const TStringList *changeAllWords) {
  (void)changeAllReplacements; // the change-all words tell the same
  DictSheet = new TDictSheet(this, Pages, *working_, changed_);
  OptionsSheet =
      new TSpellOptionsSheet(this, Pages, *working_, changed_, visible, ignoreAll, changeAllWords);
  int content = OptionsSheet->ContentHeight();
  SetBounds(Left(), Top(), 432, content >= 245 ? content + 55 : 300);
  SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2, Width(), Height());
  Pages->SetWidth(329);
  OK->SetBounds(344, 8, 75, 25);
  Cancel->SetBounds(344, 36, 75, 25);
  Help->SetBounds(344, 64, 75, 25);
}

void TConfigDialog::ApplyLanguage(const TLanguageModule &language) {
  language_ = language;
  auto text = [&language](int index) { return language.Strings[static_cast<std::size_t>(index)]; };
  TForm::SetCaption(text(22));
  OK->SetCaption(text(25));
  Cancel->SetCaption(text(26));
  Help->SetCaption(text(15));
  TCanvas &canvas = Canvas();
  int b = std::max({71, canvas.TextWidth(text(25)) + 22, canvas.TextWidth(text(26)) + 22,
                    canvas.TextWidth(text(15))}) +
          4;
  int ignoreWidth = 0, otherWidth = 0, resetWidth = 0;
  if (DictSheet)
    DictSheet->ApplyLanguage(language);
  if (OptionsSheet)
    OptionsSheet->ApplyLanguage(language, ignoreWidth, otherWidth, resetWidth);
  int pagesWidth =
      std::max(Pages->Width(), std::max(resetWidth + ignoreWidth + 64, otherWidth + 56));
  Pages->SetWidth(pagesWidth);
  for (TControl *button : std::initializer_list<TControl *>{OK, Cancel, Help})
    button->SetBounds(pagesWidth + 15, button->Top(), b, button->Height());
  SetWidth(pagesWidth + b + 28);
}

void TConfigDialog::SetHelpEnabled(bool enabled) {
  if (enabled) {
    SetBorderIcons(BorderIcons() | biHelp);
    Help->Show();
    return;
  }
  SetBorderIcons(BorderIcons() & ~biHelp);
  Help->Hide();
  HelpContext1 = HelpContext2 = 0;
  clearHelpContexts(*this);
}

void TConfigDialog::HelpClick() {
  bool dictionaries = Pages->ActivePage() == DictSheet;
  Application->HelpContext(dictionaries ? HelpContext1 : HelpContext2);
}

bool TConfigDialog::Execute() {
  if (DictSheet)
    DictSheet->AttachToPageControl();
  if (OptionsSheet)
    OptionsSheet->AttachToPageControl();
  if (DictSheet)
    Pages->SetActivePage(DictSheet);
  if (ShowModal() != mrOk)
    return false;
  bool write = changed_ || configuration_.Modified();
  working_->SetModified(write);
  configuration_.Assign(*working_);
  working_->SetModified(false);
  // Written at once, so the file holds what the user confirmed even if
  // the program never ends normally.
  if (write && configuration_.Loaded()) {
    configuration_.Save();
    configuration_.SetModified(false);
  }
  return true;
}

bool RunConfigDialog(TSetupRequest &request) {
  if (!request.Configuration)
    return false;
  auto dialog = std::make_unique<TConfigDialog>(Application, *request.Configuration);
  dialog->TForm::SetCaption(request.Caption);
  dialog->BuildPages(request.VisibleOptions, request.IgnoreAllList, request.ChangeAllReplacements,
                     request.ChangeAllWords);
  dialog->ApplyLanguage(request.Language ? *request.Language : EnglishLanguage());
  if (!request.Caption.empty())
    dialog->TForm::SetCaption(request.Caption);
  dialog->HelpContext1 = request.HelpContext1;
  dialog->HelpContext2 = request.HelpContext2;
  if (dialog->DictSheet)
    dialog->DictSheet->SetHelpContext(request.HelpContext1);
  if (dialog->OptionsSheet)
    dialog->OptionsSheet->SetHelpContext(request.HelpContext2);
  dialog->SetHelpEnabled(request.HelpEnabled);
  if (request.Spell) {
    TDialogForm *form = dialog.get();
    request.Spell->OnSetupCreate(request.Spell, form);
  }
  return dialog->Execute();
}

// <windows.h> renames CreateDialog to its ANSI form; the hook keeps its name.
#undef CreateDialog

void InstallSpellDialogs(TSpellPlatform &platform) {
  platform.CreateDialog = CreateVerbaSpellDialog;
  platform.RunSetupDialog = RunConfigDialog;
}

} // namespace spelling
