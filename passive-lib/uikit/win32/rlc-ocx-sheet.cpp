#include "passive-lib/uikit/win32/rlc-ocx-sheet.h"

#include "platform/dialogs/win32/tool-tip.h"

namespace uikit {

BOOL CRLCOcxSheet::OnInitDialog() {
  BOOL result = TipPropertySheet::OnInitDialog();
  if (HMENU menu = GetSystemMenu(handle(), FALSE)) {
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, VersionCommand, "&Version...");
  }
  return result;
}

INT_PTR CRLCOcxSheet::OnToolHitTest(POINT point, TOOLINFOA *info) const {
  POINT screen = point;
  ClientToScreen(handle(), &screen);
  LRESULT hit = send(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  const char *tip = nullptr;
  int place = 0;
  if (hit == HTCLOSE) {
    tip = "Close";
    place = 1;
  } else if (hit == HTHELP) {
    tip = "Help";
    place = 2;
  } else {
    return -1;
  }
  RECT client{};
  GetClientRect(handle(), &client);
  int width = GetSystemMetrics(SM_CXSIZE);
  info->lpszText = dialogs::copyToolText(tip);
  info->hwnd = handle();
  info->uId = static_cast<UINT_PTR>(hit);
  info->rect.left = client.right - place * width;
  info->rect.right = info->rect.left + width - 1;
  info->rect.top = 1 - GetSystemMetrics(SM_CYSIZE);
  info->rect.bottom = -2;
  return static_cast<INT_PTR>(hit);
}

} // namespace uikit
