// The stand-in host's Menu object.
#include "platform/drawing-host/win32/host-menu.h"

#include "platform/drawing-host/win32/host-interface-table.h"
#include "platform/drawing-host/win32/host-menu-text.h"
#include "platform/drawing-host/win32/host-menus.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

INTERFACE_TABLE(Menu, IDrawMenu)

MenuItem *Menu::insert(size_t index, const std::string &caption, bool separator) {
  if (index > items_.size())
    index = items_.size();
  auto item = ComPtr<MenuItem>::adopt(new com::Object<MenuItem>(this, caption, separator));
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), item);
  return item.get();
}

long Menu::indexOf(const MenuItem *item) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == item)
      return static_cast<long>(i);
  }
  return -1;
}

HRESULT STDMETHODCALLTYPE Menu::get_Caption(BSTR *p) { return textProperty(caption_, p); }

HRESULT STDMETHODCALLTYPE Menu::get_MenuItems(IDrawMenuItems **ppItems) {
  if (!ppItems)
    return E_POINTER;
  *ppItems = nullptr;
  return com::Object<MenuItemList>::create(IID_IDrawMenuItems, reinterpret_cast<void **>(ppItems),
                                           this);
}

} // namespace drawhost
