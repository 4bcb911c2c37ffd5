// Icons and image lists: an icon object that owns its icon handle (copied
// on Assign, destroyed once), and a list of icons picked by index.
#ifndef COMPONENTS_WIN32_ICONS_H
#define COMPONENTS_WIN32_ICONS_H

#include "platform/components/win32/icon.h"
#include "platform/components/win32/image-list.h"

#endif
