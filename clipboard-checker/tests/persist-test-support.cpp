// The stand-ins of the persistence tests.
#include "clipboard-checker/tests/persist-test-support.h"

#include <type_traits>

namespace persist_test {

using lexitray::PublishedProperty;
using lexitray::TTypeKind;

bool WidgetProperties::findProperty(components::TComponent &component, const std::string &name,
                                    PublishedProperty &property) {
  auto *widget = dynamic_cast<Widget *>(&component);
  if (!widget)
    return false;
  property = PublishedProperty{};
  property.name = name;
  auto ordinal = [&](TTypeKind kind, auto &field) {
    property.kind = kind;
    property.getOrdinal = [&field] { return static_cast<std::int64_t>(field); };
    property.setOrdinal = [&field](std::int64_t value) {
      field = static_cast<std::remove_reference_t<decltype(field)>>(value);
    };
  };
  if (components::SameText(name, "Width")) {
    property.kind = TTypeKind::tkInteger;
    property.getOrdinal = [widget] { return std::int64_t{widget->width}; };
    property.setOrdinal = [widget](std::int64_t value) {
      if (value < 0)
        throw components::Exception("Width cannot be negative");
      widget->width = static_cast<int>(value);
    };
  } else if (components::SameText(name, "Color")) {
    ordinal(TTypeKind::tkInteger, widget->colour);
    property.integerNames = lexitray::IntegerNames::Colour;
  } else if (components::SameText(name, "Cursor")) {
    ordinal(TTypeKind::tkInteger, widget->cursor);
    property.integerNames = lexitray::IntegerNames::Cursor;
  } else if (components::SameText(name, "Enabled")) {
    ordinal(TTypeKind::tkEnumeration, widget->enabled);
    property.valueNames = {"False", "True"};
  } else if (components::SameText(name, "Align")) {
    ordinal(TTypeKind::tkEnumeration, widget->align);
    property.valueNames = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};
  } else if (components::SameText(name, "Caption")) {
    property.kind = TTypeKind::tkLString;
    property.getText = [widget] { return widget->caption; };
    property.setText = [widget](const std::string &text) { widget->caption = text; };
  } else if (components::SameText(name, "Accelerator")) {
    ordinal(TTypeKind::tkChar, widget->accelerator);
  } else if (components::SameText(name, "Styles")) {
    ordinal(TTypeKind::tkSet, widget->styles);
    property.valueNames = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
  } else if (components::SameText(name, "Buddy")) {
    property.kind = TTypeKind::tkClass;
    property.getComponent = [widget] { return widget->buddy; };
    property.setComponent = [widget](components::TComponent *buddy) { widget->buddy = buddy; };
    property.accepts = [](components::TComponent *buddy) {
      return dynamic_cast<Widget *>(buddy) != nullptr;
    };
  } else if (components::SameText(name, "Lines")) {
    property.kind = TTypeKind::tkClass;
    property.object = &widget->lines;
  } else if (components::SameText(name, "OnClick")) {
    property.kind = TTypeKind::tkMethod;
  } else {
    return false;
  }
  return true;
}

bool WidgetProperties::findControl(components::TComponent &component,
                                   lexitray::ControlAccess &control) {
  auto *widget = dynamic_cast<Widget *>(&component);
  if (!widget)
    return false;
  control.getBounds = [widget] { return widget->bounds; };
  control.setBounds = [widget](const std::array<int, 4> &bounds) { widget->bounds = bounds; };
  control.windowed = widget->windowed;
  control.parentName = [widget] { return widget->parent ? widget->parent->Name() : std::string(); };
  control.setParent = [widget](components::TComponent *parent) {
    auto *windowed = dynamic_cast<Widget *>(parent);
    if (!windowed || !windowed->windowed)
      return false;
    widget->parent = windowed;
    return true;
  };
  return true;
}

std::string MemoryPlatform::storageDirectory(lexitray::TFileStorageDirectory directory) {
  switch (directory) {
  case lexitray::kfpApplication:
    return "C:\\Apps\\";
  case lexitray::kfpWindows:
    return "C:\\Windows\\";
  case lexitray::kfpSystem:
    return "C:\\Windows\\System32\\";
  }
  return std::string();
}

namespace {

class MemoryRegistryStore : public lexitray::PersistStore {
public:
  explicit MemoryRegistryStore(MemoryKey &key) : key_(key) {}
  bool holdsBinary() const override { return true; }
  bool hasValue(const std::string &name) override { return key_.count(name) != 0; }
  std::string readText(const std::string &name) override {
    auto &value = key_.at(name);
    if (value.first)
      throw components::Exception("Invalid data type for '" + name + "'");
    return value.second;
  }
  std::string readBinary(const std::string &name) override { return key_.at(name).second; }
  void writeText(const std::string &name, const std::string &value) override {
    key_[name] = {false, value};
  }
  void writeBinary(const std::string &name, const std::string &data) override {
    key_[name] = {true, data};
  }

private:
  MemoryKey &key_;
};

} // namespace

std::unique_ptr<lexitray::PersistStore>
MemoryPlatform::openRegistry(lexitray::TkfRootKey root, const std::string &key, bool forSaving) {
  std::string path = (root == lexitray::kfpHKEY_CURRENT_USER ? "HKCU\\" : "HKLM\\") + key;
  if (!forSaving && registry.count(path) == 0)
    return nullptr;
  return std::make_unique<MemoryRegistryStore>(registry[path]);
}

} // namespace persist_test
