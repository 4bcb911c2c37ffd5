// IOleObject and IOleControl of the add-on's controls.
#include "platform/com/win32/ole-control-object.h"

namespace com {

HRESULT STDMETHODCALLTYPE OleControlObject::SetClientSite(IOleClientSite *pClientSite) {
  controlState().site = base::ComPtr<IOleClientSite>(pClientSite);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControlObject::GetClientSite(IOleClientSite **ppClientSite) {
  if (!ppClientSite)
    return E_POINTER;
  *ppClientSite = base::ComPtr<IOleClientSite>(controlState().site).detach();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControlObject::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

// Closing drops the view's sink; the site stays until the container
// replaces it, as it may ask for the control again.
HRESULT STDMETHODCALLTYPE OleControlObject::Close(DWORD) {
  controlState().viewSink.reset();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControlObject::SetMoniker(DWORD, IMoniker *) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE OleControlObject::GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker,
                                                       IMoniker **ppmk) {
  if (!ppmk)
    return E_POINTER;
  *ppmk = nullptr;
  if (!controlState().site)
    return E_UNEXPECTED;
  return controlState().site->GetMoniker(dwAssign, dwWhichMoniker, ppmk);
}

HRESULT STDMETHODCALLTYPE OleControlObject::InitFromData(IDataObject *, BOOL, DWORD) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE OleControlObject::GetClipboardData(DWORD, IDataObject **ppDataObject) {
  if (ppDataObject)
    *ppDataObject = nullptr;
  return E_NOTIMPL;
}

// The control has no window and no verbs of its own: showing and
// activating it succeed without anything to do.
HRESULT STDMETHODCALLTYPE OleControlObject::DoVerb(LONG iVerb, LPMSG, IOleClientSite *, LONG, HWND,
                                                   LPCRECT) {
  switch (iVerb) {
  case OLEIVERB_PRIMARY:
  case OLEIVERB_SHOW:
  case OLEIVERB_INPLACEACTIVATE:
  case OLEIVERB_UIACTIVATE:
  case OLEIVERB_HIDE:
    return S_OK;
  default:
    return OLEOBJ_S_INVALIDVERB;
  }
}

HRESULT STDMETHODCALLTYPE OleControlObject::EnumVerbs(IEnumOLEVERB **ppEnumOleVerb) {
  if (!ppEnumOleVerb)
    return E_POINTER;
  *ppEnumOleVerb = nullptr;
  return OLEOBJ_E_NOVERBS;
}

HRESULT STDMETHODCALLTYPE OleControlObject::Update() { return S_OK; }
HRESULT STDMETHODCALLTYPE OleControlObject::IsUpToDate() { return S_OK; }

HRESULT STDMETHODCALLTYPE OleControlObject::GetUserClassID(CLSID *pClsid) {
  if (!pClsid)
    return E_POINTER;
  *pClsid = controlClassId();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControlObject::GetUserType(DWORD, LPOLESTR *pszUserType) {
  if (!pszUserType)
    return E_POINTER;
  *pszUserType = nullptr;
  return OLE_S_USEREG;
}

HRESULT STDMETHODCALLTYPE OleControlObject::SetExtent(DWORD dwDrawAspect, SIZEL *psizel) {
  if (!psizel)
    return E_POINTER;
  if (dwDrawAspect != DVASPECT_CONTENT)
    return DV_E_DVASPECT;
  SIZEL &extent = controlState().extent;
  if (extent.cx != psizel->cx || extent.cy != psizel->cy) {
    extent = *psizel;
    controlState().requiresSave = true;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControlObject::GetExtent(DWORD dwDrawAspect, SIZEL *psizel) {
  if (!psizel)
    return E_POINTER;
  if (dwDrawAspect != DVASPECT_CONTENT)
    return DV_E_DVASPECT;
  *psizel = controlState().extent;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControlObject::Advise(IAdviseSink *, DWORD *pdwConnection) {
  if (pdwConnection)
    *pdwConnection = 0;
  return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE OleControlObject::Unadvise(DWORD) { return OLE_E_NOCONNECTION; }

HRESULT STDMETHODCALLTYPE OleControlObject::EnumAdvise(IEnumSTATDATA **ppenumAdvise) {
  if (ppenumAdvise)
    *ppenumAdvise = nullptr;
  return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE OleControlObject::GetMiscStatus(DWORD, DWORD *pdwStatus) {
  if (!pdwStatus)
    return E_POINTER;
  *pdwStatus = controlMiscStatus();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControlObject::SetColorScheme(LOGPALETTE *) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE OleControlObject::GetControlInfo(CONTROLINFO *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE OleControlObject::OnMnemonic(MSG *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE OleControlObject::OnAmbientPropertyChange(DISPID) { return S_OK; }
HRESULT STDMETHODCALLTYPE OleControlObject::FreezeEvents(BOOL) { return S_OK; }

} // namespace com
