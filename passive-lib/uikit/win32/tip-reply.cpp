#include "passive-lib/uikit/win32/tip-reply.h"

#include <algorithm>
#include <cstring>

namespace uikit {

bool isTipTextRequest(const NMHDR *header) {
  return header && (header->code == TTN_NEEDTEXTA || header->code == TTN_NEEDTEXTW);
}

void setTipReply(NMHDR *request, const std::string &text) {
  if (request->code == TTN_NEEDTEXTA) {
    auto *info = reinterpret_cast<NMTTDISPINFOA *>(request);
    std::size_t room = sizeof info->szText - 1;
    std::size_t length = std::min(text.size(), room);
    std::memcpy(info->szText, text.data(), length);
    info->szText[length] = '\0';
    info->lpszText = info->szText;
    info->hinst = nullptr;
  } else if (request->code == TTN_NEEDTEXTW) {
    auto *info = reinterpret_cast<NMTTDISPINFOW *>(request);
    int room = static_cast<int>(sizeof info->szText / sizeof info->szText[0]) - 1;
    int length = std::min(static_cast<int>(text.size()), room);
    int written =
        length ? MultiByteToWideChar(CP_ACP, 0, text.data(), length, info->szText, room) : 0;
    info->szText[written > 0 ? written : 0] = L'\0';
    info->lpszText = info->szText;
    info->hinst = nullptr;
  }
}

void setTipReply(NMHDR *request, const ConstantTip &text) {
  if (request->code == TTN_NEEDTEXTA) {
    auto *info = reinterpret_cast<NMTTDISPINFOA *>(request);
    info->lpszText = const_cast<char *>(text.ansi);
    info->hinst = nullptr;
  } else if (request->code == TTN_NEEDTEXTW) {
    auto *info = reinterpret_cast<NMTTDISPINFOW *>(request);
    info->lpszText = const_cast<wchar_t *>(text.wide);
    info->hinst = nullptr;
  }
}

const ConstantTip FormatTips[5] = {
    CONSTANT_TIP("\"General\" creates fixed or floating-point format to present the value in the "
                 "shortest space"),
    CONSTANT_TIP("\"Scientific\" creates floating-point format"),
    CONSTANT_TIP("\"Engineering\" creates floating-point format with exponents that are a multiple "
                 "of three"),
    CONSTANT_TIP("\"Metric\" is similar to \"Engineering\" format with suffix substitutions for "
                 "common exponents"),
    CONSTANT_TIP("\"SPICE\" is similar to \"Metric\" format using uppercase letters and 'MEG'")};

LPARAM tipRequestCode(const NMHDR *request) {
  if (request->code == TTN_NEEDTEXTW)
    return reinterpret_cast<const NMTTDISPINFOW *>(request)->lParam;
  return reinterpret_cast<const NMTTDISPINFOA *>(request)->lParam;
}

bool forwardTipRequest(HWND control, NMHDR *request) {
  if (request->idFrom == 0)
    return false;
  LPARAM code = static_cast<LPARAM>(request->idFrom - 1);
  if (request->code == TTN_NEEDTEXTW)
    reinterpret_cast<NMTTDISPINFOW *>(request)->lParam = code;
  else
    reinterpret_cast<NMTTDISPINFOA *>(request)->lParam = code;
  request->hwndFrom = control;
  request->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
  SendMessageA(GetParent(control), WM_NOTIFY, request->idFrom, reinterpret_cast<LPARAM>(request));
  return true;
}

} // namespace uikit
