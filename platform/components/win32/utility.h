// Non-visual helpers over hidden windows: the utility window that receives
// private messages for a component (sockets, tray icon, timers), and the
// timer component.
#ifndef COMPONENTS_WIN32_UTILITY_H
#define COMPONENTS_WIN32_UTILITY_H

#include "platform/components/win32/utility-window.h"
#include "platform/components/win32/timer.h"

#endif
