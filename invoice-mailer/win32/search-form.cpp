#include "invoice-mailer/win32/search-form.h"

namespace billpost {

using namespace components;

namespace {
const char *const showOnly = "Show only invoices containing...";
}

TSearchForm::TSearchForm(TComponent *owner) : TForm(owner) {
  SetName("SearchForm");
  SetCaption(" Archive Search");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(250);
  SetClientHeight(200);
  lblShow = new TLabel(this);
  lblShow->SetParent(this);
  lblShow->SetBounds(10, 8, 230, 16);
  lblShow->SetCaption(showOnly);
  editKey1 = new TEdit(this);
  editKey1->SetParent(this);
  editKey1->SetBounds(10, 28, 230, 21);
  rgrpJoin = new TRadioGroup(this);
  rgrpJoin->SetParent(this);
  rgrpJoin->SetBounds(10, 56, 230, 70);
  for (const char *word : {"OR", "AND", "NOT", "*ALL*"})
    rgrpJoin->Items().Add(word);
  editKey2 = new TEdit(this);
  editKey2->SetParent(this);
  editKey2->SetBounds(10, 134, 230, 21);
  btnOK = new TButton(this);
  btnOK->SetParent(this);
  btnOK->SetBounds(84, 166, 75, 25);
  btnOK->SetCaption("OK");
  btnOK->SetDefault(true);
  btnOK->SetModalResult(mrOk);
  btnCancel = new TButton(this);
  btnCancel->SetParent(this);
  btnCancel->SetBounds(165, 166, 75, 25);
  btnCancel->SetCaption("Cancel");
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
  rgrpJoin->OnClick = [this](TObject *) { joinChosen(); };
  editKey1->OnChange = [this](TObject *) { key1Changed(); };
}

void TSearchForm::joinChosen() {
  int index = rgrpJoin->ItemIndex();
  std::string word = index >= 0 ? rgrpJoin->Items()[index] : "";
  bool all = word.find("ALL") != std::string::npos;
  if (all) {
    lblShow->SetCaption("Shows all invoices in the log.");
    editKey1->Clear();
    editKey2->Clear();
  } else {
    lblShow->SetCaption(showOnly);
    if (Visible()) {
      if (!editKey1->Text().empty())
        editKey2->SetFocus();
      else
        editKey1->SetFocus();
    }
  }
  btnOK->SetEnabled(!editKey1->Text().empty() || all);
}

void TSearchForm::key1Changed() { btnOK->SetEnabled(!editKey1->Text().empty()); }

void TSearchForm::SearchParms(std::string &key1, std::string &key2, bool &filterOn,
                              std::string &joinWord) {
  editKey1->SetText(key1);
  editKey2->SetText(key2);
  int index = rgrpJoin->Items().IndexOf(joinWord);
  rgrpJoin->SetItemIndex(index < 0 ? 0 : index);
  joinChosen();
  bool ok = ShowModal() == mrOk;
  std::string word = rgrpJoin->ItemIndex() >= 0 ? rgrpJoin->Items()[rgrpJoin->ItemIndex()] : "";
  filterOn = ok && word != "*ALL*";
  if (filterOn) {
    key1 = editKey1->Text();
    key2 = editKey2->Text();
    joinWord = word;
  }
}

} // namespace billpost
