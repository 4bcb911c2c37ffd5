// Property tables of controls, forms and menu items.
#include "clipboard-checker/win32/component-properties.h"

#include "clipboard-checker/win32/font-object.h"
#include "clipboard-checker/win32/picture-object.h"

#include "platform/components/core/string-list.h"
#include "platform/components/win32/controls.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/image.h"
#include "platform/components/win32/label.h"
#include "platform/components/win32/menus.h"

namespace lexitray {

using namespace components;

namespace {

template <typename Get, typename Set> void integer(PublishedProperty &property, Get get, Set set) {
  property.kind = TTypeKind::tkInteger;
  property.getOrdinal = [get] { return static_cast<std::int64_t>(get()); };
  property.setOrdinal = [set](std::int64_t value) { set(static_cast<int>(value)); };
}

template <typename Get, typename Set> void boolean(PublishedProperty &property, Get get, Set set) {
  property.kind = TTypeKind::tkEnumeration;
  property.valueNames = {"False", "True"};
  property.getOrdinal = [get] { return static_cast<std::int64_t>(get() ? 1 : 0); };
  property.setOrdinal = [set](std::int64_t value) { set(value != 0); };
}

template <typename Get, typename Set> void text(PublishedProperty &property, Get get, Set set) {
  property.kind = TTypeKind::tkLString;
  property.getText = [get] { return std::string(get()); };
  property.setText = [set](const std::string &value) { set(value); };
}

void object(PublishedProperty &property, std::shared_ptr<PersistentObject> adapter) {
  property.kind = TTypeKind::tkClass;
  property.object = adapter.get();
  property.ownedObject = std::move(adapter);
}

bool controlProperty(TControl &c, const std::string &name, PublishedProperty &property) {
  if (SameText(name, "Left"))
    integer(
        property, [&c] { return c.Left(); }, [&c](int v) { c.SetLeft(v); });
  else if (SameText(name, "Top"))
    integer(
        property, [&c] { return c.Top(); }, [&c](int v) { c.SetTop(v); });
  else if (SameText(name, "Width"))
    integer(
        property, [&c] { return c.Width(); }, [&c](int v) { c.SetWidth(v); });
  else if (SameText(name, "Height"))
    integer(
        property, [&c] { return c.Height(); }, [&c](int v) { c.SetHeight(v); });
  else if (SameText(name, "Tag"))
    integer(
        property, [&c] { return c.Tag(); }, [&c](int v) { c.SetTag(v); });
  else if (SameText(name, "HelpContext"))
    integer(
        property, [&c] { return c.HelpContext(); }, [&c](int v) { c.SetHelpContext(v); });
  else if (SameText(name, "Visible"))
    boolean(
        property, [&c] { return c.Visible(); }, [&c](bool v) { c.SetVisible(v); });
  else if (SameText(name, "Enabled"))
    boolean(
        property, [&c] { return c.Enabled(); }, [&c](bool v) { c.SetEnabled(v); });
  else if (SameText(name, "ShowHint"))
    boolean(
        property, [&c] { return c.ShowHint(); }, [&c](bool v) { c.SetShowHint(v); });
  else if (SameText(name, "Caption") || SameText(name, "Text"))
    text(
        property, [&c] { return c.Caption(); }, [&c](const std::string &v) { c.SetCaption(v); });
  else if (SameText(name, "Hint"))
    text(
        property, [&c] { return c.Hint(); }, [&c](const std::string &v) { c.SetHint(v); });
  else if (auto *windowed = dynamic_cast<TWinControl *>(&c); windowed && SameText(name, "Font"))
    object(property, std::make_shared<FontObject>(windowed->Font()));
  else if (auto *image = dynamic_cast<TImage *>(&c); image && SameText(name, "Picture"))
    object(property, std::make_shared<PictureObject>(image->Picture()));
  else
    return false;
  property.name = name;
  return true;
}

bool menuItemProperty(TMenuItem &item, const std::string &name, PublishedProperty &property) {
  if (SameText(name, "Checked"))
    boolean(
        property, [&item] { return item.Checked(); }, [&item](bool v) { item.SetChecked(v); });
  else if (SameText(name, "Enabled"))
    boolean(
        property, [&item] { return item.Enabled(); }, [&item](bool v) { item.SetEnabled(v); });
  else if (SameText(name, "Caption"))
    text(
        property, [&item] { return item.Caption(); },
        [&item](const std::string &v) { item.SetCaption(v); });
  else if (SameText(name, "Tag"))
    integer(
        property, [&item] { return item.Tag(); }, [&item](int v) { item.SetTag(v); });
  else if (SameText(name, "HelpContext"))
    integer(
        property, [&item] { return item.HelpContext(); },
        [&item](int v) { item.SetHelpContext(v); });
  else
    return false;
  property.name = name;
  return true;
}

} // namespace

bool ComponentProperties::findProperty(TComponent &component, const std::string &name,
                                       PublishedProperty &property) {
  property = PublishedProperty{};
  if (auto *item = dynamic_cast<TMenuItem *>(&component))
    return menuItemProperty(*item, name, property);
  if (auto *control = dynamic_cast<TControl *>(&component))
    return controlProperty(*control, name, property);
  return false;
}

namespace {

// A windowed control, which can hold others. A label draws its text in a
// window of its own here, but it is no container: an edit placed in it
// would vanish from the form.
bool canHoldControls(TControl *control) {
  return dynamic_cast<TWinControl *>(control) && !dynamic_cast<TLabel *>(control);
}

} // namespace

bool ComponentProperties::findControl(TComponent &component, ControlAccess &access) {
  auto *control = dynamic_cast<TControl *>(&component);
  if (!control)
    return false;
  access.getBounds = [control] {
    return std::array<int, 4>{control->Left(), control->Top(), control->Width(), control->Height()};
  };
  access.setBounds = [control](const std::array<int, 4> &b) {
    control->SetBounds(b[0], b[1], b[2], b[3]);
  };
  access.windowed = canHoldControls(control);
  access.parentName = [control] {
    return control->Parent() ? control->Parent()->Name() : std::string();
  };
  access.setParent = [control](TComponent *parent) {
    auto *windowed = dynamic_cast<TWinControl *>(parent);
    if (!canHoldControls(windowed) || windowed == control)
      return false;
    control->SetParent(windowed);
    return true;
  };
  return true;
}

} // namespace lexitray
