#include "passive-lib/uikit/win32/element-attributes.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/xml/win32/xml-guids.h"

namespace uikit {

bool readAttribute(IXMLElement *element, const char *name, std::string &value) {
  base::checkPointer(element, IID_IXMLElement);
  base::Bstr attribute(name);
  VARIANT found;
  VariantInit(&found);
  HRESULT hr = base::check(element->getAttribute(attribute.get(), &found), IID_IXMLElement);
  if (hr != S_OK) {
    VariantClear(&found);
    return false;
  }
  if (V_VT(&found) != VT_BSTR) {
    HRESULT converted = VariantChangeType(&found, &found, 0, VT_BSTR);
    if (FAILED(converted)) {
      VariantClear(&found);
      throw base::ComError(converted, IID_IXMLElement);
    }
  }
  value = base::Bstr::toAnsiText(V_BSTR(&found));
  VariantClear(&found);
  return true;
}

bool hasAttribute(IXMLElement *element, const char *name) {
  std::string ignored;
  return readAttribute(element, name, ignored);
}

void writeAttribute(IXMLElement *element, const char *name, const std::string &value) {
  base::checkPointer(element, IID_IXMLElement);
  base::Bstr attribute(name);
  base::Bstr text(value);
  VARIANT written;
  VariantInit(&written);
  V_VT(&written) = VT_BSTR;
  V_BSTR(&written) = text.get();
  base::check(element->setAttribute(attribute.get(), written), IID_IXMLElement);
}

void removeAttribute(IXMLElement *element, const char *name) {
  base::checkPointer(element, IID_IXMLElement);
  base::Bstr attribute(name);
  base::check(element->removeAttribute(attribute.get()), IID_IXMLElement);
}

std::vector<base::ComPtr<IXMLElement>> elementChildren(IXMLElement *parent) {
  base::checkPointer(parent, IID_IXMLElement);
  std::vector<base::ComPtr<IXMLElement>> found;
  base::ComPtr<IXMLElementCollection> children;
  base::check(parent->get_children(children.receive()), IID_IXMLElement);
  if (!children)
    return found;
  long count = 0;
  base::check(children->get_length(&count), IID_IXMLElementCollection);
  for (long i = 0; i < count; ++i) {
    VARIANT index, empty;
    VariantInit(&index);
    VariantInit(&empty);
    V_VT(&index) = VT_I4;
    V_I4(&index) = i;
    base::ComPtr<IDispatch> item;
    base::check(children->item(index, empty, item.receive()), IID_IXMLElementCollection);
    base::ComPtr<IXMLElement> element = item.query<IXMLElement>();
    if (!element)
      continue;
    long type = XMLELEMTYPE_ELEMENT;
    element->get_type(&type);
    if (type == XMLELEMTYPE_ELEMENT)
      found.push_back(element);
  }
  return found;
}

base::ComPtr<IXMLElement> elementChild(IXMLElement *parent, const char *tagName) {
  for (base::ComPtr<IXMLElement> &child : elementChildren(parent)) {
    base::Bstr tag;
    base::check(child->get_tagName(tag.receive()), IID_IXMLElement);
    if (lstrcmpiA(tag.toAnsi().c_str(), tagName) == 0)
      return child;
  }
  return nullptr;
}

} // namespace uikit
