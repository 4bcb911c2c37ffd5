// The setup dialog's window over its model.
#include "clipboard-checker/win32/persist-edit-dialog.h"

#include "clipboard-checker/core/property-text.h"
#include "clipboard-checker/win32/font-object.h"
#include "clipboard-checker/win32/picture-object.h"
#include "platform/components/core/exception.h"
#include "platform/components/win32/application.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace lexitray {

using namespace components;

namespace {

constexpr int clientWidth = 456, clientHeight = 300;
constexpr int listLeft = 8, listTop = 8, listWidth = 190, listHeight = 250;
constexpr int editorLeft = 210, editorWidth = 238;
constexpr int buttonTop = 268, buttonWidth = 75, buttonHeight = 23;
constexpr int sampleHeight = 60, pictureHeight = 150;
const char sampleText[] = "AaBbYyZz";
const char pictureFilter[] = "Bitmaps (*.bmp)|*.bmp|All files (*.*)|*.*";

} // namespace

// A list box of several selections: a set's members.
class TkfPersistEdit::TSetList : public TListBox {
public:
  using TListBox::TListBox;
  std::vector<std::string> Selected() {
    std::vector<std::string> names;
    for (int i = 0; i < Items().Count(); ++i)
      if (SendMessageA(Handle(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
        names.push_back(Items()[i]);
    return names;
  }
  void Select(const std::vector<std::string> &names) {
    for (int i = 0; i < Items().Count(); ++i) {
      bool chosen = std::any_of(names.begin(), names.end(), [&](const std::string &name) {
        return SameText(name, Items()[i]);
      });
      SendMessageA(Handle(), LB_SETSEL, chosen, static_cast<LPARAM>(i));
    }
  }

protected:
  void CreateParams(TCreateParams &params) override {
    TListBox::CreateParams(params);
    params.style |= LBS_MULTIPLESEL;
  }
};

// A combo box that also accepts typed text: it says whether its last
// change was a choice from the list (not yet in the edit field when it is
// reported) or typing.
class TkfPersistEdit::TTypedCombo : public TComboBox {
public:
  using TComboBox::TComboBox;
  std::string Value() {
    int choice = ItemIndex();
    return chosen_ && choice >= 0 ? Items()[choice] : Text();
  }

protected:
  void command(WORD code, WORD id) override {
    chosen_ = code == CBN_SELCHANGE;
    TComboBox::command(code, id);
  }

private:
  bool chosen_ = false;
};

TkfPersistEdit::TkfPersistEdit(TComponent *owner, TkfPersist &persist)
    : TForm(owner), model_(persist) {
  SetName("kfPersistEdit");
  SetBorderStyle(bsDialog);
  SetBorderIcons(biSystemMenu);
  SetPosition(poScreenCenter);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);
  SetClientWidth(clientWidth);
  SetClientHeight(clientHeight);
  buildControls();
  for (int i = 0; i < model_.Count(); ++i)
    ItemList->Items().Add(model_.Entry(i).valueName);
  hideEditors();
  if (model_.Count() > 0) {
    ItemList->SetItemIndex(0);
    showEntry(0);
  }
}

void TkfPersistEdit::buildControls() {
  ItemList = new TListBox(this);
  ItemList->SetName("ItemList");
  ItemList->SetStyle(lbOwnerDrawFixed);
  ItemList->SetItemHeight(TextLeft);
  ItemList->SetBounds(listLeft, listTop, listWidth, listHeight);
  ItemList->SetParent(this);
  ItemList->OnDrawItem = [this](TObject *, int index, const RECT &rect, TOwnerDrawState state) {
    drawEntry(index, rect, state);
  };
  ItemList->OnClick = [this](TObject *) { showEntry(ItemList->ItemIndex()); };

  DescriptionLabel = new TLabel(this);
  DescriptionLabel->SetName("DescriptionLabel");
  DescriptionLabel->SetBounds(editorLeft, listTop, editorWidth, 42);
  DescriptionLabel->SetParent(this);

  KindLabel = new TLabel(this);
  KindLabel->SetName("KindLabel");
  KindLabel->SetBounds(editorLeft, 58, editorWidth, 14);
  KindLabel->SetParent(this);

  ValueEdit = new TEdit(this);
  ValueEdit->SetName("ValueEdit");
  ValueEdit->SetBounds(editorLeft, 76, editorWidth, 21);
  ValueEdit->SetParent(this);
  ValueEdit->OnChange = [this](TObject *) { editorChanged(ValueEdit); };

  ChoiceCombo = new TComboBox(this);
  ChoiceCombo->SetName("ChoiceCombo");
  ChoiceCombo->SetStyle(csDropDownList);
  ChoiceCombo->SetBounds(editorLeft, 76, editorWidth, 21);
  ChoiceCombo->SetParent(this);
  ChoiceCombo->OnChange = [this](TObject *) { editorChanged(ChoiceCombo); };

  ColourCombo = new TTypedCombo(this);
  ColourCombo->SetName("ColourCombo");
  ColourCombo->SetStyle(csDropDown);
  ColourCombo->SetBounds(editorLeft, 76, editorWidth, 21);
  ColourCombo->SetParent(this);
  ColourCombo->OnChange = [this](TObject *) { editorChanged(ColourCombo); };

  SetList = new TSetList(this);
  SetList->SetName("SetList");
  SetList->SetBounds(editorLeft, 76, editorWidth, 150);
  SetList->SetParent(this);
  SetList->OnClick = [this](TObject *) { editorChanged(SetList); };

  LinesMemo = new TMemo(this);
  LinesMemo->SetName("LinesMemo");
  LinesMemo->SetScrollBars(ssVertical);
  LinesMemo->SetWordWrap(false);
  LinesMemo->SetBounds(editorLeft, 76, editorWidth, 150);
  LinesMemo->SetParent(this);
  LinesMemo->OnChange = [this](TObject *) { editorChanged(LinesMemo); };

  SamplePanel = new TPanel(this);
  SamplePanel->SetName("SamplePanel");
  SamplePanel->SetBevelOuter(bvLowered);
  SamplePanel->SetCaption(sampleText);
  SamplePanel->SetBounds(editorLeft, 76, editorWidth, sampleHeight);
  SamplePanel->SetParent(this);

  FontButton = new TButton(this);
  FontButton->SetName("FontButton");
  FontButton->SetCaption("&Font...");
  FontButton->SetBounds(editorLeft, 76 + sampleHeight + 8, buttonWidth, buttonHeight);
  FontButton->SetParent(this);
  FontButton->OnClick = [this](TObject *) { chooseFont(); };

  PictureFrame = new TPanel(this);
  PictureFrame->SetName("PictureFrame");
  PictureFrame->SetBevelOuter(bvLowered);
  PictureFrame->SetBounds(editorLeft, 76, editorWidth, pictureHeight);
  PictureFrame->SetParent(this);

  PictureImage = new TImage(this);
  PictureImage->SetName("PictureImage");
  PictureImage->SetBounds(1, 1, editorWidth - 2, pictureHeight - 2);
  PictureImage->SetParent(PictureFrame);

  GraphicButton = new TButton(this);
  GraphicButton->SetName("GraphicButton");
  GraphicButton->SetCaption("&Graphic...");
  GraphicButton->SetBounds(editorLeft, 76 + pictureHeight + 8, buttonWidth, buttonHeight);
  GraphicButton->SetParent(this);
  GraphicButton->OnClick = [this](TObject *) { loadGraphic(); };

  ClearButton = new TButton(this);
  ClearButton->SetName("ClearButton");
  ClearButton->SetCaption("&Clear");
  ClearButton->SetBounds(editorLeft + buttonWidth + 8, 76 + pictureHeight + 8, buttonWidth,
                         buttonHeight);
  ClearButton->SetParent(this);
  ClearButton->OnClick = [this](TObject *) { clearGraphic(); };

  FontDialog1 = new TFontDialog(this);
  FontDialog1->SetName("FontDialog1");
  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->SetName("OpenDialog1");
  OpenDialog1->SetFilter(pictureFilter);
  OpenDialog1->SetOptions(ofHideReadOnly | ofPathMustExist);

  OkButton = new TButton(this);
  OkButton->SetName("OkButton");
  OkButton->SetCaption("&OK");
  OkButton->SetDefault(true);
  OkButton->SetModalResult(mrOk);
  OkButton->SetBounds(clientWidth - 3 * (buttonWidth + 8), buttonTop, buttonWidth, buttonHeight);
  OkButton->SetParent(this);
  OkButton->OnClick = [this](TObject *) { applyChanges(); };

  CancelButton = new TButton(this);
  CancelButton->SetName("CancelButton");
  CancelButton->SetCaption("Cancel");
  CancelButton->SetCancel(true);
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetBounds(clientWidth - 2 * (buttonWidth + 8), buttonTop, buttonWidth,
                          buttonHeight);
  CancelButton->SetParent(this);

  ApplyButton = new TButton(this);
  ApplyButton->SetName("ApplyButton");
  ApplyButton->SetCaption("&Apply");
  ApplyButton->SetEnabled(false);
  ApplyButton->SetBounds(clientWidth - (buttonWidth + 8), buttonTop, buttonWidth, buttonHeight);
  ApplyButton->SetParent(this);
  ApplyButton->OnClick = [this](TObject *) { applyChanges(); };
}

void TkfPersistEdit::hideEditors() {
  ValueEdit->Hide();
  ChoiceCombo->Hide();
  ColourCombo->Hide();
  SetList->Hide();
  LinesMemo->Hide();
  SamplePanel->Hide();
  FontButton->Hide();
  PictureFrame->Hide();
  GraphicButton->Hide();
  ClearButton->Hide();
}

// The chosen entry's description, its kind's word and the editor for its
// kind, filled from the dialog's store.
void TkfPersistEdit::showEntry(int index) {
  shown_ = index;
  filling_ = true;
  hideEditors();
  if (index < 0 || index >= model_.Count()) {
    DescriptionLabel->SetCaption("");
    KindLabel->SetCaption("");
    filling_ = false;
    return;
  }
  DescriptionLabel->SetCaption(model_.Entry(index).description);
  PersistEditor editor = model_.Editor(index);
  KindLabel->SetCaption(editor.label);
  std::string text = model_.Text(index);
  switch (editor.kind) {
  case PersistEditorKind::Integer:
    if (editor.editableChoice) {
      ColourCombo->Items().Clear();
      for (const std::string &choice : editor.choices)
        ColourCombo->Items().Add(choice);
      ColourCombo->SetItemIndex(ColourCombo->Items().IndexOf(text));
      ColourCombo->SetText(text);
      ColourCombo->Show();
      break;
    }
    [[fallthrough]];
  case PersistEditorKind::String:
  case PersistEditorKind::Bounds:
    ValueEdit->SetText(text);
    ValueEdit->Show();
    break;
  case PersistEditorKind::Enum:
  case PersistEditorKind::Component:
  case PersistEditorKind::Parent:
    ChoiceCombo->Items().Clear();
    for (const std::string &choice : editor.choices)
      ChoiceCombo->Items().Add(choice);
    ChoiceCombo->SetItemIndex(ChoiceCombo->Items().IndexOf(text));
    ChoiceCombo->Show();
    break;
  case PersistEditorKind::Set:
    SetList->Items().Clear();
    for (const std::string &choice : editor.choices)
      SetList->Items().Add(choice);
    SetList->Select(model_.SetMembers(index));
    SetList->Show();
    break;
  case PersistEditorKind::StringList:
    LinesMemo->SetText(model_.ListText(index));
    LinesMemo->Show();
    break;
  case PersistEditorKind::Font: {
    // The sample starts from the dialog's own font: a stored font that
    // cannot be read shows as that.
    SamplePanel->Font().Assign(Font());
    FontObject sample(SamplePanel->Font());
    showObject(sample, model_.Binary(index));
    SamplePanel->Show();
    FontButton->Show();
    break;
  }
  case PersistEditorKind::Picture: {
    PictureImage->Picture().Clear();
    PictureObject shown(PictureImage->Picture());
    showObject(shown, model_.Binary(index));
    PictureFrame->Show();
    GraphicButton->Show();
    ClearButton->Show();
    break;
  }
  default:
    break;
  }
  filling_ = false;
}

void TkfPersistEdit::editorChanged(TWinControl *editor) {
  if (filling_ || shown_ < 0)
    return;
  if (editor == SetList) {
    model_.SetSetMembers(shown_, SetList->Selected());
  } else if (editor == ChoiceCombo) {
    int choice = ChoiceCombo->ItemIndex();
    model_.SetText(shown_, choice >= 0 ? ChoiceCombo->Items()[choice] : std::string());
  } else if (editor == LinesMemo) {
    model_.SetListText(shown_, LinesMemo->Text());
  } else if (editor == ColourCombo) {
    model_.SetText(shown_, ColourCombo->Value());
  } else {
    model_.SetText(shown_, editor->Text());
  }
  ApplyButton->SetEnabled(model_.ApplyEnabled());
}

void TkfPersistEdit::chooseFont() {
  FontDialog1->Font().Assign(SamplePanel->Font());
  if (shown_ < 0 || !FontDialog1->Execute())
    return;
  SamplePanel->Font().Assign(FontDialog1->Font());
  model_.SetBinary(shown_, binaryValue(FontObject(SamplePanel->Font())));
  ApplyButton->SetEnabled(model_.ApplyEnabled());
}

// A file that cannot be read is reported, and the picture and the store
// keep what they held.
void TkfPersistEdit::loadGraphic() {
  if (shown_ < 0 || !OpenDialog1->Execute())
    return;
  TPicture loaded;
  try {
    loaded.LoadFromFile(OpenDialog1->FileName());
  } catch (const Exception &error) {
    Application->MessageBox(error.Message(), Caption(), MB_OK | MB_ICONERROR);
    return;
  }
  PictureImage->Picture().Assign(loaded);
  model_.SetBinary(shown_, binaryValue(PictureObject(PictureImage->Picture())));
  ApplyButton->SetEnabled(model_.ApplyEnabled());
}

void TkfPersistEdit::clearGraphic() {
  if (shown_ < 0)
    return;
  PictureImage->Picture().Clear();
  model_.SetBinary(shown_, binaryValue(PictureObject(PictureImage->Picture())));
  ApplyButton->SetEnabled(model_.ApplyEnabled());
}

void TkfPersistEdit::applyChanges() {
  model_.Apply();
  ApplyButton->SetEnabled(model_.ApplyEnabled());
}

// A stored value the editor cannot read leaves it showing its default.
void TkfPersistEdit::showObject(PersistentObject &object, const std::string &block) {
  try {
    loadBinaryValue(object, block);
  } catch (const std::exception &) {
  }
}

HBITMAP TkfPersistEdit::picture(const std::string &name) {
  auto found = pictures_.find(name);
  if (found == pictures_.end())
    found =
        pictures_
            .emplace(name,
                     base::GdiObject<HBITMAP>(LoadBitmapA(GetModuleHandleA(nullptr), name.c_str())))
            .first;
  return found->second.get();
}

// The picture 16 x 16 at the entry's left edge (when its type code has
// one), the value name 18 pixels in.
void TkfPersistEdit::drawEntry(int index, const RECT &rect, TOwnerDrawState state) {
  (void)state;
  TCanvas &canvas = ItemList->Canvas();
  canvas.FillRect(rect);
  const PersistEditEntry &entry = model_.Entry(index);
  if (HBITMAP bitmap = entry.pictureName.empty() ? nullptr : picture(entry.pictureName)) {
    base::CreatedDC memory(CreateCompatibleDC(canvas.Handle()));
    base::SelectedObject selected(memory.get(), bitmap);
    int top = rect.top + (rect.bottom - rect.top - PictureSize) / 2;
    BitBlt(canvas.Handle(), rect.left, top, PictureSize, PictureSize, memory.get(), 0, 0, SRCCOPY);
  }
  canvas.TextOut(rect.left + TextLeft, rect.top + 2, entry.valueName);
}

bool ShowPersistSetup(TkfPersist &persist) {
  TkfPersistEdit dialog(nullptr, persist);
  auto *owner = dynamic_cast<TControl *>(persist.Owner());
  dialog.SetCaption((owner ? owner->Caption() : std::string()) + " Setup Dialog");
  return dialog.ShowModal() == mrOk;
}

} // namespace lexitray
