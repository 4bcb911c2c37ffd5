#include "passive-lib/uikit/win32/in-place-cell.h"

#include <commctrl.h>

#include <vector>

namespace uikit {

HWND createCellWindow(const char *className, DWORD style, const RECT &rect, HWND list, UINT id) {
  return CreateWindowExA(0, className, "", style | WS_CHILD, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, list,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

void useListFont(HWND window, HWND list) {
  SendMessageA(window, WM_SETFONT, static_cast<WPARAM>(SendMessageA(list, WM_GETFONT, 0, 0)),
               FALSE);
}

bool reportCellEdit(HWND list, int row, int column, const std::string *text) {
  std::vector<char> buffer;
  if (text)
    buffer.assign(text->begin(), text->end());
  buffer.push_back('\0');
  NMLVDISPINFOA info{};
  info.hdr.hwndFrom = list;
  info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
  info.hdr.code = LVN_ENDLABELEDITA;
  info.item.mask = LVIF_TEXT;
  info.item.iItem = row;
  info.item.iSubItem = column;
  info.item.pszText = text ? buffer.data() : nullptr;
  info.item.cchTextMax = text ? static_cast<int>(text->size()) : 0;
  return SendMessageA(GetParent(list), WM_NOTIFY, info.hdr.idFrom,
                      reinterpret_cast<LPARAM>(&info)) != 0;
}

} // namespace uikit
