// The stand-in host's MenuSetList object.
#include "platform/drawing-host/win32/host-menu-set-list.h"

#include "platform/drawing-host/win32/host-interface-table.h"
#include "platform/drawing-host/win32/host-menus.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

INTERFACE_TABLE(MenuSetList, IDrawMenuSets)

HRESULT STDMETHODCALLTYPE MenuSetList::get_ItemAtID(LONG ID, IDrawMenuSet **ppSet) {
  if (!ppSet)
    return E_POINTER;
  *ppSet = nullptr;
  MenuSet *found = owner_->set(ID);
  if (!found)
    return DrawHostNoSuchItem;
  return interfaceOut(static_cast<IDrawMenuSet *>(found), ppSet);
}

} // namespace drawhost
