// TkfPersistEdit: the persistence component's setup dialog. It lists the
// items marked for it (each with its kind's picture, "PROP_" and the type
// code, and its value name), shows the chosen item's description and the
// editor its property's kind calls for, keeps every change in its own
// store (TkfPersistEditModel) and writes them back to the properties with
// "&OK" and "&Apply".
#ifndef CLIPBOARD_CHECKER_WIN32_PERSIST_EDIT_DIALOG_H
#define CLIPBOARD_CHECKER_WIN32_PERSIST_EDIT_DIALOG_H

#include "clipboard-checker/core/persist-edit-model.h"
#include "platform/base/win32/gdi-owners.h"
#include "platform/components/win32/dialogs.h"
#include "platform/components/win32/font-dialog.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/image.h"
#include "platform/components/win32/panel.h"
#include "platform/components/win32/std-controls.h"

#include <map>
#include <string>

namespace lexitray {

class TkfPersistEdit : public components::TForm {
public:
  TkfPersistEdit(components::TComponent *owner, TkfPersist &persist);

  // Geometry of a list entry: the picture's size and the text's left edge.
  static constexpr int PictureSize = 16;
  static constexpr int TextLeft = 18;

private:
  class TSetList;
  class TTypedCombo;

  void buildControls();
  void showEntry(int index);
  void hideEditors();
  static void showObject(PersistentObject &object, const std::string &block);
  void drawEntry(int index, const RECT &rect, components::TOwnerDrawState state);
  HBITMAP picture(const std::string &name);
  // A change in the shown editor goes into the dialog's store at once.
  void editorChanged(components::TWinControl *editor);
  void applyChanges();
  // The font editor's "&Font...", the picture editor's "&Graphic..." and
  // "&Clear": each change goes into the store as the object's binary value.
  void chooseFont();
  void loadGraphic();
  void clearGraphic();

  TkfPersistEditModel model_;
  std::map<std::string, base::GdiObject<HBITMAP>> pictures_;
  int shown_ = -1;
  bool filling_ = false; // editors being filled by the dialog, not the user

  components::TListBox *ItemList = nullptr;
  components::TLabel *DescriptionLabel = nullptr;
  components::TLabel *KindLabel = nullptr;
  components::TEdit *ValueEdit = nullptr;
  components::TComboBox *ChoiceCombo = nullptr; // a fixed choice
  TTypedCombo *ColourCombo = nullptr;           // identifiers, or a number typed
  TSetList *SetList = nullptr;
  components::TMemo *LinesMemo = nullptr;    // a string list
  components::TPanel *SamplePanel = nullptr; // "AaBbYyZz" in the font
  components::TButton *FontButton = nullptr;
  components::TPanel *PictureFrame = nullptr;
  components::TImage *PictureImage = nullptr;
  components::TButton *GraphicButton = nullptr;
  components::TButton *ClearButton = nullptr;
  components::TFontDialog *FontDialog1 = nullptr;
  components::TOpenDialog *OpenDialog1 = nullptr;
  components::TButton *OkButton = nullptr;
  components::TButton *CancelButton = nullptr;
  components::TButton *ApplyButton = nullptr;
};

// ShowSetup's dialog: modal, captioned with the owner form's caption and
// " Setup Dialog"; true when closed with OK.
bool ShowPersistSetup(TkfPersist &persist);

} // namespace lexitray

#endif
