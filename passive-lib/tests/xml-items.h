// Reading a component's XML through the COM document objects, as the tests
// of the components and controls look into it: an element's attribute, its
// child elements, a section of the root (PARAMS, RESULT) and an item of a
// section found by its NAME. Missing pieces read as empty or null, so a test
// states what it expected instead of crashing on it.
#ifndef PASSIVE_LIB_TESTS_XML_ITEMS_H
#define PASSIVE_LIB_TESTS_XML_ITEMS_H

#include "QorLib01.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/variant.h"
#include "platform/xml/win32/xml-guids.h"

#include <string>
#include <vector>

namespace passive_test {

// The text of an attribute, or "" when it is missing or not text.
inline std::string attribute(IXMLElement *element, const char *name) {
  base::Variant value;
  element->getAttribute(base::Bstr(std::string(name)).get(), value.receive());
  return value.type() == VT_BSTR ? base::Bstr::toAnsiText(V_BSTR(value.get())) : "";
}

inline std::vector<base::ComPtr<IXMLElement>> childrenOf(IXMLElement *parent) {
  std::vector<base::ComPtr<IXMLElement>> list;
  base::ComPtr<IXMLElementCollection> children;
  if (!parent || FAILED(parent->get_children(children.receive())) || !children)
    return list;
  LONG count = 0;
  children->get_length(&count);
  for (LONG i = 0; i < count; ++i) {
    base::Variant index, empty;
    V_VT(index.get()) = VT_I4;
    V_I4(index.get()) = i;
    base::ComPtr<IDispatch> found;
    children->item(*index.get(), *empty.get(), found.receive());
    if (base::ComPtr<IXMLElement> child = found ? found.query<IXMLElement>() : nullptr)
      list.push_back(child);
  }
  return list;
}

// The child of root tagged name, or null.
inline base::ComPtr<IXMLElement> sectionOf(IXMLElement *root, const char *name) {
  for (base::ComPtr<IXMLElement> &child : childrenOf(root)) {
    base::Bstr tag;
    child->get_tagName(tag.receive());
    if (tag.toAnsi() == name)
      return child;
  }
  return nullptr;
}

inline base::ComPtr<IXMLElement> sectionOf(IQorOcx2 *data, const char *name) {
  base::ComPtr<IXMLElement> root;
  if (FAILED(data->get_RootData1(root.receive())) || !root)
    return nullptr;
  return sectionOf(root.get(), name);
}

// The item of a section with this NAME, or null.
inline base::ComPtr<IXMLElement> itemOf(IXMLElement *section, const std::string &name) {
  for (base::ComPtr<IXMLElement> &item : childrenOf(section))
    if (attribute(item.get(), "NAME") == name)
      return item;
  return nullptr;
}

} // namespace passive_test

#endif
