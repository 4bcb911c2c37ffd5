// The stand-in host's MenuList object.
#include "platform/drawing-host/win32/host-menu-list.h"

#include "platform/drawing-host/win32/host-interface-table.h"
#include "platform/drawing-host/win32/host-menus.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

INTERFACE_TABLE(MenuList, IDrawMenus)

HRESULT STDMETHODCALLTYPE MenuList::get_Count(LONG *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<LONG>(menus_.size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE MenuList::get_Item(LONG Index, IDrawMenu **ppMenu) {
  if (!ppMenu)
    return E_POINTER;
  *ppMenu = nullptr;
  if (Index < 0 || static_cast<size_t>(Index) >= menus_.size())
    return E_INVALIDARG;
  return interfaceOut(static_cast<IDrawMenu *>(menus_[Index].get()), ppMenu);
}

} // namespace drawhost
