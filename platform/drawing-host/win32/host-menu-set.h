// One menu set of a UI object.
#ifndef PLATFORM_DRAWING_HOST_HOST_MENU_SET_H
#define PLATFORM_DRAWING_HOST_HOST_MENU_SET_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-menu.h"

#include <string>
#include <vector>

namespace drawhost {

class MenuSet : public com::Dispatch<IDrawMenuSet> {
public:
  explicit MenuSet(long id) : id_(id) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Menus(IDrawMenus **ppMenus) override;

  long id() const { return id_; }
  std::vector<ComPtr<Menu>> &menus() { return menus_; }

private:
  long id_;
  std::vector<ComPtr<Menu>> menus_;
};

} // namespace drawhost

#endif
