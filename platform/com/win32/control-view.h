// The view and in-place side of a windowless ActiveX control that paints
// nothing: everything it shows are the host's own shapes and cells. The
// container's advise sink is kept; drawing succeeds without painting.
#ifndef PLATFORM_COM_CONTROL_VIEW_H
#define PLATFORM_COM_CONTROL_VIEW_H

#include "platform/com/win32/control-state.h"

#include <ocidl.h>

namespace com {

class ControlView : public IViewObject2, public IOleInPlaceObject, public IOleInPlaceActiveObject {
public:
  virtual ~ControlView() = default;

  // IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD, LONG, void *, DVTARGETDEVICE *, HDC, HDC, LPCRECTL,
                                 LPCRECTL, BOOL(STDMETHODCALLTYPE *)(ULONG_PTR),
                                 ULONG_PTR) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void *, DVTARGETDEVICE *, HDC,
                                        LOGPALETTE **ppColorSet) override;
  HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void *, DWORD *pdwFreeze) override;
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override;
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD advf, IAdviseSink *pAdvSink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD *pAspects, DWORD *pAdvf,
                                      IAdviseSink **ppAdvSink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, LONG, DVTARGETDEVICE *,
                                      LPSIZEL lpsizel) override;

  // IOleWindow (both in-place interfaces)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND *phwnd) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override;

  // IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT, LPCRECT) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;

  // IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG) override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override;
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override;
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow *, BOOL) override;
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override;

protected:
  virtual ControlState &controlState() = 0;
};

} // namespace com

#endif
