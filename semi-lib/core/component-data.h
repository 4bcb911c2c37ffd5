// The component XML a semiconductor control holds. The live document is
// the committed state: the library items merged at construction, the
// parameters the sheet applied and the results the device wrote. DataStr1
// and persistence serialise it, so a saved drawing keeps all of it; the
// property sheet takes an undo copy before it runs, renews it on Apply and
// returns to it on any end other than OK.
#ifndef SEMI_LIB_CORE_COMPONENT_DATA_H
#define SEMI_LIB_CORE_COMPONENT_DATA_H

#include "platform/xml/core/xml-document.h"

#include <string>

namespace semi {

class ComponentData {
public:
  explicit ComponentData(xml::Document document) : document_(std::move(document)) {}

  xml::Document &document() { return document_; }
  const xml::Document &document() const { return document_; }

  // DataStr1 get and the persisted text.
  std::string dataStr1() const { return document_.save(); }
  // DataStr1 put and a load: the text replaces the document; text that does
  // not parse leaves it as it was and answers false.
  bool putDataStr1(const std::string &text, xml::ParseError &error);

  // Before the sheet runs, and after each Apply.
  void beginEdit() { undo_ = document_.save(); }
  void commitEdit() { beginEdit(); }
  // Any end of the sheet other than OK.
  void cancelEdit();

private:
  xml::Document document_;
  std::string undo_;
};

} // namespace semi

#endif
