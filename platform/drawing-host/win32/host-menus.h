// Menus, layers and windows of the stand-in host: the built-in menu set
// (identifier 2) that add-ons copy, extend and install as a document's
// custom menus; a page's layers; the active window with its page and
// selection.
#ifndef PLATFORM_DRAWING_HOST_HOST_MENUS_H
#define PLATFORM_DRAWING_HOST_HOST_MENUS_H

#include "platform/drawing-host/win32/host-objects.h"

#include <string>
#include <vector>

namespace drawhost {

class Menu;

class MenuItem : public com::Dispatch<IDrawMenuItem> {
public:
  MenuItem(Menu *menu, std::string caption, bool separator)
      : menu_(menu), caption_(std::move(caption)), separator_(separator) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_Caption(BSTR *pCaption) override;
  HRESULT STDMETHODCALLTYPE put_Caption(BSTR Caption) override;
  HRESULT STDMETHODCALLTYPE get_MiniHelp(BSTR *pHelp) override;
  HRESULT STDMETHODCALLTYPE put_MiniHelp(BSTR Help) override;
  HRESULT STDMETHODCALLTYPE get_AddOnName(BSTR *pMacro) override;
  HRESULT STDMETHODCALLTYPE put_AddOnName(BSTR Macro) override;
  HRESULT STDMETHODCALLTYPE get_IsSeparator(VARIANT_BOOL *pFlag) override;
  HRESULT STDMETHODCALLTYPE get_Index(LONG *pIndex) override;

  const std::string &caption() const { return caption_; }
  const std::string &miniHelp() const { return miniHelp_; }
  const std::string &macro() const { return macro_; }

private:
  Menu *menu_;
  std::string caption_, miniHelp_, macro_;
  bool separator_;
};

class Menu : public com::Dispatch<IDrawMenu> {
public:
  explicit Menu(std::string caption) : caption_(std::move(caption)) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_Caption(BSTR *pCaption) override;
  HRESULT STDMETHODCALLTYPE get_MenuItems(IDrawMenuItems **ppItems) override;

  const std::string &caption() const { return caption_; }
  std::vector<ComPtr<MenuItem>> &items() { return items_; }
  MenuItem *insert(size_t index, const std::string &caption, bool separator);
  long indexOf(const MenuItem *item) const;

private:
  std::string caption_;
  std::vector<ComPtr<MenuItem>> items_;
};

class MenuItemList : public com::Dispatch<IDrawMenuItems> {
public:
  explicit MenuItemList(Menu *menu) : menu_(menu) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(LONG *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(LONG Index, IDrawMenuItem **ppItem) override;
  HRESULT STDMETHODCALLTYPE Add(IDrawMenuItem **ppItem) override;
  HRESULT STDMETHODCALLTYPE AddAt(LONG Index, IDrawMenuItem **ppItem) override;

private:
  ComPtr<Menu> menu_;
};

class MenuList : public com::Dispatch<IDrawMenus> {
public:
  explicit MenuList(std::vector<ComPtr<Menu>> menus) : menus_(std::move(menus)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(LONG *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(LONG Index, IDrawMenu **ppMenu) override;

private:
  std::vector<ComPtr<Menu>> menus_;
};

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

class MenuSetList : public com::Dispatch<IDrawMenuSets> {
public:
  explicit MenuSetList(UIObject *owner) : owner_(owner) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_ItemAtID(LONG ID, IDrawMenuSet **ppSet) override;

private:
  ComPtr<UIObject> owner_;
};

class Layer : public com::Dispatch<IDrawLayer> {
public:
  Layer(Page *page, short index, std::string name)
      : page_(page), index_(index), name_(std::move(name)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Index(short *pIndex) override;
  HRESULT STDMETHODCALLTYPE get_Name(BSTR *pName) override;
  HRESULT STDMETHODCALLTYPE get_CellsC(short Column, IDrawCell **ppCell) override;
  const std::string &name() const { return name_; }

private:
  ComPtr<Page> page_;
  short index_; // 1-based
  std::string name_;
};

class LayerList : public com::Dispatch<IDrawLayers> {
public:
  explicit LayerList(Page *page) : page_(page) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT IndexOrName, IDrawLayer **ppLayer) override;
  HRESULT STDMETHODCALLTYPE Add(BSTR Name, IDrawLayer **ppLayer) override;

private:
  ComPtr<Page> page_;
};

class Window : public com::Dispatch<IDrawWindow> {
public:
  Window(Page *page, std::vector<ComPtr<Shape>> selection)
      : page_(page), selection_(std::move(selection)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Selection(IDrawSelection **ppSelection) override;
  HRESULT STDMETHODCALLTYPE get_Page(IDrawPage **ppPage) override;

private:
  ComPtr<Page> page_;
  std::vector<ComPtr<Shape>> selection_;
};

} // namespace drawhost

#endif
