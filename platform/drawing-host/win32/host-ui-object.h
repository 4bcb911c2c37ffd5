// A UI object: the menu sets add-ons copy, extend and install.
#ifndef PLATFORM_DRAWING_HOST_HOST_UI_OBJECT_H
#define PLATFORM_DRAWING_HOST_HOST_UI_OBJECT_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-menu.h"
#include "platform/drawing-host/win32/host-menu-set.h"

#include <string>
#include <vector>

namespace drawhost {

class UIObject : public com::Dispatch<IDrawUIObject> {
public:
  static const com::InterfaceEntry *interfaces();
  // A copy of the host's built-in menus: menu set 2 with "&File", "&Edit"
  // and "&Help".
  static ComPtr<UIObject> builtIn();

  HRESULT STDMETHODCALLTYPE get_MenuSets(IDrawMenuSets **ppSets) override;

  MenuSet *set(long id) const;
  // Takes the menu with that caption out of set id, if there is one.
  void removeMenu(long id, const std::string &caption);
  // The menu with that caption in set id, or null.
  Menu *menu(long id, const std::string &caption) const;

private:
  std::vector<ComPtr<MenuSet>> sets_;
};

} // namespace drawhost

#endif
