// What the model-library tests share: where the libraries live in the
// source tree, a library's text parsed, and a plain rendering of an element tree (one element a
// line, two blanks of indent per level, attributes in order) that golden files can be written in by
// hand.
#ifndef SEMI_LIB_TESTS_LIBRARY_FILES_H
#define SEMI_LIB_TESTS_LIBRARY_FILES_H

#include "platform/xml/core/xml-document.h"
#include "semi-lib/core/model-library.h"
#include "semi-lib/core/semi-kind.h"
#include "testing/test-files.h"

#include <gtest/gtest.h>

#include <string>

namespace semi_test {

inline std::string shippedLibraryPath(semi::SemiKind kind) {
  const char *file = kind == semi::SemiKind::Diode ? "diode.xml"
                     : kind == semi::SemiKind::Npn ? "npn.xml"
                                                   : "pnp.xml";
  return testing_support::sourcePath(std::string("semi-lib/models/") + file);
}

inline std::string shippedLibrary(semi::SemiKind kind) {
  return testing_support::readFile(shippedLibraryPath(kind));
}

inline std::string testLibrary() {
  return testing_support::readFile(
      testing_support::sourcePath("semi-lib/tests/data/format-features.xml"));
}

// A golden file of the model tests (tests/golden).
inline std::string golden(const std::string &name) {
  return testing_support::readFile(testing_support::sourcePath("semi-lib/tests/golden/" + name));
}

// The library text parsed; a failure to parse fails the test.
inline semi::ModelLibrary loaded(const std::string &text) {
  semi::ModelLibrary library;
  xml::ParseError error;
  EXPECT_TRUE(library.load(text, error)) << error.describe();
  return library;
}

inline void renderTree(const xml::Element &element, int depth, std::string &out) {
  out.append(2 * static_cast<size_t>(depth), ' ');
  out += element.tagName();
  for (const xml::Attribute &attribute : element.attributes())
    out += " " + attribute.name + "=\"" + xml::decodeEntities(attribute.rawValue) + "\"";
  out += '\n';
  for (const xml::Element *child : element.children())
    renderTree(*child, depth + 1, out);
}

inline std::string renderTree(const xml::Element &element) {
  std::string out;
  renderTree(element, 0, out);
  return out;
}

} // namespace semi_test

#endif
