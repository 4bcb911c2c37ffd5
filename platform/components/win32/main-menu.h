// A form's main menu: the menu bar is drawn again whenever it is rebuilt.
#ifndef COMPONENTS_WIN32_MAIN_MENU_H
#define COMPONENTS_WIN32_MAIN_MENU_H

#include "platform/components/win32/menu.h"

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/base/win32/window-owners.h"

#include <windows.h>

#include <string>
#include <vector>

namespace components {

class TMainMenu : public TMenu {
public:
  explicit TMainMenu(TComponent *owner) : TMenu(owner, false) {}

protected:
  void menuRebuilt() override;
};

} // namespace components

#endif
