// What the persistence component's setup dialog (TkfPersistEdit) shows and
// does, apart from its windows: the listed items with their pictures and
// descriptions, the editor each property's kind calls for, the dialog's
// own store that every change goes into at once, and Apply, which writes
// the store back to the properties as a load from a store file does.
#ifndef CLIPBOARD_CHECKER_CORE_PERSIST_EDIT_MODEL_H
#define CLIPBOARD_CHECKER_CORE_PERSIST_EDIT_MODEL_H

#include "clipboard-checker/core/kf-persist.h"
#include "clipboard-checker/core/kfp-store.h"
#include "clipboard-checker/core/persist-item.h"

#include <memory>
#include <string>
#include <vector>

namespace lexitray {

enum class PersistEditorKind {
  None,       // no editor: the property is unknown or of a kind not edited
  Integer,    // text field; a choice of identifiers for colours
  Enum,       // choice of the type's value names
  String,     // text field
  Set,        // list with several selections
  Font,       // sample panel and "&Font..."
  StringList, // multi-line text field
  Picture,    // "&Graphic..." and "&Clear"
  Component,  // choice of the owner's components of the property's class
  Parent,     // choice of the owner's windowed controls
  Bounds      // text field of left; top; width; height
};

struct PersistEditor {
  PersistEditorKind kind = PersistEditorKind::None;
  std::string label; // the kind's word
  std::vector<std::string> choices;
  bool editableChoice = false; // a colour may also be typed as a number
};

struct PersistEditEntry {
  PersistItem item;
  std::string valueName;   // field 3, the entry's text
  std::string pictureName; // "PROP_" + field 2 when that is a positive number
  std::string description; // field 8
};

class TkfPersistEditModel {
public:
  // Reads the current values of the listed items into the dialog's store.
  explicit TkfPersistEditModel(TkfPersist &persist);

  int Count() const { return static_cast<int>(entries_.size()); }
  const PersistEditEntry &Entry(int index) const { return entries_.at(index); }
  PersistEditor Editor(int index);

  // The entry's value in the dialog's store as text; a set's members.
  std::string Text(int index) const;
  std::vector<std::string> SetMembers(int index) const;
  // A string list's lines, joined by CR LF.
  std::string ListText(int index) const;
  // A change goes into the store at once and enables Apply.
  void SetText(int index, const std::string &text);
  void SetListText(int index, const std::string &lines);
  void SetSetMembers(int index, const std::vector<std::string> &members);
  // An object's binary value (fonts, pictures) as the store holds it.
  std::string Binary(int index) const;
  void SetBinary(int index, const std::string &block);

  bool ApplyEnabled() const { return applyEnabled_; }
  // Writes every value back to its property; Apply then disables itself.
  // OK does the same before the dialog closes.
  void Apply();

private:
  TkfPersist &persist_;
  TkfRegFile store_;
  std::vector<PersistEditEntry> entries_;
  bool applyEnabled_ = false;
};

} // namespace lexitray

#endif
