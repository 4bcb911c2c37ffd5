// The text forms in which the persistence component stores property
// values, and the binary block of object-valued properties:
//   integer      decimal; colours and cursors by identifier when they have
//                one ("clBtnFace", "crHandPoint")
//   character    the character
//   enumeration  the value's name ("True")
//   string       the text
//   set          "[" + member names joined by "," + "]"
//   component    the referenced component's name, empty for none
//   others       empty (and nothing is loaded)
// Binary block: 32 bytes of class name, zero-padded (at most 31
// characters) or "EMPTY"; then "03"; then, unless "EMPTY", the object's
// own state.
#ifndef CLIPBOARD_CHECKER_CORE_PROPERTY_TEXT_H
#define CLIPBOARD_CHECKER_CORE_PROPERTY_TEXT_H

#include "clipboard-checker/core/published-property.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lexitray {

// Colour identifiers; system colours carry the component library's
// system-colour mark (0xFF000000) over their index.
bool colourToIdent(std::int64_t colour, std::string &ident);
bool identToColour(const std::string &ident, std::int64_t &colour);
// Every colour identifier, in table order.
std::vector<std::string> colourIdents();
bool cursorToIdent(std::int64_t cursor, std::string &ident);
bool identToCursor(const std::string &ident, std::int64_t &cursor);

std::string propertyToText(const PublishedProperty &property);
// Sets the property from its stored text. References are looked up among
// owner's own components, then among its owner's.
void propertyFromText(const PublishedProperty &property, const std::string &text,
                      components::TComponent &owner);

// "Bounds": "%d;%d;%d;%d" of left, top, width, height. Reading keeps the
// current value of each field that is not a whole number.
std::string boundsToText(const std::array<int, 4> &bounds);
std::array<int, 4> boundsFromText(const std::string &text, const std::array<int, 4> &current);

std::string binaryValue(const PersistentObject &object);
// A string list's block from its class name and lines ("EMPTY" without
// lines), and the lines a block holds (empty for "EMPTY", none for a block
// of another shape). String lists keep their text as their state.
std::string stringListBlock(const std::string &className, const std::string &lines);
std::string stringListLines(const std::string &block);
// Applies a stored block to the object as its kind says; a block too
// short to hold the class name and marker changes nothing.
void loadBinaryValue(PersistentObject &object, const std::string &block);

} // namespace lexitray

#endif
