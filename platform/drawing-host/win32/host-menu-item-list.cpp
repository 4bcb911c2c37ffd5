// The stand-in host's MenuItemList object.
#include "platform/drawing-host/win32/host-menu-item-list.h"

#include "platform/drawing-host/win32/host-interface-table.h"
#include "platform/drawing-host/win32/host-menus.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

INTERFACE_TABLE(MenuItemList, IDrawMenuItems)

HRESULT STDMETHODCALLTYPE MenuItemList::get_Count(LONG *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<LONG>(menu_->items().size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE MenuItemList::get_Item(LONG Index, IDrawMenuItem **ppItem) {
  if (!ppItem)
    return E_POINTER;
  *ppItem = nullptr;
  if (Index < 0 || static_cast<size_t>(Index) >= menu_->items().size())
    return E_INVALIDARG;
  return interfaceOut(static_cast<IDrawMenuItem *>(menu_->items()[Index].get()), ppItem);
}

HRESULT STDMETHODCALLTYPE MenuItemList::Add(IDrawMenuItem **ppItem) {
  return AddAt(static_cast<LONG>(menu_->items().size()), ppItem);
}

HRESULT STDMETHODCALLTYPE MenuItemList::AddAt(LONG Index, IDrawMenuItem **ppItem) {
  if (!ppItem)
    return E_POINTER;
  *ppItem = nullptr;
  if (Index < 0 || static_cast<size_t>(Index) > menu_->items().size())
    return E_INVALIDARG;
  return base::guardCom(IID_IDrawMenuItems, [&] {
    return interfaceOut(static_cast<IDrawMenuItem *>(menu_->insert(Index, "", false)), ppItem);
  });
}

} // namespace drawhost
