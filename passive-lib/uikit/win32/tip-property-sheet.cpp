#include "passive-lib/uikit/win32/tip-property-sheet.h"

namespace uikit {

bool TipPropertySheet::CreateToolTips() {
  if (!toolTip_.create(handle()))
    return false;
  if (tipsActive_)
    toolTip_.activate(true);
  return AddTools();
}

bool TipPropertySheet::preTranslate(MSG &message) {
  relayToToolTip(handle(), toolTip_, tipsActive_, message);
  return CPropertySheet::preTranslate(message);
}

bool TipPropertySheet::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  switch (message) {
  case WM_HELP:
  case WM_CONTEXTMENU:
    if (HWND page = activePageHandle())
      SendMessageA(page, message, wParam, lParam);
    result = 0;
    return true;
  case WM_SHOWWINDOW:
    if (firstShow_ && wParam) {
      firstShow_ = false;
      LONG_PTR style = GetWindowLongPtrA(handle(), GWL_EXSTYLE);
      SetWindowLongPtrA(handle(), GWL_EXSTYLE, style | WS_EX_CONTEXTHELP);
      SetWindowPos(handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      CreateToolTips();
    }
    result = defaultProc(message, wParam, lParam);
    return true;
  default:
    return CPropertySheet::onMessage(message, wParam, lParam, result);
  }
}

} // namespace uikit
