#include "passive-lib/uikit/win32/page-notifications.h"

namespace uikit {

void replyTip(NMHDR &header, const std::string &text) {
  if (header.code == TTN_NEEDTEXTW) {
    NMTTDISPINFOW &info = reinterpret_cast<NMTTDISPINFOW &>(header);
    const int size = static_cast<int>(sizeof info.szText / sizeof info.szText[0]);
    const int written = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, info.szText, size);
    info.szText[written > 0 ? written - 1 : 0] = L'\0';
    info.szText[size - 1] = L'\0';
    info.lpszText = info.szText;
    info.hinst = nullptr;
    return;
  }
  NMTTDISPINFOA &info = reinterpret_cast<NMTTDISPINFOA &>(header);
  lstrcpynA(info.szText, text.c_str(), static_cast<int>(sizeof info.szText));
  info.lpszText = info.szText;
  info.hinst = nullptr;
}

} // namespace uikit
