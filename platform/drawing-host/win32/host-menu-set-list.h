// The menu sets of a UI object.
#ifndef PLATFORM_DRAWING_HOST_HOST_MENU_SET_LIST_H
#define PLATFORM_DRAWING_HOST_HOST_MENU_SET_LIST_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-ui-object.h"

#include <string>
#include <vector>

namespace drawhost {

class MenuSetList : public com::Dispatch<IDrawMenuSets> {
public:
  explicit MenuSetList(UIObject *owner) : owner_(owner) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_ItemAtID(LONG ID, IDrawMenuSet **ppSet) override;

private:
  ComPtr<UIObject> owner_;
};

} // namespace drawhost

#endif
