// Controls: the visual component base (TControl), windowed controls that
// own a window (TWinControl) and windowless controls that their parent
// paints and feeds with mouse input (TGraphicControl). Every window of the
// library runs through one window procedure that hands exceptions to the
// application's handler, so none unwinds through the platform.
#ifndef COMPONENTS_WIN32_CONTROLS_H
#define COMPONENTS_WIN32_CONTROLS_H

#include "platform/components/win32/control.h"
#include "platform/components/win32/win-control.h"
#include "platform/components/win32/graphic-control.h"

#endif
