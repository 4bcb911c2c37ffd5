// The export window's tooltips: one control per window, owned by it, each
// tool's text a string resource of the module.
#ifndef JPEG_WIN32_TOOLTIPS_H
#define JPEG_WIN32_TOOLTIPS_H

#include <windows.h>

namespace pixtune {

HWND CreateTooltips(HWND owner);
// A tool for a control of owner, identified by its window handle.
void AddTooltipControl(HWND tooltips, HWND owner, HINSTANCE instance, HWND control, UINT textId);
// A tool for a rectangle of owner's client area.
void AddTooltipRect(HWND tooltips, HWND owner, HINSTANCE instance, UINT_PTR id, const RECT &rect,
                    UINT textId);

} // namespace pixtune

#endif
