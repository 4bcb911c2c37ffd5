// A menu: the tree of items under its root item, built into a platform menu
// again whenever items are added or removed.
#ifndef COMPONENTS_WIN32_MENU_H
#define COMPONENTS_WIN32_MENU_H

#include "platform/components/win32/menu-item.h"

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/base/win32/window-owners.h"

#include <windows.h>

#include <string>
#include <vector>

namespace components {

class TMenu : public TComponent {
public:
  explicit TMenu(TComponent *owner, bool popup);
  ~TMenu() override;
  TMenuItem &Items() { return *items_; }
  HMENU Handle();
  // Fires OnClick of the item whose sub-menu the platform is opening.
  void initPopup(HMENU submenu);

protected:
  virtual void menuRebuilt() {}

private:
  friend class TMenuItem;
  void rebuild();
  TMenuItem *findSubmenu(TMenuItem &item, HMENU submenu);

  bool popup_;
  TMenuItem *items_;
  base::MenuHandle menu_;
};

} // namespace components

#endif
