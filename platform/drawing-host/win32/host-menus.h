// Menus, layers and windows of the stand-in host: the built-in menu set
// (identifier 2) that add-ons copy, extend and install as a document's
// custom menus; a page's layers; the active window with its page and
// selection.
#ifndef PLATFORM_DRAWING_HOST_HOST_MENUS_H
#define PLATFORM_DRAWING_HOST_HOST_MENUS_H

#include "platform/drawing-host/win32/host-objects.h"
#include "platform/drawing-host/win32/host-menu-item.h"
#include "platform/drawing-host/win32/host-menu.h"
#include "platform/drawing-host/win32/host-menu-item-list.h"
#include "platform/drawing-host/win32/host-menu-list.h"
#include "platform/drawing-host/win32/host-menu-set.h"
#include "platform/drawing-host/win32/host-ui-object.h"
#include "platform/drawing-host/win32/host-menu-set-list.h"
#include "platform/drawing-host/win32/host-layer.h"
#include "platform/drawing-host/win32/host-layer-list.h"
#include "platform/drawing-host/win32/host-window.h"

#endif
