// The QorLib service's texts and XML conversions. The number rules live in
// the platform-free core; here they meet BSTRs and XML elements.
#include "passive-lib/win32/qor-lib.h"

#include "passive-lib/core/item-format.h"
#include "passive-lib/core/value-format.h"
#include "passive-lib/win32/xml-access.h"
#include "passive-lib/win32/xml-text.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/xml/win32/xml-objects.h"

#include <vector>

namespace passive {
namespace {

HRESULT returnText(const std::string &text, BSTR *out) {
  BSTR result = nullptr;
  try {
    result = base::Bstr(text).detach();
  } catch (const base::ComError &error) {
    return error.hr();
  }
  if (!result)
    return E_OUTOFMEMORY;
  *out = result;
  return S_OK;
}

HRESULT itemResult(ItemStatus status, const std::string &text, BSTR *out) {
  switch (status) {
  case ItemStatus::Ok:
    return returnText(text, out);
  case ItemStatus::NoPartId:
    return E_POINTER;
  case ItemStatus::InvalidArgument:
    break;
  }
  return E_INVALIDARG;
}

} // namespace

const com::InterfaceEntry *QorLib::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IQorLib, com::interfaceOffset<QorLib, IQorLib>()},
      {&IID_IDispatch, com::interfaceOffset<QorLib, IQorLib>()},
      {&IID_ISupportErrorInfo, com::interfaceOffset<QorLib, ISupportErrorInfo>()},
      {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE QorLib::FormatValue(double Value, short Format, short Digits,
                                              VARIANT_BOOL ChangeSign, BSTR *pVal) {
  if (!pVal)
    return E_POINTER;
  *pVal = nullptr;
  std::string text;
  if (!formatValue(Value, Format, Digits, ChangeSign != VARIANT_FALSE, text))
    return E_INVALIDARG;
  return returnText(text, pVal);
}

HRESULT STDMETHODCALLTYPE QorLib::BSTR2XML(BSTR XMLText, IXMLDocument **pXMLDoc) {
  if (!XMLText || !pXMLDoc)
    return E_POINTER;
  *pXMLDoc = nullptr;
  return base::guardCom(IID_IQorLib, [&]() -> HRESULT {
    base::ComPtr<IPersistStreamInit> persist;
    base::check(xmlcom::createXmlDocument(IID_IPersistStreamInit, persist.receiveVoid()));
    const std::string bytes = xmlBytesOfText(XMLText, SysStringLen(XMLText));
    base::ComPtr<IStream> stream;
    base::check(CreateStreamOnHGlobal(nullptr, TRUE, stream.receive()));
    ULONG written = 0;
    base::check(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written));
    LARGE_INTEGER start = {};
    base::check(stream->Seek(start, STREAM_SEEK_SET, nullptr));
    base::check(persist->Load(stream.get()));
    return persist->QueryInterface(IID_IXMLDocument, reinterpret_cast<void **>(pXMLDoc));
  });
}

HRESULT STDMETHODCALLTYPE QorLib::XML2BSTR(IXMLDocument *XMLDoc, BSTR *pXMLText) {
  if (!XMLDoc || !pXMLText)
    return E_POINTER;
  *pXMLText = nullptr;
  return base::guardCom(IID_IQorLib, [&]() -> HRESULT {
    base::ComPtr<IPersistStreamInit> persist;
    base::check(XMLDoc->QueryInterface(IID_IPersistStreamInit, persist.receiveVoid()));
    base::ComPtr<IStream> stream;
    base::check(CreateStreamOnHGlobal(nullptr, TRUE, stream.receive()));
    base::check(persist->Save(stream.get(), FALSE));
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER size = {};
    base::check(stream->Seek(zero, STREAM_SEEK_CUR, &size));
    base::check(stream->Seek(zero, STREAM_SEEK_SET, nullptr));
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    ULONG read = 0;
    if (!bytes.empty())
      base::check(stream->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read));
    bytes.resize(read);
    const std::wstring text = textOfXmlBytes(bytes);
    BSTR result = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!result)
      return E_OUTOFMEMORY;
    *pXMLText = result;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE QorLib::BSTR2IEEE(BSTR HexString, double *pValue) {
  if (!HexString || !pValue)
    return E_POINTER;
  *pValue = 0.0;
  // Wide characters beyond ASCII can never be hexadecimal digits.
  std::string text;
  for (UINT i = 0; i < SysStringLen(HexString); ++i) {
    const wchar_t c = HexString[i];
    text += c < 0x80 && c != 0 ? static_cast<char>(c) : '?';
  }
  return parseIeeeText(text, *pValue) ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE QorLib::IEEE2BSTR(double Value, BSTR *pHexString) {
  if (!pHexString)
    return E_POINTER;
  *pHexString = nullptr;
  return returnText(ieeeText(Value), pHexString);
}

HRESULT STDMETHODCALLTYPE QorLib::FormatItem(IXMLElement *Item, BSTR PartID, BSTR *pVal) {
  if (!Item || !pVal)
    return E_POINTER;
  *pVal = nullptr;
  return base::guardCom(IID_IQorLib, [&]() -> HRESULT {
    std::string partId;
    if (PartID)
      partId = base::Bstr::toAnsiText(PartID);
    std::string text;
    const ItemStatus status = formatItem(ElementItem(Item), PartID ? &partId : nullptr, text);
    return itemResult(status, text, pVal);
  });
}

HRESULT STDMETHODCALLTYPE QorLib::FormatSpiceItem(IXMLElement *Item, BSTR *pVal) {
  if (!Item || !pVal)
    return E_POINTER;
  *pVal = nullptr;
  return base::guardCom(IID_IQorLib, [&]() -> HRESULT {
    std::string text;
    const ItemStatus status = formatSpiceItem(ElementItem(Item), text);
    return itemResult(status, text, pVal);
  });
}

HRESULT STDMETHODCALLTYPE QorLib::ClientSiteMonikerName(IUnknown *ClientSite, ULONG WhichMoniker,
                                                        BSTR *pName) {
  if (!pName)
    return E_POINTER;
  *pName = nullptr;
  if (WhichMoniker < OLEWHICHMK_CONTAINER || WhichMoniker > OLEWHICHMK_OBJFULL || !ClientSite)
    return E_INVALIDARG;
  base::ComPtr<IOleClientSite> site;
  if (FAILED(ClientSite->QueryInterface(IID_IOleClientSite, site.receiveVoid())) || !site)
    return E_INVALIDARG;
  base::ComPtr<IMoniker> moniker;
  if (FAILED(site->GetMoniker(OLEGETMONIKER_TEMPFORUSER, WhichMoniker, moniker.receive())) ||
      !moniker)
    return E_FAIL;
  base::ComPtr<IBindCtx> context;
  if (FAILED(CreateBindCtx(0, context.receive())))
    return E_FAIL;
  LPOLESTR name = nullptr;
  if (FAILED(moniker->GetDisplayName(context.get(), nullptr, &name)) || !name)
    return E_FAIL;
  *pName = SysAllocString(name);
  CoTaskMemFree(name);
  return *pName ? S_OK : E_OUTOFMEMORY;
}

HRESULT createQorLib(REFIID riid, void **out) { return com::Object<QorLib>::create(riid, out); }

} // namespace passive
