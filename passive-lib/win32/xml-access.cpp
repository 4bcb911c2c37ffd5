#include "passive-lib/win32/xml-access.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace passive {

std::vector<base::ComPtr<IXMLElement>> childElements(IXMLElement *parent) {
  base::checkPointer(parent, IID_IXMLElement);
  base::ComPtr<IXMLElementCollection> children;
  base::check(parent->get_children(children.receive()), IID_IXMLElement);
  std::vector<base::ComPtr<IXMLElement>> result;
  if (!children)
    return result;
  LONG length = 0;
  base::check(children->get_length(&length), IID_IXMLElementCollection);
  for (LONG i = 0; i < length; ++i) {
    base::Variant index, empty;
    V_VT(index.get()) = VT_I4;
    V_I4(index.get()) = i;
    base::ComPtr<IDispatch> item;
    base::check(children->item(*index.get(), *empty.get(), item.receive()),
                IID_IXMLElementCollection);
    base::ComPtr<IXMLElement> element = item.query<IXMLElement>();
    if (element)
      result.push_back(element);
  }
  return result;
}

base::ComPtr<IXMLElement> childElement(IXMLElement *parent, const char *tagName) {
  for (base::ComPtr<IXMLElement> &child : childElements(parent)) {
    base::Bstr name;
    base::check(child->get_tagName(name.receive()), IID_IXMLElement);
    if (name.toAnsi() == tagName)
      return child;
  }
  return nullptr;
}

bool attributeText(IXMLElement *element, const char *name, std::string &value) {
  base::Bstr attributeName{std::string(name)};
  return attributeText(element, attributeName.get(), value);
}

bool attributeText(IXMLElement *element, BSTR name, std::string &value) {
  base::checkPointer(element, IID_IXMLElement);
  base::Variant result;
  base::check(element->getAttribute(name, result.receive()), IID_IXMLElement);
  if (result.type() != VT_BSTR)
    return false;
  value = base::Bstr::toAnsiText(V_BSTR(result.get()));
  return true;
}

void setAttributeText(IXMLElement *element, const char *name, const std::string &value) {
  base::Bstr attributeName{std::string(name)};
  base::Bstr text(value);
  setAttributeText(element, attributeName.get(), text.get());
}

const ItemAttributeNames &itemAttributeNames() {
  // Never freed: the process may end after the system's string cache.
  static const ItemAttributeNames names = {SysAllocString(L"NAME"), SysAllocString(L"IEEE"),
                                           SysAllocString(L"TEXT"), SysAllocString(L"DEFAULT")};
  if (!names.name || !names.ieee || !names.text || !names.defaultText)
    throw base::ComError(E_OUTOFMEMORY, IID_IXMLElement);
  return names;
}

void setAttributeText(IXMLElement *element, BSTR name, BSTR value) {
  base::checkPointer(element, IID_IXMLElement);
  // A null text is the empty text, written as one.
  base::Bstr empty;
  if (!value) {
    empty = base::Bstr(std::string());
    value = empty.get();
  }
  // The callee only reads a VARIANT passed by value: the text stays ours.
  VARIANT text;
  VariantInit(&text);
  V_VT(&text) = VT_BSTR;
  V_BSTR(&text) = value;
  base::check(element->setAttribute(name, text), IID_IXMLElement);
}

} // namespace passive
