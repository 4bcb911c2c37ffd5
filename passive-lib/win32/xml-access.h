// Element and attribute access on the XML object model, in the system's
// ANSI text: children in document order, the first child of a tag name,
// attribute get and set. Failing calls throw base::ComError.
#ifndef PASSIVE_LIB_XML_ACCESS_H
#define PASSIVE_LIB_XML_ACCESS_H

#include "passive-lib/core/item-format.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/xml/win32/xml-guids.h"

#include <string>
#include <vector>

namespace passive {

std::vector<base::ComPtr<IXMLElement>> childElements(IXMLElement *parent);
// The first child with that tag name; empty when there is none.
base::ComPtr<IXMLElement> childElement(IXMLElement *parent, const char *tagName);
// The attribute's text; false when the element lacks it.
bool attributeText(IXMLElement *element, const char *name, std::string &value);
void setAttributeText(IXMLElement *element, const char *name, const std::string &value);

// An ITEM element seen through ItemAttributes.
class ElementItem : public ItemAttributes {
public:
  explicit ElementItem(IXMLElement *element) : element_(element) {}
  bool attribute(const char *name, std::string &value) const override {
    return attributeText(element_, name, value);
  }

private:
  IXMLElement *element_;
};

} // namespace passive

#endif
