// The "Dictionaries" page: lists drawn with a check square per entry, and
// every edit made on the working copy of the configuration. The add-words
// choice follows its dictionary through moves and removals (config-lists).
#include "spelling/win32/dialogs/dict-sheet.h"

#include "spelling/core/config-lists.h"
#include "spelling/core/configuration.h"
#include "spelling/win32/dialogs/arrow-button.h"

#include "platform/components/core/file-system.h"
#include "platform/components/win32/dialogs.h"

#include <algorithm>

namespace spelling {

using namespace components;

namespace {

// Entries at or past this index cannot be removed: the dialog keeps the
// same limit the stored lists were made with.
constexpr int RemovableEntries = 256;
// The check square's right edge: a click left of it toggles the entry.
constexpr int CheckSquareEdge = 14;

TButton *button(TForm *dialog, TWinControl *parent, const char *caption, int helpContext) {
  auto *made = new TButton(dialog);
  made->SetCaption(caption);
  made->SetHelpContext(helpContext);
  made->SetParent(parent);
  return made;
}

TListBox *list(TForm *dialog, TWinControl *parent, int helpContext) {
  auto *made = new TListBox(dialog);
  made->SetStyle(lbOwnerDrawFixed);
  made->SetItemHeight(14);
  made->SetHelpContext(helpContext);
  made->SetParent(parent);
  return made;
}

std::string folderOf(const std::string &path) {
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

TDictSheet::TDictSheet(TForm *dialog, TPageControl *pageControl, TConfiguration &working,
                       bool &changed)
    : TConfigSheet(dialog, pageControl), working_(working), changed_(changed),
      language_(EnglishLanguage()) {
  SetCaption("Dictionaries");
  MainGroup = new TGroupBox(dialog);
  MainGroup->SetCaption(" Main Dictionaries: ");
  MainGroup->SetParent(Panel());
  MainUp = new TArrowButton(dialog, true);
  MainUp->SetParent(MainGroup);
  MainDown = new TArrowButton(dialog, false);
  MainDown->SetParent(MainGroup);
  MainList = list(dialog, MainGroup, 800);
  AddMain = button(dialog, MainGroup, "&Add", 801);
  RemoveMain = button(dialog, MainGroup, "&Remove", 802);

  UserGroup = new TGroupBox(dialog);
  UserGroup->SetCaption(" User Dictionaries: ");
  UserGroup->SetParent(Panel());
  UserUp = new TArrowButton(dialog, true);
  UserUp->SetParent(UserGroup);
  UserDown = new TArrowButton(dialog, false);
  UserDown->SetParent(UserGroup);
  UserList = list(dialog, UserGroup, 803);
  AddUser = button(dialog, UserGroup, "A&dd", 804);
  RemoveUser = button(dialog, UserGroup, "R&emove", 805);
  NewUser = button(dialog, UserGroup, "&New", 806);
  AddWordsLabel = new TLabel(dialog);
  AddWordsLabel->SetCaption("Add Words &To:");
  AddWordsLabel->SetParent(UserGroup);
  AddWordsTo = new TComboBox(dialog);
  AddWordsTo->SetStyle(csDropDownList);
  AddWordsTo->SetHelpContext(807);
  AddWordsTo->SetParent(UserGroup);
  AddWordsLabel->SetFocusControl(AddWordsTo);

  for (bool user : {false, true}) {
    TListBox *box = user ? UserList : MainList;
    box->OnDrawItem = [this, user](TObject *, int index, const RECT &rect, TOwnerDrawState state) {
      drawItem(user, index, rect, state);
    };
    box->OnMouseDown = [this, user](TObject *, TMouseButton button, TShiftState, int x, int y) {
      if (button == mbLeft)
        mouseDown(user, x, y);
    };
  }
  MainUp->OnClick = [this](TObject *) { MoveEntry(false, -1); };
  MainDown->OnClick = [this](TObject *) { MoveEntry(false, 1); };
  UserUp->OnClick = [this](TObject *) { MoveEntry(true, -1); };
  UserDown->OnClick = [this](TObject *) { MoveEntry(true, 1); };
  RemoveMain->OnClick = [this](TObject *) { RemoveEntry(false); };
  RemoveUser->OnClick = [this](TObject *) { RemoveEntry(true); };
  AddMain->OnClick = [this](TObject *) { openDictionary(false); };
  AddUser->OnClick = [this](TObject *) { openDictionary(true); };
  NewUser->OnClick = [this](TObject *) { newUserDictionary(); };
  AddWordsTo->OnChange = [this](TObject *) {
    std::vector<int> entries = addWordsToEntries(working_);
    int item = AddWordsTo->ItemIndex();
    if (item < 0 || item >= static_cast<int>(entries.size()))
      return;
    working_.SetUserIndex(entries[static_cast<std::size_t>(item)]);
    this->changed();
  };

  int users = static_cast<int>(working_.UserEntries().size());
  if (working_.UserIndex() < -1 || working_.UserIndex() >= users)
    working_.SetUserIndex(-1);
  fillLists();
  controlsMade();
}

void TDictSheet::ApplyLanguage(const TLanguageModule &language) {
  language_ = language;
  auto text = [&language](int index) { return language.Strings[static_cast<std::size_t>(index)]; };
  SetCaption(text(23));
  MainGroup->SetCaption(text(27));
  UserGroup->SetCaption(text(30));
  int widest = 61;
  MeasureText(AddMain, text(28), widest);
  MeasureText(RemoveMain, text(29), widest);
  MeasureText(AddUser, text(31), widest);
  MeasureText(RemoveUser, text(32), widest);
  MeasureText(NewUser, text(33), widest);
  buttonWidth_ = widest + 4;
  int label = 0;
  MeasureText(AddWordsLabel, text(34), label);
  AddWordsLabel->SetWidth(label + 2);
  comboLeft_ = std::max(96, 8 + label + 3);
  ArrangeControls();
}

void TDictSheet::ArrangeControls() {
  int width = Panel()->ClientWidth(), height = Panel()->ClientHeight();
  int w = buttonWidth_;
  MainGroup->SetBounds(8, 8, width - 16, height / 2 - 17);
  int groupWidth = MainGroup->Width();
  int listWidth = groupWidth - w - 55;
  int buttonLeft = groupWidth - w - 8;
  MainList->SetBounds(40, 16, listWidth, MainGroup->Height() - 24);
  AddMain->SetBounds(buttonLeft, 16, w, 23);
  RemoveMain->SetBounds(buttonLeft, 40, w, 23);
  MainUp->SetBounds(8, 16, 23, 23);
  MainDown->SetBounds(8, 40, 23, 23);

  UserGroup->SetBounds(8, MainGroup->Top() + MainGroup->Height() + 8, width - 16,
                       height - MainGroup->Height() - 24);
  int userHeight = UserGroup->Height();
  UserList->SetBounds(40, 16, listWidth, userHeight - 51);
  AddUser->SetBounds(buttonLeft, 16, w, 23);
  RemoveUser->SetBounds(buttonLeft, 40, w, 23);
  NewUser->SetBounds(buttonLeft, 64, w, 23);
  UserUp->SetBounds(8, 16, 23, 23);
  UserDown->SetBounds(8, 40, 23, 23);
  AddWordsTo->SetBounds(comboLeft_, userHeight - 29, listWidth - comboLeft_ + 40, 21);
  AddWordsLabel->SetBounds(8, userHeight - 25, AddWordsLabel->Width(), 13);
}

void TDictSheet::fillLists() {
  fillList(false);
  fillList(true);
  rebuildCombo();
}

void TDictSheet::fillList(bool userList) {
  TListBox *box = userList ? UserList : MainList;
  int current = box->ItemIndex();
  box->Items().Clear();
  if (userList)
    for (const TUser &entry : working_.UserEntries())
      box->Items().Add(dictionaryDisplayName(entry.FileName));
  else
    for (const TMain &entry : working_.MainEntries())
      box->Items().Add(entry.Title);
  box->SetItemIndex(std::min(current, box->Items().Count() - 1));
}

void TDictSheet::rebuildCombo() {
  AddWordsTo->Items().Clear();
  for (int entry : addWordsToEntries(working_))
    AddWordsTo->Items().Add(
        dictionaryDisplayName(working_.UserEntries()[static_cast<std::size_t>(entry)].FileName));
  AddWordsTo->SetItemIndex(refreshAddWordsTo(working_));
}

void TDictSheet::changed() {
  changed_ = true;
  working_.SetModified(true);
}

void TDictSheet::drawItem(bool userList, int index, const RECT &rect, TOwnerDrawState state) {
  TListBox *box = userList ? UserList : MainList;
  TCanvas &canvas = box->Canvas();
  canvas.FillRect(rect);
  RECT square{rect.left + 2, rect.top + 1, rect.left + 13, rect.bottom};
  DrawEdge(canvas.Handle(), &square, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  bool hasEntry = index < (userList ? static_cast<int>(working_.UserEntries().size())
                                    : static_cast<int>(working_.MainEntries().size()));
  bool selected =
      hasEntry && (userList ? working_.UserEntries()[static_cast<std::size_t>(index)].Selected
                            : working_.MainEntries()[static_cast<std::size_t>(index)].Selected);
  if (!hasEntry || selected) {
    TColor mark = !hasEntry ? clRed : (state & odSelected) ? clHighlightText : clBtnText;
    TColor background = canvas.BrushColor();
    canvas.SetBrushColor(mark);
    canvas.FillRect(square);
    canvas.SetBrushColor(background);
  }
  canvas.SetBrushClear(true);
  canvas.TextOut(rect.left + 15, rect.top, box->Items().Strings(index));
  canvas.SetBrushClear(false);
}

// The platform has not yet moved the selection when the press arrives:
// the entry under the mouse becomes current first.
void TDictSheet::mouseDown(bool userList, int x, int y) {
  TListBox *box = userList ? UserList : MainList;
  int index = box->ItemAtPos(POINT{x, y});
  if (index < 0 || x >= CheckSquareEdge)
    return;
  box->SetItemIndex(index);
  ToggleSelection(userList, index);
}

void TDictSheet::ToggleSelection(bool userList, int index) {
  if (userList) {
    if (index < 0 || index >= static_cast<int>(working_.UserEntries().size()))
      return;
    TUser &entry = working_.UserEntries()[static_cast<std::size_t>(index)];
    entry.Selected = !entry.Selected;
    changed();
    UserList->Invalidate();
    rebuildCombo();
    return;
  }
  if (index < 0 || index >= static_cast<int>(working_.MainEntries().size()))
    return;
  TMain &entry = working_.MainEntries()[static_cast<std::size_t>(index)];
  if (!entry.Selected && !FileExists(entry.FileName)) {
    MessageDlg(entry.FileName + "\r\n\r\n" + ConvertLineBreaks(language_.Strings[61]),
               mtInformation, mbOK, 0);
    return;
  }
  entry.Selected = !entry.Selected;
  changed();
  MainList->Invalidate();
}

void TDictSheet::MoveEntry(bool userList, int delta) {
  TListBox *box = userList ? UserList : MainList;
  int index = box->ItemIndex();
  int moved =
      userList ? moveUserEntry(working_, index, delta) : moveMainEntry(working_, index, delta);
  if (moved == index)
    return;
  changed();
  box->Items().Exchange(index, moved);
  box->SetItemIndex(moved);
  if (userList)
    rebuildCombo();
}

void TDictSheet::RemoveEntry(bool userList) {
  TListBox *box = userList ? UserList : MainList;
  int index = box->ItemIndex();
  if (index < 0 || index >= RemovableEntries)
    return;
  int current = userList ? removeUserEntry(working_, index) : removeMainEntry(working_, index);
  box->Items().Delete(index);
  box->SetItemIndex(current);
  changed();
  if (userList)
    rebuildCombo();
}

void TDictSheet::AddEntry(bool userList, const std::string &path) {
  TListBox *box = userList ? UserList : MainList;
  if (userList) {
    working_.UserEntries().push_back(TUser{path, working_.UserEntries().empty()});
    box->Items().Add(dictionaryDisplayName(path));
  } else {
    TMain entry;
    entry.FileName = path;
    entry.ReadTitle(); // a file without a title is refused before it is listed
    entry.Selected = working_.MainEntries().empty();
    working_.MainEntries().push_back(entry);
    box->Items().Add(entry.Title);
  }
  changed();
  box->SetItemIndex(box->Items().Count() - 1);
  if (userList)
    rebuildCombo();
}

void TDictSheet::AddNewUserEntry(const std::string &path) {
  working_.UserEntries().push_back(TUser{path, false});
  UserList->Items().Add(dictionaryDisplayName(path));
  changed();
  UserList->SetItemIndex(UserList->Items().Count() - 1);
  rebuildCombo();
}

void TDictSheet::openDictionary(bool userList) {
  TOpenDialog open(nullptr);
  auto text = [this](int index) { return language_.Strings[static_cast<std::size_t>(index)]; };
  open.SetDefaultExt(userList ? "udt" : "dct");
  open.SetFilter(userList ? text(56) + "|*.udt;*.dic" : text(54) + "|*.dct");
  open.SetTitle(text(userList ? 57 : 55));
  TOpenOptions options = ofPathMustExist | ofFileMustExist;
  if (userList)
    options |= ofHideReadOnly;
  open.SetOptions(options);
  if (open.Execute())
    AddEntry(userList, open.FileName());
}

void TDictSheet::newUserDictionary() {
  TSaveDialog save(nullptr);
  save.SetInitialDir(folderOf(working_.Path()));
  save.SetTitle(language_.Strings[59]);
  save.SetFilter(language_.Strings[58] + "|*.udt");
  save.SetDefaultExt("udt");
  save.SetOptions(ofOverwritePrompt | ofCreatePrompt | ofPathMustExist);
  if (save.Execute())
    AddNewUserEntry(save.FileName());
}

} // namespace spelling
