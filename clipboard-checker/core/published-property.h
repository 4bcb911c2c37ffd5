// What the persistence component knows of a component's published
// properties: each property's kind, its value names (enumerations, sets),
// and accessors. The component library has no run-time type information,
// so a PropertyAccess supplies this per class: the Win32 side for forms,
// controls and menu items, tests for their own components.
#ifndef CLIPBOARD_CHECKER_CORE_PUBLISHED_PROPERTY_H
#define CLIPBOARD_CHECKER_CORE_PUBLISHED_PROPERTY_H

#include "platform/components/core/component.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lexitray {

// Property kinds, numbered as the type codes of item lines count them.
enum class TTypeKind {
  tkUnknown = 0,
  tkInteger = 1,
  tkChar = 2,
  tkEnumeration = 3,
  tkFloat = 4,
  tkString = 5,
  tkSet = 6,
  tkClass = 7,
  tkMethod = 8,
  tkWChar = 9,
  tkLString = 10,
  tkWString = 11,
  tkVariant = 12
};

// Integer properties whose values have names.
enum class IntegerNames { None, Colour, Cursor };

// The object an object-valued property holds; it writes and reads its own
// published state. A string list's state is its text, the lines joined by
// CR LF, which the setup dialog edits as such.
class PersistentObject {
public:
  enum class Kind { Picture, Graphic, StringList, Font, Other };
  virtual ~PersistentObject() = default;
  virtual Kind kind() const = 0;
  virtual std::string className() const = 0;
  // Pictures and graphics without an image, lists without lines.
  virtual bool isEmpty() const = 0;
  virtual void clear() = 0;
  virtual std::string saveState() const = 0;
  // Raises components::Exception for state it cannot take.
  virtual void loadState(const std::string &state) = 0;
};

struct PublishedProperty {
  std::string name;
  TTypeKind kind = TTypeKind::tkUnknown;
  IntegerNames integerNames = IntegerNames::None;
  // Names of an enumeration's values (a Boolean's are "False", "True"),
  // or of a set's members 0 to 31.
  std::vector<std::string> valueNames;

  // Integers, characters, enumerations and sets (a set as its bit mask).
  std::function<std::int64_t()> getOrdinal;
  std::function<void(std::int64_t)> setOrdinal;
  // Strings.
  std::function<std::string()> getText;
  std::function<void(const std::string &)> setText;
  // Component references; accepts says whether a component is of the
  // property's class.
  std::function<components::TComponent *()> getComponent;
  std::function<void(components::TComponent *)> setComponent;
  std::function<bool(components::TComponent *)> accepts;
  // Other object-valued properties. The object the property holds is
  // reached through an adapter; ownedObject keeps an adapter made for this
  // lookup alive as long as the description.
  PersistentObject *object = nullptr;
  std::shared_ptr<PersistentObject> ownedObject;

  bool isComponentReference() const {
    return kind == TTypeKind::tkClass && getComponent != nullptr;
  }
};

// The pseudo properties "Bounds" and "Parent" of controls.
struct ControlAccess {
  std::function<std::array<int, 4>()> getBounds; // left, top, width, height
  std::function<void(const std::array<int, 4> &)> setBounds;
  std::function<std::string()> parentName; // empty without a parent
  bool windowed = false;                   // a windowed control: it can hold others
  // Makes component the parent when it is a windowed control; false
  // otherwise.
  std::function<bool(components::TComponent *)> setParent;
};

class PropertyAccess {
public:
  virtual ~PropertyAccess() = default;
  // The published property of component with that name (case-insensitive).
  virtual bool findProperty(components::TComponent &component, const std::string &name,
                            PublishedProperty &property) = 0;
  // False for components that are not controls.
  virtual bool findControl(components::TComponent &component, ControlAccess &control) = 0;
};

} // namespace lexitray

#endif
