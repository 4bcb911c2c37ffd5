#include "platform/components/win32/menu.h"

#include "platform/components/win32/menu-item.h"

#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"

#include <algorithm>

namespace components {

TMenu::TMenu(TComponent *owner, bool popup) : TComponent(owner), popup_(popup) {
  items_ = new TMenuItem(this);
  items_->rootOf_ = this;
}

TMenu::~TMenu() {
  items_->rootOf_ = nullptr;
  menu_.reset();
}

HMENU TMenu::Handle() {
  if (!menu_)
    rebuild();
  return menu_.get();
}

void TMenu::rebuild() {
  if (Destroying() || (Owner() && Owner()->Destroying()))
    return;
  base::MenuHandle fresh(popup_ ? CreatePopupMenu() : CreateMenu());
  items_->build(fresh.get());
  base::MenuHandle old(menu_.release());
  menu_ = std::move(fresh);
  menuRebuilt();
}

TMenuItem *TMenu::findSubmenu(TMenuItem &item, HMENU submenu) {
  for (TMenuItem *child : item.items_) {
    if (child->submenu_ == submenu)
      return child;
    if (TMenuItem *found = findSubmenu(*child, submenu))
      return found;
  }
  return nullptr;
}

void TMenu::initPopup(HMENU submenu) {
  if (TMenuItem *item = findSubmenu(*items_, submenu))
    item->Click();
}

} // namespace components
