// View and in-place interfaces of the add-on's windowless controls.
#include "platform/com/win32/control-view.h"

namespace com {

HRESULT STDMETHODCALLTYPE ControlView::Draw(DWORD, LONG, void *, DVTARGETDEVICE *, HDC, HDC,
                                            LPCRECTL, LPCRECTL,
                                            BOOL(STDMETHODCALLTYPE *)(ULONG_PTR), ULONG_PTR) {
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlView::GetColorSet(DWORD, LONG, void *, DVTARGETDEVICE *, HDC,
                                                   LOGPALETTE **ppColorSet) {
  if (ppColorSet)
    *ppColorSet = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE ControlView::Freeze(DWORD, LONG, void *, DWORD *pdwFreeze) {
  if (pdwFreeze)
    *pdwFreeze = 0;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ControlView::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE ControlView::SetAdvise(DWORD aspects, DWORD advf, IAdviseSink *pAdvSink) {
  ControlState &state = controlState();
  state.viewSink = base::ComPtr<IAdviseSink>(pAdvSink);
  state.viewAspects = aspects;
  state.viewAdviseFlags = advf;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlView::GetAdvise(DWORD *pAspects, DWORD *pAdvf,
                                                 IAdviseSink **ppAdvSink) {
  const ControlState &state = controlState();
  if (pAspects)
    *pAspects = state.viewAspects;
  if (pAdvf)
    *pAdvf = state.viewAdviseFlags;
  if (ppAdvSink)
    *ppAdvSink = base::ComPtr<IAdviseSink>(state.viewSink).detach();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlView::GetExtent(DWORD dwDrawAspect, LONG, DVTARGETDEVICE *,
                                                 LPSIZEL lpsizel) {
  if (!lpsizel)
    return E_POINTER;
  if (dwDrawAspect != DVASPECT_CONTENT)
    return DV_E_DVASPECT;
  *lpsizel = controlState().extent;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlView::GetWindow(HWND *phwnd) {
  if (!phwnd)
    return E_POINTER;
  *phwnd = nullptr;
  return E_FAIL;
}

HRESULT STDMETHODCALLTYPE ControlView::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE ControlView::InPlaceDeactivate() { return S_OK; }
HRESULT STDMETHODCALLTYPE ControlView::UIDeactivate() { return S_OK; }
HRESULT STDMETHODCALLTYPE ControlView::SetObjectRects(LPCRECT, LPCRECT) { return S_OK; }
HRESULT STDMETHODCALLTYPE ControlView::ReactivateAndUndo() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE ControlView::TranslateAccelerator(LPMSG) { return S_FALSE; }
HRESULT STDMETHODCALLTYPE ControlView::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE ControlView::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE ControlView::ResizeBorder(LPCRECT, IOleInPlaceUIWindow *, BOOL) {
  return S_OK;
}
HRESULT STDMETHODCALLTYPE ControlView::EnableModeless(BOOL) { return S_OK; }

} // namespace com
