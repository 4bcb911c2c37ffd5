// The component XML with which each semiconductor control starts, and its
// construction: the kind's one-line template filled with the module's
// version and the creation date, then the model library's PARAMs copied in
// as the PARAMS items.
#ifndef SEMI_LIB_CORE_SEMI_TEMPLATES_H
#define SEMI_LIB_CORE_SEMI_TEMPLATES_H

#include "platform/xml/core/xml-document.h"
#include "semi-lib/core/semi-kind.h"

#include <string>

namespace semi {

// The format text, with two "%s" for VERSION and CREATED.
const char *componentTemplate(SemiKind kind);
std::string filledTemplate(SemiKind kind, const std::string &version, const std::string &created);

// Appends to the component's PARAMS one ITEM per PARAM of the library's
// PARAMS, each carrying the PARAM's attributes in the order the parser
// lists them. Returns the number of items added (0 when either document
// lacks its PARAMS).
int mergeLibraryParams(xml::Document &component, const xml::Document &library);

// A constructed control's data.
struct SemiComponent {
  std::string dataStr1;    // the filled template; the merged items are not in it
  xml::Document document;  // the filled template with the library's items
  std::string libraryText; // empty when the module has no library
  bool libraryParsed = false;
};

// Construction from the library text the module carries (empty when the
// resource is missing). A library that does not parse leaves PARAMS empty
// but is still kept as text.
SemiComponent buildComponent(SemiKind kind, const std::string &version, const std::string &created,
                             const std::string &libraryText);

} // namespace semi

#endif
