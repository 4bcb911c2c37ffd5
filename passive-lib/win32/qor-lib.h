// QorLib: the stateless service of the component libraries. Number texts,
// the component XML between text and document, IEEE texts, item labels,
// the client site's moniker name, and the two entry points of the host's
// stencil macros (drop and properties, qor-lib-host.cpp).
#ifndef PASSIVE_LIB_QOR_LIB_H
#define PASSIVE_LIB_QOR_LIB_H

#include "QorLib01.h"

#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"
#include "platform/com/win32/support-error-info.h"
#include "platform/xml/win32/xml-guids.h"

namespace passive {

class QorLib : public com::Dispatch<IQorLib>, public com::SupportErrorInfo<&IID_IQorLib> {
public:
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE FormatValue(double Value, short Format, short Digits,
                                        VARIANT_BOOL ChangeSign, BSTR *pVal) override;
  HRESULT STDMETHODCALLTYPE BSTR2XML(BSTR XMLText, IXMLDocument **pXMLDoc) override;
  HRESULT STDMETHODCALLTYPE XML2BSTR(IXMLDocument *XMLDoc, BSTR *pXMLText) override;
  HRESULT STDMETHODCALLTYPE CompOnDrop(IDrawWindow *ActiveWnd) override;
  HRESULT STDMETHODCALLTYPE CompShowProp(IDrawWindow *ActiveWnd) override;
  HRESULT STDMETHODCALLTYPE BSTR2IEEE(BSTR HexString, double *pValue) override;
  HRESULT STDMETHODCALLTYPE IEEE2BSTR(double Value, BSTR *pHexString) override;
  HRESULT STDMETHODCALLTYPE FormatItem(IXMLElement *Item, BSTR PartID, BSTR *pVal) override;
  HRESULT STDMETHODCALLTYPE FormatSpiceItem(IXMLElement *Item, BSTR *pVal) override;
  HRESULT STDMETHODCALLTYPE ClientSiteMonikerName(IUnknown *ClientSite, ULONG WhichMoniker,
                                                  BSTR *pName) override;
};

HRESULT createQorLib(REFIID riid, void **out);

} // namespace passive

#endif
