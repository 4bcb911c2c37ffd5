// The embedding side of an ActiveX control as a container sees it
// (IOleObject and IOleControl): it keeps its client site and extent, and
// answers what a windowless control without verbs or advises answers. A
// control overrides GetControlInfo when the call means more to it.
#ifndef PLATFORM_COM_OLE_CONTROL_OBJECT_H
#define PLATFORM_COM_OLE_CONTROL_OBJECT_H

#include "platform/com/win32/control-state.h"

#include <ocidl.h>
#include <olectl.h>

namespace com {

class OleControlObject : public IOleObject, public IOleControl {
public:
  virtual ~OleControlObject() = default;

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite *pClientSite) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite **ppClientSite) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD dwSaveOption) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker *) override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker,
                                       IMoniker **ppmk) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject *, BOOL, DWORD) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject **ppDataObject) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG iVerb, LPMSG, IOleClientSite *, LONG, HWND,
                                   LPCRECT) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB **ppEnumOleVerb) override;
  HRESULT STDMETHODCALLTYPE Update() override;
  HRESULT STDMETHODCALLTYPE IsUpToDate() override;
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID *pClsid) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR *pszUserType) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD dwDrawAspect, SIZEL *psizel) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, SIZEL *psizel) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink *, DWORD *pdwConnection) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA **ppenumAdvise) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD dwAspect, DWORD *pdwStatus) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE *) override;

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO *pCI) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG *) override;
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override;

protected:
  virtual ControlState &controlState() = 0;
  virtual const CLSID &controlClassId() const = 0;
  // What GetMiscStatus answers; the class's registered MiscStatus.
  virtual DWORD controlMiscStatus() const { return ControlMiscStatus; }
};

} // namespace com

#endif
