// The stand-in host's UIObject object.
#include "platform/drawing-host/win32/host-ui-object.h"

#include "platform/drawing-host/win32/host-interface-table.h"
#include "platform/drawing-host/win32/host-menus.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

INTERFACE_TABLE(UIObject, IDrawUIObject)

ComPtr<UIObject> UIObject::builtIn() {
  auto ui = ComPtr<UIObject>::adopt(new com::Object<UIObject>());
  auto set = ComPtr<MenuSet>::adopt(new com::Object<MenuSet>(2));
  struct {
    const char *menu;
    std::vector<const char *> items; // null: a separator
  } layout[] = {
      {"&File", {"&New", "&Open...", "&Close", nullptr, "&Save", "Save &As...", nullptr, "E&xit"}},
      {"&Edit", {"&Undo", nullptr, "Cu&t", "&Copy", "&Paste"}},
      {"&Help", {"&Contents", nullptr, "&About"}},
  };
  for (const auto &entry : layout) {
    auto menu = ComPtr<Menu>::adopt(new com::Object<Menu>(entry.menu));
    for (const char *item : entry.items)
      menu->insert(menu->items().size(), item ? item : "", item == nullptr);
    set->menus().push_back(menu);
  }
  ui->sets_.push_back(set);
  return ui;
}

MenuSet *UIObject::set(long id) const {
  for (const ComPtr<MenuSet> &set : sets_) {
    if (set->id() == id)
      return set.get();
  }
  return nullptr;
}

void UIObject::removeMenu(long id, const std::string &caption) {
  MenuSet *found = set(id);
  if (!found)
    return;
  auto &menus = found->menus();
  for (auto it = menus.begin(); it != menus.end(); ++it) {
    if ((*it)->caption() == caption) {
      menus.erase(it);
      return;
    }
  }
}

Menu *UIObject::menu(long id, const std::string &caption) const {
  MenuSet *found = set(id);
  if (!found)
    return nullptr;
  for (const ComPtr<Menu> &menu : found->menus()) {
    if (menu->caption() == caption)
      return menu.get();
  }
  return nullptr;
}

HRESULT STDMETHODCALLTYPE UIObject::get_MenuSets(IDrawMenuSets **ppSets) {
  if (!ppSets)
    return E_POINTER;
  *ppSets = nullptr;
  return com::Object<MenuSetList>::create(IID_IDrawMenuSets, reinterpret_cast<void **>(ppSets),
                                          this);
}

} // namespace drawhost
