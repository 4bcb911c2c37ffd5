// The setup dialog's items, editors and store.
#include "clipboard-checker/core/persist-edit-model.h"

#include "clipboard-checker/core/property-text.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

namespace lexitray {

namespace {

const char loadFailedMessage[] = "except";

// The dialog's store as the persistence component writes and reads it:
// like a store file, it keeps binary values too.
class DialogStore : public PersistStore {
public:
  explicit DialogStore(TkfRegFile &store) : store_(store) {}
  bool holdsBinary() const override { return true; }
  bool hasValue(const std::string &name) override { return store_.ValueExists(name); }
  std::string readText(const std::string &name) override { return store_.ReadString(name); }
  std::string readBinary(const std::string &name) override {
    std::string data(store_.GetDataSize(name), '\0');
    data.resize(std::min(data.size(), store_.ReadBinaryData(name, &data[0], data.size())));
    return data;
  }
  void writeText(const std::string &name, const std::string &value) override {
    store_.WriteString(name, value);
  }
  void writeBinary(const std::string &name, const std::string &data) override {
    store_.WriteBinaryData(name, data.data(), data.size());
  }

private:
  TkfRegFile &store_;
};

std::string trimmed(const std::string &text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos)
    return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isListed(const PersistItem &item) { return item.counts() && item.field(7) == "1"; }

std::string pictureName(const std::string &typeCode) {
  char *end = nullptr;
  long code = std::strtol(typeCode.c_str(), &end, 10);
  if (typeCode.empty() || *end != '\0' || code <= 0)
    return std::string();
  return "PROP_" + typeCode;
}

} // namespace

TkfPersistEditModel::TkfPersistEditModel(TkfPersist &persist) : persist_(persist) {
  DialogStore store(store_);
  for (int i = 0; i < persist.Items().Count(); ++i) {
    PersistItem item = PersistItem::parse(persist.Items()[i]);
    if (!isListed(item))
      continue;
    entries_.push_back({item, item.valueName(), pictureName(item.field(2)), item.field(8)});
    try {
      persist.SaveItem(store, item);
    } catch (const std::exception &) {
      // Listed with no value: its editor starts empty.
    }
  }
}

PersistEditor TkfPersistEditModel::Editor(int index) {
  const PersistItem &item = Entry(index).item;
  PersistEditor editor;
  components::TComponent *component = persist_.FindItemComponent(item.componentName());
  if (!component)
    return editor;
  PropertyAccess &properties = persist_.Properties();
  components::TComponent *owner = persist_.Owner();
  ControlAccess control;
  bool isControl = properties.findControl(*component, control);
  if (isControl && components::SameText(item.propertyName(), "Parent")) {
    editor.kind = PersistEditorKind::Parent;
    editor.label = "TWinControl";
    ControlAccess other;
    for (int i = 0; owner && i < owner->ComponentCount(); ++i)
      if (owner->Components(i) != component &&
          properties.findControl(*owner->Components(i), other) && other.windowed)
        editor.choices.push_back(owner->Components(i)->Name());
    return editor;
  }
  if (isControl && components::SameText(item.propertyName(), "Bounds")) {
    editor.kind = PersistEditorKind::Bounds;
    editor.label = "Bounds = (left; top; width; height)";
    return editor;
  }
  PublishedProperty property;
  if (!properties.findProperty(*component, item.propertyName(), property))
    return editor;
  switch (property.kind) {
  case TTypeKind::tkInteger:
    editor.kind = PersistEditorKind::Integer;
    editor.label = "integer";
    if (property.integerNames == IntegerNames::Colour) {
      editor.choices = colourIdents();
      editor.editableChoice = true;
    }
    break;
  case TTypeKind::tkEnumeration:
    editor.kind = PersistEditorKind::Enum;
    editor.label = "enum";
    editor.choices = property.valueNames;
    break;
  case TTypeKind::tkChar:
  case TTypeKind::tkWChar:
  case TTypeKind::tkString:
  case TTypeKind::tkLString:
  case TTypeKind::tkWString:
    editor.kind = PersistEditorKind::String;
    editor.label = "string";
    break;
  case TTypeKind::tkSet:
    editor.kind = PersistEditorKind::Set;
    editor.label = "set";
    editor.choices = property.valueNames;
    break;
  case TTypeKind::tkClass:
    if (property.isComponentReference()) {
      editor.kind = PersistEditorKind::Component;
      editor.label = "component";
      for (int i = 0; owner && i < owner->ComponentCount(); ++i)
        if (!property.accepts || property.accepts(owner->Components(i)))
          editor.choices.push_back(owner->Components(i)->Name());
    } else if (property.object) {
      switch (property.object->kind()) {
      case PersistentObject::Kind::Font:
        editor.kind = PersistEditorKind::Font;
        break;
      case PersistentObject::Kind::StringList:
        editor.kind = PersistEditorKind::StringList;
        break;
      case PersistentObject::Kind::Picture:
      case PersistentObject::Kind::Graphic:
        editor.kind = PersistEditorKind::Picture;
        break;
      case PersistentObject::Kind::Other:
        break;
      }
      editor.label = property.object->className();
    }
    break;
  default:
    break;
  }
  return editor;
}

std::string TkfPersistEditModel::Text(int index) const {
  return store_.ReadString(Entry(index).valueName);
}

std::vector<std::string> TkfPersistEditModel::SetMembers(int index) const {
  std::string text = Text(index);
  std::vector<std::string> members;
  if (text.size() < 2 || text.front() != '[')
    return members;
  std::string inside =
      text.substr(1, text.find(']') == std::string::npos ? std::string::npos : text.find(']') - 1);
  std::size_t start = 0;
  while (start <= inside.size()) {
    std::size_t comma = inside.find(',', start);
    std::string name = trimmed(inside.substr(start, comma - start));
    if (!name.empty())
      members.push_back(name);
    if (comma == std::string::npos)
      break;
    start = comma + 1;
  }
  return members;
}

std::string TkfPersistEditModel::Binary(int index) const {
  const std::string &name = Entry(index).valueName;
  std::string block(store_.GetDataSize(name), '\0');
  block.resize(std::min(block.size(), store_.ReadBinaryData(name, &block[0], block.size())));
  return block;
}

void TkfPersistEditModel::SetBinary(int index, const std::string &block) {
  store_.WriteBinaryData(Entry(index).valueName, block.data(), block.size());
  applyEnabled_ = true;
}

std::string TkfPersistEditModel::ListText(int index) const {
  return stringListLines(Binary(index));
}

void TkfPersistEditModel::SetListText(int index, const std::string &lines) {
  SetBinary(index, stringListBlock(Editor(index).label, lines));
}

void TkfPersistEditModel::SetText(int index, const std::string &text) {
  store_.WriteString(Entry(index).valueName, text);
  applyEnabled_ = true;
}

void TkfPersistEditModel::SetSetMembers(int index, const std::vector<std::string> &members) {
  std::string text = "[";
  for (std::size_t i = 0; i < members.size(); ++i)
    text += (i ? "," : "") + members[i];
  SetText(index, text + "]");
}

void TkfPersistEditModel::Apply() {
  DialogStore store(store_);
  for (const PersistEditEntry &entry : entries_) {
    try {
      persist_.LoadItem(store, entry.item);
    } catch (const std::exception &) {
      // As from a store file: say so, and go on with the next item.
      persist_.ShowMessage(loadFailedMessage);
    }
  }
  applyEnabled_ = false;
}

} // namespace lexitray
