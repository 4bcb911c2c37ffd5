// Tooltip controls made the one way the export window uses them.
#include "jpeg/win32/tooltips.h"

#include <commctrl.h>

namespace pixtune {

HWND CreateTooltips(HWND owner) {
  return CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
}

void AddTooltipControl(HWND tooltips, HWND owner, HINSTANCE instance, HWND control, UINT textId) {
  if (!tooltips || !control)
    return;
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.hinst = instance;
  tool.lpszText = MAKEINTRESOURCEA(textId);
  SendMessageA(tooltips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void AddTooltipRect(HWND tooltips, HWND owner, HINSTANCE instance, UINT_PTR id, const RECT &rect,
                    UINT textId) {
  if (!tooltips)
    return;
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = id;
  tool.rect = rect;
  tool.hinst = instance;
  tool.lpszText = MAKEINTRESOURCEA(textId);
  SendMessageA(tooltips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace pixtune
