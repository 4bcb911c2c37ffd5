// A menu item: a caption, check and enabled state, a command number unique in
// the process (the window that receives the command clicks the item through
// the application), and the items of its sub-menu.
#ifndef COMPONENTS_WIN32_MENU_ITEM_H
#define COMPONENTS_WIN32_MENU_ITEM_H

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/base/win32/window-owners.h"

#include <windows.h>

#include <string>
#include <vector>

namespace components {

class TMenu;

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent *owner);
  ~TMenuItem() override;

  const std::string &Caption() const { return caption_; }
  void SetCaption(const std::string &caption);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int context) { helpContext_ = context; }

  void Add(TMenuItem *item);
  void Remove(TMenuItem *item);
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem *Items(int index) const { return items_.at(index); }
  TMenuItem *Parent() const { return parent_; }
  int MenuIndex() const;

  // Fires OnClick; also when the item's sub-menu opens.
  virtual void Click();
  TNotifyEvent OnClick;

private:
  friend class TMenu;
  TMenu *menu() const;
  void build(HMENU into);
  void updateState();

  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  int tag_ = 0;
  int helpContext_ = 0;
  TMenuItem *parent_ = nullptr;
  TMenu *rootOf_ = nullptr; // set on the root item of a menu
  std::vector<TMenuItem *> items_;
  UINT command_ = 0;
  HMENU container_ = nullptr; // the platform menu that holds this item
  HMENU submenu_ = nullptr;   // the platform menu of this item's items
};

} // namespace components

#endif
