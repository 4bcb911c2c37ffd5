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
// The same with the name made once by a caller that reads many elements,
// and a value already in a BSTR written as it is: every text converted or
// copied costs an allocation, and a device writes its results after every
// solve.
bool attributeText(IXMLElement *element, BSTR name, std::string &value);
void setAttributeText(IXMLElement *element, BSTR name, BSTR value);

// The names of an ITEM's attributes that the devices read and write, made
// once for the life of the process; throws E_OUTOFMEMORY when they could
// not be made.
struct ItemAttributeNames {
  BSTR name, ieee, text, defaultText;
};
const ItemAttributeNames &itemAttributeNames();

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
