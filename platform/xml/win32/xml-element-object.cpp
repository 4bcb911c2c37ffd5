// Element and element-collection objects over the core's elements.
#include "platform/xml/win32/xml-objects.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace xmlcom {

XmlElementObject::XmlElementObject(XMLDocument *owner, xml::Element *element)
    : ownerReference_(static_cast<IXMLDocument *>(owner)), owner_(owner), element_(element) {}

const com::InterfaceEntry *XmlElementObject::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IXMLElement, com::interfaceOffset<XmlElementObject, IXMLElement>()},
      {&IID_IDispatch, com::interfaceOffset<XmlElementObject, IXMLElement>()},
      {nullptr, 0}};
  return table;
}

HRESULT XmlElementObject::wrap(XMLDocument *owner, xml::Element *element, REFIID riid, void **out) {
  return com::Object<XmlElementObject>::create(riid, out, owner, element);
}

HRESULT STDMETHODCALLTYPE XmlElementObject::get_tagName(BSTR *p) {
  if (!p)
    return E_POINTER;
  *p = nullptr;
  return base::guardCom(IID_IXMLElement, [&]() -> HRESULT {
    *p = base::Bstr(element_->tagName()).detach();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE XmlElementObject::put_tagName(BSTR) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE XmlElementObject::get_parent(IXMLElement **ppParent) {
  if (!ppParent)
    return E_POINTER;
  *ppParent = nullptr;
  if (!element_->parent())
    return S_FALSE;
  return wrap(owner_, element_->parent(), IID_IXMLElement, reinterpret_cast<void **>(ppParent));
}

HRESULT STDMETHODCALLTYPE XmlElementObject::setAttribute(BSTR strPropertyName,
                                                         VARIANT PropertyValue) {
  if (!strPropertyName || !*strPropertyName)
    return E_INVALIDARG;
  return base::guardCom(IID_IXMLElement, [&]() -> HRESULT {
    base::Variant text;
    HRESULT hr = VariantChangeType(text.get(), &PropertyValue, 0, VT_BSTR);
    if (FAILED(hr))
      return hr;
    element_->setAttribute(base::Bstr::toAnsiText(strPropertyName),
                           base::Bstr::toAnsiText(V_BSTR(text.get())));
    owner_->markDirty();
    return S_OK;
  });
}

// An attribute that is absent gives VT_NULL and S_FALSE.
HRESULT STDMETHODCALLTYPE XmlElementObject::getAttribute(BSTR strPropertyName,
                                                         VARIANT *PropertyValue) {
  if (!PropertyValue)
    return E_POINTER;
  VariantInit(PropertyValue);
  if (!strPropertyName)
    return E_INVALIDARG;
  return base::guardCom(IID_IXMLElement, [&]() -> HRESULT {
    std::optional<std::string> value =
        element_->getAttribute(base::Bstr::toAnsiText(strPropertyName));
    if (!value) {
      V_VT(PropertyValue) = VT_NULL;
      return S_FALSE;
    }
    BSTR text = base::Bstr(*value).detach();
    V_VT(PropertyValue) = VT_BSTR;
    V_BSTR(PropertyValue) = text;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE XmlElementObject::removeAttribute(BSTR strPropertyName) {
  if (!strPropertyName)
    return E_INVALIDARG;
  return base::guardCom(IID_IXMLElement, [&]() -> HRESULT {
    if (!element_->removeAttribute(base::Bstr::toAnsiText(strPropertyName)))
      return S_FALSE;
    owner_->markDirty();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE XmlElementObject::get_children(IXMLElementCollection **pp) {
  if (!pp)
    return E_POINTER;
  *pp = nullptr;
  return com::Object<XmlCollectionObject>::create(IID_IXMLElementCollection,
                                                  reinterpret_cast<void **>(pp), owner_, element_);
}

HRESULT STDMETHODCALLTYPE XmlElementObject::get_type(LONG *plType) {
  if (!plType)
    return E_POINTER;
  *plType = XMLELEMTYPE_ELEMENT;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE XmlElementObject::get_text(BSTR *p) {
  if (!p)
    return E_POINTER;
  *p = nullptr;
  return base::guardCom(IID_IXMLElement, [&]() -> HRESULT {
    *p = base::Bstr(element_->text()).detach();
    return S_OK;
  });
}

// The component texts are edited through attributes only.
HRESULT STDMETHODCALLTYPE XmlElementObject::put_text(BSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE XmlElementObject::addChild(IXMLElement *, LONG, LONG) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE XmlElementObject::removeChild(IXMLElement *) { return E_NOTIMPL; }

XmlCollectionObject::XmlCollectionObject(XMLDocument *owner, xml::Element *parent)
    : ownerReference_(static_cast<IXMLDocument *>(owner)), owner_(owner), parent_(parent) {}

const com::InterfaceEntry *XmlCollectionObject::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IXMLElementCollection,
       com::interfaceOffset<XmlCollectionObject, IXMLElementCollection>()},
      {&IID_IDispatch, com::interfaceOffset<XmlCollectionObject, IXMLElementCollection>()},
      {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE XmlCollectionObject::put_length(LONG) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE XmlCollectionObject::get_length(LONG *p) {
  if (!p)
    return E_POINTER;
  *p = static_cast<LONG>(parent_->children().size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE XmlCollectionObject::get__newEnum(IUnknown **ppUnk) {
  if (ppUnk)
    *ppUnk = nullptr;
  return E_NOTIMPL;
}

// item(index): the child at that 0-based position. item(name[, n]): the
// n-th (0-based, default 0) child with that tag name; S_FALSE and null when
// there is none.
HRESULT STDMETHODCALLTYPE XmlCollectionObject::item(VARIANT var1, VARIANT var2,
                                                    IDispatch **ppDisp) {
  if (!ppDisp)
    return E_POINTER;
  *ppDisp = nullptr;
  return base::guardCom(IID_IXMLElementCollection, [&]() -> HRESULT {
    std::vector<xml::Element *> children = parent_->children();
    bool byName = V_VT(&var1) == VT_BSTR;
    base::Variant number;
    VARIANT *indexSource = byName ? &var2 : &var1;
    LONG index = 0;
    if (V_VT(indexSource) != VT_EMPTY && V_VT(indexSource) != VT_ERROR) {
      HRESULT hr = VariantChangeType(number.get(), indexSource, 0, VT_I4);
      if (FAILED(hr))
        return E_INVALIDARG;
      index = V_I4(number.get());
    }
    if (byName) {
      std::string name = base::Bstr::toAnsiText(V_BSTR(&var1));
      std::vector<xml::Element *> named;
      for (xml::Element *child : children) {
        if (child->tagName() == name)
          named.push_back(child);
      }
      children.swap(named);
    }
    if (index < 0 || static_cast<size_t>(index) >= children.size())
      return byName ? S_FALSE : E_INVALIDARG;
    return XmlElementObject::wrap(owner_, children[index], IID_IDispatch,
                                  reinterpret_cast<void **>(ppDisp));
  });
}

} // namespace xmlcom
