// The menus of a menu set.
#ifndef PLATFORM_DRAWING_HOST_HOST_MENU_LIST_H
#define PLATFORM_DRAWING_HOST_HOST_MENU_LIST_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-menu.h"

#include <string>
#include <vector>

namespace drawhost {

class MenuList : public com::Dispatch<IDrawMenus> {
public:
  explicit MenuList(std::vector<ComPtr<Menu>> menus) : menus_(std::move(menus)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(LONG *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(LONG Index, IDrawMenu **ppMenu) override;

private:
  std::vector<ComPtr<Menu>> menus_;
};

} // namespace drawhost

#endif
