// Property values as stored text and binary blocks.
#include "clipboard-checker/core/property-text.h"

#include "platform/components/core/string-list.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace lexitray {

namespace {

struct NamedValue {
  std::int64_t value;
  const char *ident;
};

constexpr std::int64_t systemColour = 0xFF000000;

const NamedValue colours[] = {{0x000000, "clBlack"},
                              {0x000080, "clMaroon"},
                              {0x008000, "clGreen"},
                              {0x008080, "clOlive"},
                              {0x800000, "clNavy"},
                              {0x800080, "clPurple"},
                              {0x808000, "clTeal"},
                              {0x808080, "clGray"},
                              {0xC0C0C0, "clSilver"},
                              {0x0000FF, "clRed"},
                              {0x00FF00, "clLime"},
                              {0x00FFFF, "clYellow"},
                              {0xFF0000, "clBlue"},
                              {0xFF00FF, "clFuchsia"},
                              {0xFFFF00, "clAqua"},
                              {0xFFFFFF, "clWhite"},
                              {0x1FFFFFFF, "clNone"},
                              {0x20000000, "clDefault"},
                              {systemColour | 0, "clScrollBar"},
                              {systemColour | 1, "clBackground"},
                              {systemColour | 2, "clActiveCaption"},
                              {systemColour | 3, "clInactiveCaption"},
                              {systemColour | 4, "clMenu"},
                              {systemColour | 5, "clWindow"},
                              {systemColour | 6, "clWindowFrame"},
                              {systemColour | 7, "clMenuText"},
                              {systemColour | 8, "clWindowText"},
                              {systemColour | 9, "clCaptionText"},
                              {systemColour | 10, "clActiveBorder"},
                              {systemColour | 11, "clInactiveBorder"},
                              {systemColour | 12, "clAppWorkSpace"},
                              {systemColour | 13, "clHighlight"},
                              {systemColour | 14, "clHighlightText"},
                              {systemColour | 15, "clBtnFace"},
                              {systemColour | 16, "clBtnShadow"},
                              {systemColour | 17, "clGrayText"},
                              {systemColour | 18, "clBtnText"},
                              {systemColour | 19, "clInactiveCaptionText"},
                              {systemColour | 20, "clBtnHighlight"},
                              {systemColour | 21, "cl3DDkShadow"},
                              {systemColour | 22, "cl3DLight"},
                              {systemColour | 23, "clInfoText"},
                              {systemColour | 24, "clInfoBk"}};

const NamedValue cursors[] = {
    {0, "crDefault"},     {-1, "crNone"},     {-2, "crArrow"},      {-3, "crCross"},
    {-4, "crIBeam"},      {-6, "crSizeNESW"}, {-7, "crSizeNS"},     {-8, "crSizeNWSE"},
    {-9, "crSizeWE"},     {-10, "crUpArrow"}, {-11, "crHourGlass"}, {-12, "crDrag"},
    {-13, "crNoDrop"},    {-14, "crHSplit"},  {-15, "crVSplit"},    {-16, "crMultiDrag"},
    {-17, "crSQLWait"},   {-18, "crNo"},      {-19, "crAppStart"},  {-20, "crHelp"},
    {-21, "crHandPoint"}, {-22, "crSizeAll"}};

template <std::size_t N>
bool toIdent(const NamedValue (&table)[N], std::int64_t value, std::string &ident) {
  for (const NamedValue &entry : table)
    if (entry.value == value) {
      ident = entry.ident;
      return true;
    }
  return false;
}

template <std::size_t N>
bool fromIdent(const NamedValue (&table)[N], const std::string &ident, std::int64_t &value) {
  for (const NamedValue &entry : table)
    if (components::SameText(ident, entry.ident)) {
      value = entry.value;
      return true;
    }
  return false;
}

// A whole decimal number in the 32-bit range, as the properties hold.
bool wholeNumber(const std::string &text, std::int64_t &value) {
  if (text.empty())
    return false;
  errno = 0;
  char *end = nullptr;
  long long number = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || !end || *end != '\0' || number < INT32_MIN || number > INT32_MAX)
    return false;
  value = number;
  return true;
}

std::string trimmed(const std::string &text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos)
    return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int nameIndex(const std::vector<std::string> &names, const std::string &name) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (components::SameText(names[i], name))
      return static_cast<int>(i);
  return -1;
}

std::string integerText(const PublishedProperty &property) {
  std::int64_t value = property.getOrdinal();
  std::string ident;
  if (property.integerNames == IntegerNames::Colour && colourToIdent(value, ident))
    return ident;
  if (property.integerNames == IntegerNames::Cursor && cursorToIdent(value, ident))
    return ident;
  return std::to_string(value);
}

void setInteger(const PublishedProperty &property, const std::string &text) {
  if (text.empty())
    return;
  std::int64_t value = 0;
  if (property.integerNames == IntegerNames::Colour && identToColour(text, value))
    return property.setOrdinal(value);
  if (property.integerNames == IntegerNames::Cursor && identToCursor(text, value))
    return property.setOrdinal(value);
  property.setOrdinal(wholeNumber(text, value) ? value : 0);
}

std::string setText(const PublishedProperty &property) {
  std::uint32_t members = static_cast<std::uint32_t>(property.getOrdinal());
  std::string text = "[";
  bool first = true;
  for (std::size_t bit = 0; bit < 32 && bit < property.valueNames.size(); ++bit) {
    if (!(members & (1u << bit)))
      continue;
    text += (first ? "" : ",") + property.valueNames[bit];
    first = false;
  }
  return text + "]";
}

void setSet(const PublishedProperty &property, const std::string &text) {
  if (text.empty() || text[0] != '[')
    return;
  std::size_t close = text.find(']', 1);
  std::string inside = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  std::uint32_t members = 0;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = inside.find(',', start);
    std::string name = trimmed(inside.substr(start, comma - start));
    if (name.empty())
      break;
    int bit = nameIndex(property.valueNames, name);
    if (bit >= 0 && bit < 32)
      members |= 1u << bit;
    if (comma == std::string::npos)
      break;
    start = comma + 1;
  }
  property.setOrdinal(members);
}

components::TComponent *findReference(components::TComponent &owner, const std::string &name) {
  if (components::TComponent *found = owner.FindComponent(name))
    return found;
  return owner.Owner() ? owner.Owner()->FindComponent(name) : nullptr;
}

} // namespace

bool colourToIdent(std::int64_t colour, std::string &ident) {
  return toIdent(colours, colour, ident);
}
bool identToColour(const std::string &ident, std::int64_t &colour) {
  return fromIdent(colours, ident, colour);
}
std::vector<std::string> colourIdents() {
  std::vector<std::string> idents;
  for (const NamedValue &entry : colours)
    idents.push_back(entry.ident);
  return idents;
}
bool cursorToIdent(std::int64_t cursor, std::string &ident) {
  return toIdent(cursors, cursor, ident);
}
bool identToCursor(const std::string &ident, std::int64_t &cursor) {
  return fromIdent(cursors, ident, cursor);
}

std::string propertyToText(const PublishedProperty &property) {
  switch (property.kind) {
  case TTypeKind::tkInteger:
    return integerText(property);
  case TTypeKind::tkChar:
    return std::string(1, static_cast<char>(property.getOrdinal()));
  case TTypeKind::tkEnumeration: {
    std::int64_t value = property.getOrdinal();
    if (value < 0 || static_cast<std::size_t>(value) >= property.valueNames.size())
      return std::string();
    return property.valueNames[static_cast<std::size_t>(value)];
  }
  case TTypeKind::tkString:
  case TTypeKind::tkLString:
    return property.getText();
  case TTypeKind::tkSet:
    return setText(property);
  case TTypeKind::tkClass:
    if (property.isComponentReference()) {
      components::TComponent *target = property.getComponent();
      return target ? target->Name() : std::string();
    }
    return std::string();
  default:
    return std::string();
  }
}

void propertyFromText(const PublishedProperty &property, const std::string &text,
                      components::TComponent &owner) {
  switch (property.kind) {
  case TTypeKind::tkInteger:
    return setInteger(property, text);
  case TTypeKind::tkChar:
    if (!text.empty())
      property.setOrdinal(static_cast<unsigned char>(text[0]));
    return;
  case TTypeKind::tkEnumeration: {
    int value = nameIndex(property.valueNames, text);
    if (value >= 0)
      property.setOrdinal(value);
    return;
  }
  case TTypeKind::tkString:
  case TTypeKind::tkLString:
    return property.setText(text);
  case TTypeKind::tkSet:
    return setSet(property, text);
  case TTypeKind::tkClass:
    if (property.isComponentReference()) {
      components::TComponent *found = findReference(owner, text);
      property.setComponent(found && property.accepts(found) ? found : nullptr);
    }
    return;
  default:
    return;
  }
}

std::string boundsToText(const std::array<int, 4> &bounds) {
  return std::to_string(bounds[0]) + ";" + std::to_string(bounds[1]) + ";" +
         std::to_string(bounds[2]) + ";" + std::to_string(bounds[3]);
}

std::array<int, 4> boundsFromText(const std::string &text, const std::array<int, 4> &current) {
  std::array<int, 4> bounds = current;
  std::size_t start = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    std::size_t end = text.find(';', start);
    std::int64_t value = 0;
    if (wholeNumber(trimmed(text.substr(start, end - start)), value))
      bounds[i] = static_cast<int>(value);
    if (end == std::string::npos)
      break;
    start = end + 1;
  }
  return bounds;
}

namespace {

constexpr std::size_t classNameSize = 32;
const char emptyName[] = "EMPTY";
const char blockMarker[] = "03";

std::string blockHeader(const std::string &name) {
  std::string header(classNameSize, '\0');
  header.replace(0, std::min(name.size(), classNameSize - 1), name, 0, classNameSize - 1);
  return header + blockMarker;
}

bool emptyWhenSaved(const PersistentObject &object) {
  switch (object.kind()) {
  case PersistentObject::Kind::Picture:
  case PersistentObject::Kind::Graphic:
  case PersistentObject::Kind::StringList:
    return object.isEmpty();
  case PersistentObject::Kind::Font:
  case PersistentObject::Kind::Other:
    return false;
  }
  return false;
}

} // namespace

std::string binaryValue(const PersistentObject &object) {
  if (emptyWhenSaved(object))
    return blockHeader(emptyName);
  return blockHeader(object.className()) + object.saveState();
}

std::string stringListBlock(const std::string &className, const std::string &lines) {
  return lines.empty() ? blockHeader(emptyName) : blockHeader(className) + lines;
}

std::string stringListLines(const std::string &block) {
  if (block.size() < classNameSize + 2 || block.compare(classNameSize, 2, blockMarker) != 0)
    return std::string();
  return block.substr(classNameSize + 2);
}

void loadBinaryValue(PersistentObject &object, const std::string &block) {
  if (block.size() < classNameSize + 2)
    return;
  std::string stored = block.substr(0, classNameSize).c_str();
  bool marked = block.compare(classNameSize, 2, blockMarker) == 0;
  bool sameClass = marked && components::SameText(stored, object.className());
  bool storedEmpty = stored == emptyName;
  std::string state = block.substr(classNameSize + 2);
  switch (object.kind()) {
  case PersistentObject::Kind::Picture:
    if (sameClass)
      object.loadState(state);
    else if (storedEmpty && !object.isEmpty())
      object.clear();
    return;
  case PersistentObject::Kind::Graphic:
  case PersistentObject::Kind::StringList:
    if (sameClass)
      object.loadState(state);
    else if (storedEmpty)
      object.clear();
    return;
  case PersistentObject::Kind::Font:
    if (sameClass)
      object.loadState(state);
    return;
  case PersistentObject::Kind::Other:
    return;
  }
}

} // namespace lexitray
