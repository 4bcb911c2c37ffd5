// The XML object model as COM objects: a document answering IXMLDocument
// and IPersistStreamInit, elements answering IXMLElement, and collections of
// child elements answering IXMLElementCollection. The add-on creates its
// documents with createXmlDocument instead of the platform's class, whose
// document cannot save and refuses some component texts.
//
// Elements live as long as their document: an element object holds a
// reference to its document object, so a client may keep an element after
// releasing the document.
#ifndef PLATFORM_XML_XML_OBJECTS_H
#define PLATFORM_XML_XML_OBJECTS_H

#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"
#include "platform/xml/core/xml-document.h"

#include "platform/xml/win32/xml-guids.h"

#include <windows.h>
#include <ocidl.h>

#include <vector>

namespace xmlcom {

// Creates an empty document and asks it for riid.
HRESULT createXmlDocument(REFIID riid, void **out);

class XMLDocument : public com::Dispatch<IXMLDocument>, public IPersistStreamInit {
public:
  static const com::InterfaceEntry *interfaces();

  // IXMLDocument
  HRESULT STDMETHODCALLTYPE get_root(IXMLElement **p) override;
  HRESULT STDMETHODCALLTYPE get_fileSize(BSTR *p) override;
  HRESULT STDMETHODCALLTYPE get_fileModifiedDate(BSTR *p) override;
  HRESULT STDMETHODCALLTYPE get_fileUpdatedDate(BSTR *p) override;
  HRESULT STDMETHODCALLTYPE get_URL(BSTR *p) override;
  HRESULT STDMETHODCALLTYPE put_URL(BSTR p) override;
  HRESULT STDMETHODCALLTYPE get_mimeType(BSTR *p) override;
  HRESULT STDMETHODCALLTYPE get_readyState(LONG *pl) override;
  HRESULT STDMETHODCALLTYPE get_charset(BSTR *p) override;
  HRESULT STDMETHODCALLTYPE put_charset(BSTR p) override;
  HRESULT STDMETHODCALLTYPE get_version(BSTR *p) override;
  HRESULT STDMETHODCALLTYPE get_doctype(BSTR *p) override;
  HRESULT STDMETHODCALLTYPE get_dtdURL(BSTR *p) override;
  HRESULT STDMETHODCALLTYPE createElement(VARIANT vType, VARIANT var1,
                                          IXMLElement **ppElem) override;

  // IPersistStreamInit
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM pStm) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM pStm, BOOL fClearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *pcbSize) override;
  HRESULT STDMETHODCALLTYPE InitNew() override;

  xml::Document &document() { return document_; }
  void markDirty() { dirty_ = true; }

private:
  xml::Document document_;
  // Documents replaced by Load or InitNew: element objects handed out
  // earlier still point into them.
  std::vector<xml::Document> retired_;
  bool dirty_ = false;
};

class XmlElementObject : public com::Dispatch<IXMLElement> {
public:
  XmlElementObject(XMLDocument *owner, xml::Element *element);
  static const com::InterfaceEntry *interfaces();
  // Wraps element (of owner's document) in a new object.
  static HRESULT wrap(XMLDocument *owner, xml::Element *element, REFIID riid, void **out);

  HRESULT STDMETHODCALLTYPE get_tagName(BSTR *p) override;
  HRESULT STDMETHODCALLTYPE put_tagName(BSTR p) override;
  HRESULT STDMETHODCALLTYPE get_parent(IXMLElement **ppParent) override;
  HRESULT STDMETHODCALLTYPE setAttribute(BSTR strPropertyName, VARIANT PropertyValue) override;
  HRESULT STDMETHODCALLTYPE getAttribute(BSTR strPropertyName, VARIANT *PropertyValue) override;
  HRESULT STDMETHODCALLTYPE removeAttribute(BSTR strPropertyName) override;
  HRESULT STDMETHODCALLTYPE get_children(IXMLElementCollection **pp) override;
  HRESULT STDMETHODCALLTYPE get_type(LONG *plType) override;
  HRESULT STDMETHODCALLTYPE get_text(BSTR *p) override;
  HRESULT STDMETHODCALLTYPE put_text(BSTR p) override;
  HRESULT STDMETHODCALLTYPE addChild(IXMLElement *pChildElem, LONG lIndex, LONG lReserved) override;
  HRESULT STDMETHODCALLTYPE removeChild(IXMLElement *pChildElem) override;

private:
  base::ComPtr<IXMLDocument> ownerReference_;
  XMLDocument *owner_;
  xml::Element *element_;
};

class XmlCollectionObject : public com::Dispatch<IXMLElementCollection> {
public:
  XmlCollectionObject(XMLDocument *owner, xml::Element *parent);
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE put_length(LONG v) override;
  HRESULT STDMETHODCALLTYPE get_length(LONG *p) override;
  HRESULT STDMETHODCALLTYPE get__newEnum(IUnknown **ppUnk) override;
  HRESULT STDMETHODCALLTYPE item(VARIANT var1, VARIANT var2, IDispatch **ppDisp) override;

private:
  base::ComPtr<IXMLDocument> ownerReference_;
  XMLDocument *owner_;
  xml::Element *parent_;
};

} // namespace xmlcom

#endif
