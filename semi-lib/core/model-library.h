// A model library: the LIBRARY text that QorLib02 carries for each kind,
// with a PARAMS section (one PARAM per component parameter, carrying the
// attributes its ITEM starts with) and a MODELS section (one MODEL per part
// number, with SPICE values named after the PARAMs or a COPY of another
// MODEL). Only element nodes count; comments and spacing are skipped. A
// MODEL may give an attribute twice: both are kept, in the order written.
#ifndef SEMI_LIB_CORE_MODEL_LIBRARY_H
#define SEMI_LIB_CORE_MODEL_LIBRARY_H

#include "platform/xml/core/xml-document.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace semi {

struct NamedValue {
  std::string name;
  std::string value;
  bool operator==(const NamedValue &other) const {
    return name == other.name && value == other.value;
  }
};

// An element's attributes, decoded, in the order the parser lists them.
std::vector<NamedValue> attributesOf(const xml::Element &element);

// Parses a library text (or component XML) so that repeated attributes are
// kept rather than refused.
bool loadKeepingRepeats(xml::Document &document, const std::string &text, xml::ParseError &error);

class ModelLibrary {
public:
  // Parses the text. A text that parses but lacks PARAMS or MODELS loads
  // as a library with no parameters or no models.
  bool load(const std::string &text, xml::ParseError &error);

  const xml::Element *root() const { return document_.root(); }
  // The PARAM and MODEL elements, in document order.
  std::vector<const xml::Element *> params() const;
  std::vector<const xml::Element *> models() const;
  // The TYPE of every MODEL that has one, in document order (the model list).
  std::vector<std::string> modelTypes() const;
  // The first MODEL whose TYPE is type, or null.
  const xml::Element *findModel(const std::string &type) const;

private:
  std::vector<const xml::Element *> childrenOf(const char *section) const;
  xml::Document document_;
  // The first MODEL of each TYPE, made at load: a chain of COPY references
  // looks up one model per step without a walk of the whole section.
  std::unordered_map<std::string, const xml::Element *> modelsByType_;
};

} // namespace semi

#endif
