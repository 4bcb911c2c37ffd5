// The XML document object: the root element, and loading and saving the
// text through IPersistStreamInit on any stream (the add-on uses memory
// streams).
#include "platform/xml/win32/xml-objects.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

#include <string>

namespace xmlcom {
namespace {

// The platform's document class, whose place this object takes.
const CLSID XmlDocumentClass = {
    0xcfc399af, 0xd876, 0x11d0, {0x9c, 0x10, 0x00, 0xc0, 0x4f, 0xc9, 0x9c, 0x8e}};

// Component texts are a few kilobytes; anything past this is not one.
const size_t MaxDocumentBytes = 16 * 1024 * 1024;

// Error info whose description says where the text broke and why.
void setParseErrorInfo(const std::string &description) {
  base::ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.receive())))
    return;
  create->SetGUID(IID_IPersistStreamInit);
  base::Bstr text(description);
  create->SetDescription(text.get());
  SetErrorInfo(0, create.query<IErrorInfo>().get());
}

} // namespace

HRESULT createXmlDocument(REFIID riid, void **out) {
  return com::Object<XMLDocument>::create(riid, out);
}

const com::InterfaceEntry *XMLDocument::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IXMLDocument, com::interfaceOffset<XMLDocument, IXMLDocument>()},
      {&IID_IDispatch, com::interfaceOffset<XMLDocument, IXMLDocument>()},
      {&IID_IPersistStreamInit, com::interfaceOffset<XMLDocument, IPersistStreamInit>()},
      {&IID_IPersist, com::interfaceOffset<XMLDocument, IPersistStreamInit>()},
      {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE XMLDocument::get_root(IXMLElement **p) {
  if (!p)
    return E_POINTER;
  *p = nullptr;
  if (!document_.root())
    return S_FALSE;
  return XmlElementObject::wrap(this, document_.root(), IID_IXMLElement,
                                reinterpret_cast<void **>(p));
}

namespace {

// Answers "not implemented" with the out-parameter cleared, as callers that
// free it unconditionally expect.
HRESULT noText(BSTR *p) {
  if (p)
    *p = nullptr;
  return E_NOTIMPL;
}

} // namespace

// Properties of documents fetched from a URL: ours come from streams only.
HRESULT STDMETHODCALLTYPE XMLDocument::get_fileSize(BSTR *p) { return noText(p); }
HRESULT STDMETHODCALLTYPE XMLDocument::get_fileModifiedDate(BSTR *p) { return noText(p); }
HRESULT STDMETHODCALLTYPE XMLDocument::get_fileUpdatedDate(BSTR *p) { return noText(p); }
HRESULT STDMETHODCALLTYPE XMLDocument::get_URL(BSTR *p) { return noText(p); }
HRESULT STDMETHODCALLTYPE XMLDocument::put_URL(BSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE XMLDocument::get_mimeType(BSTR *p) { return noText(p); }
HRESULT STDMETHODCALLTYPE XMLDocument::get_readyState(LONG *pl) {
  if (!pl)
    return E_POINTER;
  *pl = 4; // loading is synchronous: always complete
  return S_OK;
}
HRESULT STDMETHODCALLTYPE XMLDocument::get_charset(BSTR *p) { return noText(p); }
HRESULT STDMETHODCALLTYPE XMLDocument::put_charset(BSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE XMLDocument::get_version(BSTR *p) { return noText(p); }
HRESULT STDMETHODCALLTYPE XMLDocument::get_doctype(BSTR *p) { return noText(p); }
HRESULT STDMETHODCALLTYPE XMLDocument::get_dtdURL(BSTR *p) { return noText(p); }
HRESULT STDMETHODCALLTYPE XMLDocument::createElement(VARIANT, VARIANT, IXMLElement **ppElem) {
  if (ppElem)
    *ppElem = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE XMLDocument::GetClassID(CLSID *pClassID) {
  if (!pClassID)
    return E_POINTER;
  *pClassID = XmlDocumentClass;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE XMLDocument::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

// Reads the stream from its position to its end and parses the text. A
// text that does not parse leaves the document as it was and answers
// E_FAIL with error info giving the line, column and what was expected.
HRESULT STDMETHODCALLTYPE XMLDocument::Load(LPSTREAM pStm) {
  if (!pStm)
    return E_POINTER;
  return base::guardCom(IID_IPersistStreamInit, [&]() -> HRESULT {
    std::string text;
    char buffer[4096];
    for (;;) {
      ULONG got = 0;
      HRESULT hr = pStm->Read(buffer, sizeof buffer, &got);
      if (FAILED(hr))
        return hr;
      if (got == 0)
        break;
      if (text.size() + got > MaxDocumentBytes)
        return E_OUTOFMEMORY;
      text.append(buffer, got);
    }
    xml::Document loaded;
    xml::ParseError error;
    // The semiconductor model libraries give some attributes twice; their
    // readers walk every attribute in order, so the document keeps both.
    xml::ParseOptions options;
    options.repeatedAttributes = true;
    if (!loaded.load(text, error, options)) {
      setParseErrorInfo(error.describe());
      return E_FAIL;
    }
    retired_.push_back(std::move(document_));
    document_ = std::move(loaded);
    dirty_ = false;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE XMLDocument::Save(LPSTREAM pStm, BOOL fClearDirty) {
  if (!pStm)
    return E_POINTER;
  return base::guardCom(IID_IPersistStreamInit, [&]() -> HRESULT {
    std::string text = document_.save();
    ULONG written = 0;
    HRESULT hr = pStm->Write(text.data(), static_cast<ULONG>(text.size()), &written);
    if (FAILED(hr))
      return hr;
    if (written != text.size())
      return STG_E_MEDIUMFULL;
    if (fClearDirty)
      dirty_ = false;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE XMLDocument::GetSizeMax(ULARGE_INTEGER *pcbSize) {
  if (!pcbSize)
    return E_POINTER;
  return base::guardCom(IID_IPersistStreamInit, [&]() -> HRESULT {
    pcbSize->QuadPart = document_.save().size();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE XMLDocument::InitNew() {
  return base::guardCom(IID_IPersistStreamInit, [&]() -> HRESULT {
    retired_.push_back(std::move(document_));
    document_ = xml::Document();
    dirty_ = false;
    return S_OK;
  });
}

} // namespace xmlcom
