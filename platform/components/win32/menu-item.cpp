// Menus: the item tree is built into platform menus again whenever items
// are added or removed; state changes of an item go to the platform menu
// in place, so that a handler may change items while its menu is open.
#include "platform/components/win32/menu-item.h"

#include "platform/components/win32/menu.h"

#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"

#include <algorithm>

namespace components {

TMenuItem::TMenuItem(TComponent *owner) : TComponent(owner) {
  command_ = Application->registerMenuItem(this);
}

TMenuItem::~TMenuItem() {
  Application->unregisterMenuItem(command_);
  for (TMenuItem *item : items_)
    item->parent_ = nullptr;
  items_.clear();
  if (parent_)
    parent_->Remove(this);
}

TMenu *TMenuItem::menu() const {
  const TMenuItem *item = this;
  while (item->parent_)
    item = item->parent_;
  return item->rootOf_;
}

void TMenuItem::Add(TMenuItem *item) {
  if (item->parent_)
    item->parent_->Remove(item);
  item->parent_ = this;
  items_.push_back(item);
  if (TMenu *root = menu())
    root->rebuild();
}

void TMenuItem::Remove(TMenuItem *item) {
  auto found = std::find(items_.begin(), items_.end(), item);
  if (found == items_.end())
    return;
  items_.erase(found);
  item->parent_ = nullptr;
  item->container_ = nullptr;
  if (TMenu *root = menu())
    root->rebuild();
}

int TMenuItem::MenuIndex() const {
  if (!parent_)
    return -1;
  auto found = std::find(parent_->items_.begin(), parent_->items_.end(), this);
  return static_cast<int>(found - parent_->items_.begin());
}

void TMenuItem::SetCaption(const std::string &caption) {
  caption_ = caption;
  updateState();
}

void TMenuItem::SetChecked(bool checked) {
  checked_ = checked;
  updateState();
}

void TMenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  updateState();
}

void TMenuItem::Click() { OnClick(this); }

void TMenuItem::updateState() {
  if (!container_)
    return;
  UINT position = static_cast<UINT>(MenuIndex());
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  if (caption_ != "-") {
    info.fMask |= MIIM_STRING;
    info.dwTypeData = const_cast<char *>(caption_.c_str());
  }
  info.fState = (checked_ ? MFS_CHECKED : MFS_UNCHECKED) | (enabled_ ? MFS_ENABLED : MFS_GRAYED);
  SetMenuItemInfoA(container_, position, TRUE, &info);
  if (TMenu *root = menu())
    root->menuRebuilt();
}

void TMenuItem::build(HMENU into) {
  for (TMenuItem *item : items_) {
    item->container_ = into;
    item->submenu_ = nullptr;
    if (item->caption_ == "-") {
      AppendMenuA(into, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->checked_ ? MF_CHECKED : 0u) | (item->enabled_ ? 0u : MF_GRAYED);
    if (item->items_.empty()) {
      AppendMenuA(into, flags, item->command_, item->caption_.c_str());
      continue;
    }
    // Once appended, the sub-menu belongs to the menu it is in and goes
    // with it; until then it is ours.
    base::MenuHandle submenu(CreatePopupMenu());
    item->build(submenu.get());
    if (!AppendMenuA(into, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.get()),
                     item->caption_.c_str()))
      continue;
    item->submenu_ = submenu.release();
  }
}

} // namespace components
