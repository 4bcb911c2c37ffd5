#include "passive-lib/uikit/win32/combo-box-qor.h"

#include "passive-lib/uikit/win32/tip-reply.h"

namespace uikit {

INT_PTR CComboBoxQor::OnToolHitTest(POINT, TOOLINFOA *info) const {
  int entry = selection();
  if (entry < 0)
    return -1;
  info->hwnd = handle();
  info->uId = static_cast<UINT_PTR>(entry + 1);
  GetClientRect(handle(), &info->rect);
  info->lpszText = LPSTR_TEXTCALLBACKA;
  return entry + 1;
}

bool CComboBoxQor::onMessage(UINT message, WPARAM, LPARAM lParam, LRESULT &result) {
  if (message == WM_NOTIFY && isTipTextRequest(reinterpret_cast<NMHDR *>(lParam)) &&
      forwardTipRequest(handle(), reinterpret_cast<NMHDR *>(lParam))) {
    result = TRUE;
    return true;
  }
  return false;
}

} // namespace uikit
