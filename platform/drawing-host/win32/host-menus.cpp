// Menus, layers and the active window of the stand-in host.
#include "platform/drawing-host/win32/host-menus.h"

#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"

#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

#define INTERFACE_TABLE(Class, Interface)                                                          \
  const com::InterfaceEntry *Class::interfaces() {                                                 \
    static const com::InterfaceEntry table[] = {                                                   \
        {&IID_##Interface, com::interfaceOffset<Class, Interface>()},                              \
        {&IID_IDispatch, com::interfaceOffset<Class, Interface>()},                                \
        {nullptr, 0}};                                                                             \
    return table;                                                                                  \
  }

INTERFACE_TABLE(MenuItem, IDrawMenuItem)
INTERFACE_TABLE(Menu, IDrawMenu)
INTERFACE_TABLE(MenuItemList, IDrawMenuItems)
INTERFACE_TABLE(MenuList, IDrawMenus)
INTERFACE_TABLE(MenuSet, IDrawMenuSet)
INTERFACE_TABLE(UIObject, IDrawUIObject)
INTERFACE_TABLE(MenuSetList, IDrawMenuSets)
INTERFACE_TABLE(Layer, IDrawLayer)
INTERFACE_TABLE(LayerList, IDrawLayers)
INTERFACE_TABLE(Window, IDrawWindow)

// ---- menu items ------------------------------------------------------------

namespace {

HRESULT textProperty(const std::string &value, BSTR *out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  return base::guardCom(IID_IDrawMenuItem, [&] { return textOut(value, out); });
}

HRESULT setText(std::string &value, BSTR text) {
  return base::guardCom(IID_IDrawMenuItem, [&]() -> HRESULT {
    value = base::Bstr::toAnsiText(text);
    return S_OK;
  });
}

} // namespace

HRESULT STDMETHODCALLTYPE MenuItem::get_Caption(BSTR *p) { return textProperty(caption_, p); }
HRESULT STDMETHODCALLTYPE MenuItem::put_Caption(BSTR text) { return setText(caption_, text); }
HRESULT STDMETHODCALLTYPE MenuItem::get_MiniHelp(BSTR *p) { return textProperty(miniHelp_, p); }
HRESULT STDMETHODCALLTYPE MenuItem::put_MiniHelp(BSTR text) { return setText(miniHelp_, text); }
HRESULT STDMETHODCALLTYPE MenuItem::get_AddOnName(BSTR *p) { return textProperty(macro_, p); }
HRESULT STDMETHODCALLTYPE MenuItem::put_AddOnName(BSTR text) { return setText(macro_, text); }

HRESULT STDMETHODCALLTYPE MenuItem::get_IsSeparator(VARIANT_BOOL *pFlag) {
  if (!pFlag)
    return E_POINTER;
  *pFlag = separator_ ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE MenuItem::get_Index(LONG *pIndex) {
  if (!pIndex)
    return E_POINTER;
  *pIndex = menu_->indexOf(this);
  return S_OK;
}

// ---- menus -------------------------------------------------------------------

MenuItem *Menu::insert(size_t index, const std::string &caption, bool separator) {
  if (index > items_.size())
    index = items_.size();
  auto item = ComPtr<MenuItem>::adopt(new com::Object<MenuItem>(this, caption, separator));
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), item);
  return item.get();
}

long Menu::indexOf(const MenuItem *item) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == item)
      return static_cast<long>(i);
  }
  return -1;
}

HRESULT STDMETHODCALLTYPE Menu::get_Caption(BSTR *p) { return textProperty(caption_, p); }

HRESULT STDMETHODCALLTYPE Menu::get_MenuItems(IDrawMenuItems **ppItems) {
  if (!ppItems)
    return E_POINTER;
  *ppItems = nullptr;
  return com::Object<MenuItemList>::create(IID_IDrawMenuItems, reinterpret_cast<void **>(ppItems),
                                           this);
}

HRESULT STDMETHODCALLTYPE MenuItemList::get_Count(LONG *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<LONG>(menu_->items().size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE MenuItemList::get_Item(LONG Index, IDrawMenuItem **ppItem) {
  if (!ppItem)
    return E_POINTER;
  *ppItem = nullptr;
  if (Index < 0 || static_cast<size_t>(Index) >= menu_->items().size())
    return E_INVALIDARG;
  return interfaceOut(static_cast<IDrawMenuItem *>(menu_->items()[Index].get()), ppItem);
}

HRESULT STDMETHODCALLTYPE MenuItemList::Add(IDrawMenuItem **ppItem) {
  return AddAt(static_cast<LONG>(menu_->items().size()), ppItem);
}

HRESULT STDMETHODCALLTYPE MenuItemList::AddAt(LONG Index, IDrawMenuItem **ppItem) {
  if (!ppItem)
    return E_POINTER;
  *ppItem = nullptr;
  if (Index < 0 || static_cast<size_t>(Index) > menu_->items().size())
    return E_INVALIDARG;
  return base::guardCom(IID_IDrawMenuItems, [&] {
    return interfaceOut(static_cast<IDrawMenuItem *>(menu_->insert(Index, "", false)), ppItem);
  });
}

HRESULT STDMETHODCALLTYPE MenuList::get_Count(LONG *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<LONG>(menus_.size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE MenuList::get_Item(LONG Index, IDrawMenu **ppMenu) {
  if (!ppMenu)
    return E_POINTER;
  *ppMenu = nullptr;
  if (Index < 0 || static_cast<size_t>(Index) >= menus_.size())
    return E_INVALIDARG;
  return interfaceOut(static_cast<IDrawMenu *>(menus_[Index].get()), ppMenu);
}

HRESULT STDMETHODCALLTYPE MenuSet::get_Menus(IDrawMenus **ppMenus) {
  if (!ppMenus)
    return E_POINTER;
  *ppMenus = nullptr;
  return com::Object<MenuList>::create(IID_IDrawMenus, reinterpret_cast<void **>(ppMenus), menus_);
}

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

HRESULT STDMETHODCALLTYPE MenuSetList::get_ItemAtID(LONG ID, IDrawMenuSet **ppSet) {
  if (!ppSet)
    return E_POINTER;
  *ppSet = nullptr;
  MenuSet *found = owner_->set(ID);
  if (!found)
    return DrawHostNoSuchItem;
  return interfaceOut(static_cast<IDrawMenuSet *>(found), ppSet);
}

// ---- layers --------------------------------------------------------------------

// Layer cells live in the page sheet's layer section, one row per layer.
const short SectionLayers = 6;

HRESULT STDMETHODCALLTYPE Layer::get_Index(short *pIndex) {
  if (!pIndex)
    return E_POINTER;
  *pIndex = index_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Layer::get_Name(BSTR *pName) {
  if (!pName)
    return E_POINTER;
  *pName = nullptr;
  return base::guardCom(IID_IDrawLayer, [&] { return textOut(name_, pName); });
}

HRESULT STDMETHODCALLTYPE Layer::get_CellsC(short Column, IDrawCell **ppCell) {
  if (!ppCell)
    return E_POINTER;
  *ppCell = nullptr;
  if (page_->deleted())
    return DrawHostObjectDeleted;
  return base::guardCom(IID_IDrawLayer, [&]() -> HRESULT {
    Cell *cell =
        page_->sheet()->cellAt(SectionLayers, static_cast<short>(index_ - 1), Column, true);
    return interfaceOut(static_cast<IDrawCell *>(cell), ppCell);
  });
}

HRESULT STDMETHODCALLTYPE LayerList::get_Count(short *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<short>(page_->layerNames().size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE LayerList::get_Item(VARIANT IndexOrName, IDrawLayer **ppLayer) {
  if (!ppLayer)
    return E_POINTER;
  *ppLayer = nullptr;
  return base::guardCom(IID_IDrawLayers, [&]() -> HRESULT {
    const std::vector<std::string> &names = page_->layerNames();
    size_t index = names.size();
    if (V_VT(&IndexOrName) == VT_BSTR) {
      std::string name = base::Bstr::toAnsiText(V_BSTR(&IndexOrName));
      for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name)
          index = i;
      }
      if (index == names.size())
        return DrawHostNoSuchItem;
    } else {
      base::Variant number;
      if (FAILED(VariantChangeType(number.get(), &IndexOrName, 0, VT_I4)))
        return E_INVALIDARG;
      LONG i = V_I4(number.get());
      if (i < 1 || static_cast<size_t>(i) > names.size())
        return E_INVALIDARG;
      index = static_cast<size_t>(i - 1);
    }
    return com::Object<Layer>::create(IID_IDrawLayer, reinterpret_cast<void **>(ppLayer),
                                      page_.get(), static_cast<short>(index + 1), names[index]);
  });
}

HRESULT STDMETHODCALLTYPE LayerList::Add(BSTR Name, IDrawLayer **ppLayer) {
  if (!ppLayer)
    return E_POINTER;
  *ppLayer = nullptr;
  if (page_->deleted())
    return DrawHostObjectDeleted;
  return base::guardCom(IID_IDrawLayers, [&]() -> HRESULT {
    std::string name = base::Bstr::toAnsiText(Name);
    short index = page_->addLayer(name);
    return com::Object<Layer>::create(IID_IDrawLayer, reinterpret_cast<void **>(ppLayer),
                                      page_.get(), index, name);
  });
}

// ---- window ------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE Window::get_Selection(IDrawSelection **ppSelection) {
  if (!ppSelection)
    return E_POINTER;
  *ppSelection = nullptr;
  return com::Object<Selection>::create(IID_IDrawSelection, reinterpret_cast<void **>(ppSelection),
                                        selection_, page_.get());
}

HRESULT STDMETHODCALLTYPE Window::get_Page(IDrawPage **ppPage) {
  if (!ppPage)
    return E_POINTER;
  return interfaceOut(static_cast<IDrawPage *>(page_.get()), ppPage);
}

} // namespace drawhost
