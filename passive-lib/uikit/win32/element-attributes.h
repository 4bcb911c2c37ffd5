// Attribute and child access on the XML object model's elements, in the
// system's ANSI text, for the kit's sheets, pages and dialogs. An absent
// attribute is never an error; a failing call throws base::ComError with
// IID_IXMLElement.
#ifndef PASSIVE_LIB_UIKIT_ELEMENT_ATTRIBUTES_H
#define PASSIVE_LIB_UIKIT_ELEMENT_ATTRIBUTES_H

#include "QorLib01.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/xml/win32/xml-guids.h"

#include <string>
#include <vector>

namespace uikit {

// The attribute's text (a value that is not text is converted); false when
// the element lacks it.
bool readAttribute(IXMLElement *element, const char *name, std::string &value);
bool hasAttribute(IXMLElement *element, const char *name);
void writeAttribute(IXMLElement *element, const char *name, const std::string &value);
void removeAttribute(IXMLElement *element, const char *name);
// The element children, in document order.
std::vector<base::ComPtr<IXMLElement>> elementChildren(IXMLElement *parent);
// The first child of that tag name; empty when there is none.
base::ComPtr<IXMLElement> elementChild(IXMLElement *parent, const char *tagName);

} // namespace uikit

#endif
