// The add-on's menu items and the macros the host runs for them.
#include "circuit-sim/win32/host-menus.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/com-ptr.h"

#include <string>

namespace qorsim {

namespace {

using base::ComPtr;

const long MenuSetId = 2;

struct ItemText {
  const char *caption, *help, *macro;
};

const ItemText HelpItem = {"Net&weave Help", "Display Help contents for Netweave.",
                           "call shell(\"winhlp32 Netweave\", vbNormalFocus)"};
const ItemText AboutItem = {"A&bout Netweave",
                            "Displays Netweave program information and copyright.",
                            "call CreateObject(\"QOR.SimRoot\").ShowHelpAbout()"};
const ItemText NetlistItem = {"Save SP&ICE Netlist...",
                              "Save SPICE netlist from Netweave schematic.",
                              "call CreateObject(\"QOR.SimRoot\").CreateNetlist(ActivePage)"};

std::string caption(IDrawMenu *menu) {
  base::Bstr text;
  base::check(menu->get_Caption(text.receive()), IID_IDrawMenu);
  return text.toAnsi();
}

// The last menu of that caption, or null.
ComPtr<IDrawMenuItems> itemsOfMenu(IDrawMenus *menus, const char *wanted) {
  LONG count = 0;
  base::check(menus->get_Count(&count), IID_IDrawMenus);
  for (LONG i = count - 1; i >= 0; --i) {
    ComPtr<IDrawMenu> menu;
    base::check(menus->get_Item(i, menu.receive()), IID_IDrawMenus);
    if (menu && caption(menu.get()) == wanted) {
      ComPtr<IDrawMenuItems> items;
      base::check(menu->get_MenuItems(items.receive()), IID_IDrawMenu);
      return items;
    }
  }
  return ComPtr<IDrawMenuItems>();
}

void fill(IDrawMenuItem *item, const ItemText &text) {
  base::check(
      base::checkPointer(item, IID_IDrawMenuItems)->put_Caption(base::Bstr(text.caption).get()),
      IID_IDrawMenuItem);
  base::check(item->put_MiniHelp(base::Bstr(text.help).get()), IID_IDrawMenuItem);
  base::check(item->put_AddOnName(base::Bstr(text.macro).get()), IID_IDrawMenuItem);
}

// The index of the last item, not a separator, whose caption holds
// "Save &As", or else "&Save"; -1 when there is none.
long saveItemIndex(IDrawMenuItems *items) {
  LONG count = 0;
  base::check(items->get_Count(&count), IID_IDrawMenuItems);
  for (LONG i = count - 1; i >= 0; --i) {
    ComPtr<IDrawMenuItem> item;
    base::check(items->get_Item(i, item.receive()), IID_IDrawMenuItems);
    VARIANT_BOOL separator = VARIANT_FALSE;
    base::check(base::checkPointer(item.get(), IID_IDrawMenuItems)->get_IsSeparator(&separator),
                IID_IDrawMenuItem);
    if (separator)
      continue;
    base::Bstr text;
    base::check(item->get_Caption(text.receive()), IID_IDrawMenuItem);
    const std::string itemCaption = text.toAnsi();
    if (itemCaption.find("Save &As") != std::string::npos ||
        itemCaption.find("&Save") != std::string::npos) {
      LONG index = i;
      base::check(item->get_Index(&index), IID_IDrawMenuItem);
      return index;
    }
  }
  return -1;
}

} // namespace

void installMenus(IDrawDocument *document) {
  ComPtr<IDrawApplication> application;
  base::check(document->get_Application(application.receive()), IID_IDrawDocument);
  ComPtr<IDrawUIObject> menusObject;
  base::check(base::checkPointer(application.get(), IID_IDrawDocument)
                  ->get_BuiltInMenus(menusObject.receive()),
              IID_IDrawApplication);
  ComPtr<IDrawMenuSets> sets;
  base::check(
      base::checkPointer(menusObject.get(), IID_IDrawApplication)->get_MenuSets(sets.receive()),
      IID_IDrawUIObject);
  ComPtr<IDrawMenuSet> set;
  base::check(
      base::checkPointer(sets.get(), IID_IDrawUIObject)->get_ItemAtID(MenuSetId, set.receive()),
      IID_IDrawMenuSets);
  ComPtr<IDrawMenus> menus;
  base::check(base::checkPointer(set.get(), IID_IDrawMenuSets)->get_Menus(menus.receive()),
              IID_IDrawMenuSet);
  base::checkPointer(menus.get(), IID_IDrawMenuSet);

  if (ComPtr<IDrawMenuItems> help = itemsOfMenu(menus.get(), "&Help")) {
    ComPtr<IDrawMenuItem> item;
    base::check(help->AddAt(1, item.receive()), IID_IDrawMenuItems);
    fill(item.get(), HelpItem);
    base::check(help->Add(item.receive()), IID_IDrawMenuItems);
    fill(item.get(), AboutItem);
  }
  ComPtr<IDrawMenuItems> file = itemsOfMenu(menus.get(), "&File");
  if (!file)
    return;
  const long save = saveItemIndex(file.get());
  if (save < 0)
    return;
  ComPtr<IDrawMenuItem> item;
  base::check(file->AddAt(save + 1, item.receive()), IID_IDrawMenuItems);
  fill(item.get(), NetlistItem);
  base::check(document->putref_CustomMenus(menusObject.get()), IID_IDrawDocument);
}

} // namespace qorsim
