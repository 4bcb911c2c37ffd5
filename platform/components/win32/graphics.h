// Fonts and canvases: what forms measure text with and what windowless
// controls paint on.
#ifndef COMPONENTS_WIN32_GRAPHICS_H
#define COMPONENTS_WIN32_GRAPHICS_H

#include "platform/components/win32/colors.h"
#include "platform/components/win32/font.h"
#include "platform/components/win32/canvas.h"

#endif
