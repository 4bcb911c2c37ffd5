// The stand-in host's MenuItem object.
#include "platform/drawing-host/win32/host-menu-item.h"

#include "platform/drawing-host/win32/host-interface-table.h"
#include "platform/drawing-host/win32/host-menu-text.h"
#include "platform/drawing-host/win32/host-menus.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

INTERFACE_TABLE(MenuItem, IDrawMenuItem)

HRESULT STDMETHODCALLTYPE MenuItem::get_Caption(BSTR *p) { return textProperty(caption_, p); }

HRESULT STDMETHODCALLTYPE MenuItem::put_Caption(BSTR text) { return setText(caption_, text); }

HRESULT STDMETHODCALLTYPE MenuItem::get_MiniHelp(BSTR *p) { return textProperty(miniHelp_, p); }

HRESULT STDMETHODCALLTYPE MenuItem::put_MiniHelp(BSTR text) { return setText(miniHelp_, text); }

HRESULT STDMETHODCALLTYPE MenuItem::get_AddOnName(BSTR *p) { return textProperty(macro_, p); }

HRESULT STDMETHODCALLTYPE MenuItem::put_AddOnName(BSTR text) { return setText(macro_, text); }

HRESULT STDMETHODCALLTYPE MenuItem::get_IsSeparator(VARIANT_BOOL *pFlag) {
  if (!pFlag)
    return E_POINTER;
  *pFlag = separator_ ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE MenuItem::get_Index(LONG *pIndex) {
  if (!pIndex)
    return E_POINTER;
  *pIndex = menu_->indexOf(this);
  return S_OK;
}

} // namespace drawhost
