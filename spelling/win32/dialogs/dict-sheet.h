// The "Dictionaries" page of the options dialog: the main and the user
// dictionaries of the working configuration, each with a check square
// that selects it, buttons to add, remove and reorder entries, a button
// that makes a new user dictionary entry, and the choice of the user
// dictionary that receives added words.
#ifndef SPELLING_WIN32_DIALOGS_DICT_SHEET_H
#define SPELLING_WIN32_DIALOGS_DICT_SHEET_H

#include "spelling/win32/dialogs/config-sheet.h"

#include "spelling/core/languages.h"

namespace spelling {

class TArrowButton;

class TDictSheet : public TConfigSheet {
public:
  // working: the dialog's working copy; changed is raised by every edit.
  TDictSheet(components::TForm *dialog, components::TPageControl *pageControl,
             TConfiguration &working, bool &changed);

  void ArrangeControls() override;
  // Texts of a language; answers nothing, but sets the button column and
  // the combo box's left from the measured texts.
  void ApplyLanguage(const TLanguageModule &language);

  components::TGroupBox *MainGroup, *UserGroup;
  components::TListBox *MainList, *UserList;
  components::TButton *AddMain, *RemoveMain, *AddUser, *RemoveUser, *NewUser;
  TArrowButton *MainUp, *MainDown, *UserUp, *UserDown;
  components::TLabel *AddWordsLabel;
  components::TComboBox *AddWordsTo;

  // What the buttons and list clicks do, also for tests that drive them
  // without the file dialogs.
  void ToggleSelection(bool userList, int index);
  void MoveEntry(bool userList, int delta);
  void RemoveEntry(bool userList);
  void AddEntry(bool userList, const std::string &path);
  void AddNewUserEntry(const std::string &path);

private:
  void fillLists();
  void fillList(bool userList);
  void rebuildCombo();
  void changed();
  void drawItem(bool userList, int index, const RECT &rect, components::TOwnerDrawState state);
  void mouseDown(bool userList, int x, int y);
  void openDictionary(bool userList);
  void newUserDictionary();

  TConfiguration &working_;
  bool &changed_;
  TLanguageModule language_;
  int buttonWidth_ = 65; // w: the widest button text + 4
  int comboLeft_ = 96;   // m
};

} // namespace spelling

#endif
