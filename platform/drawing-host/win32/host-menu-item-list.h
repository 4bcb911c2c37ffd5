// The items of a menu.
#ifndef PLATFORM_DRAWING_HOST_HOST_MENU_ITEM_LIST_H
#define PLATFORM_DRAWING_HOST_HOST_MENU_ITEM_LIST_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-menu.h"

#include <string>
#include <vector>

namespace drawhost {

class MenuItemList : public com::Dispatch<IDrawMenuItems> {
public:
  explicit MenuItemList(Menu *menu) : menu_(menu) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(LONG *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(LONG Index, IDrawMenuItem **ppItem) override;
  HRESULT STDMETHODCALLTYPE Add(IDrawMenuItem **ppItem) override;
  HRESULT STDMETHODCALLTYPE AddAt(LONG Index, IDrawMenuItem **ppItem) override;

private:
  ComPtr<Menu> menu_;
};

} // namespace drawhost

#endif
