// The stand-in host's MenuSet object.
#include "platform/drawing-host/win32/host-menu-set.h"

#include "platform/drawing-host/win32/host-interface-table.h"
#include "platform/drawing-host/win32/host-menus.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

INTERFACE_TABLE(MenuSet, IDrawMenuSet)

HRESULT STDMETHODCALLTYPE MenuSet::get_Menus(IDrawMenus **ppMenus) {
  if (!ppMenus)
    return E_POINTER;
  *ppMenus = nullptr;
  return com::Object<MenuList>::create(IID_IDrawMenus, reinterpret_cast<void **>(ppMenus), menus_);
}

} // namespace drawhost
