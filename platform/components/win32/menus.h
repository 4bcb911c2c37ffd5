// Main and pop-up menus: a tree of items built into platform menus. Each
// item has a command number unique in the process; the window that
// receives the command clicks the item through the application.
#ifndef COMPONENTS_WIN32_MENUS_H
#define COMPONENTS_WIN32_MENUS_H

#include "platform/components/win32/menu-item.h"
#include "platform/components/win32/menu.h"
#include "platform/components/win32/main-menu.h"
#include "platform/components/win32/popup-menu.h"

#endif
