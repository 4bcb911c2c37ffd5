#include "passive-lib/uikit/win32/in-place-combo-box.h"

#include <vector>

namespace uikit {

bool CInPlaceComboBox::create(DWORD style, const RECT &rect, HWND list, UINT id) {
  HWND window =
      CreateWindowExA(0, "COMBOBOX", "", style | WS_CHILD, rect.left, rect.top,
                      rect.right - rect.left, rect.bottom - rect.top, list,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  if (!window)
    return false;
  subclass(window);
  send(WM_SETFONT, static_cast<WPARAM>(SendMessageA(list, WM_GETFONT, 0, 0)), FALSE);
  SetFocus(window);
  return true;
}

bool CInPlaceComboBox::preTranslate(MSG &message) {
  if (message.hwnd != handle() || message.message != WM_KEYDOWN ||
      (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE))
    return false;
  TranslateMessage(&message);
  DispatchMessageA(&message);
  return true;
}

void CInPlaceComboBox::endChoice() {
  HWND list = GetParent(handle());
  std::string value = text();
  std::vector<char> buffer(value.begin(), value.end());
  buffer.push_back('\0');
  NMLVDISPINFOA info{};
  info.hdr.hwndFrom = list;
  info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
  info.hdr.code = LVN_ENDLABELEDITA;
  info.item.mask = LVIF_TEXT;
  info.item.iItem = row_;
  info.item.iSubItem = column_;
  info.item.pszText = buffer.data();
  info.item.cchTextMax = static_cast<int>(value.size());
  LRESULT refused =
      SendMessageA(GetParent(list), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  if (refused)
    SetFocus(handle());
  else
    DestroyWindow(handle()); // deletes this
}

bool CInPlaceComboBox::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  switch (message) {
  case WM_CHAR:
    if (wParam == VK_ESCAPE || wParam == VK_RETURN) {
      SetFocus(GetParent(handle()));
      result = 0;
      return true;
    }
    return false;
  case WM_GETDLGCODE:
    result = defaultProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
    return true;
  case WM_KILLFOCUS:
    result = defaultProc(message, wParam, lParam);
    endChoice();
    return true;
  default:
    return false;
  }
}

bool CInPlaceComboBox::onReflected(UINT message, WPARAM wParam, LPARAM, LRESULT &result) {
  if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELENDOK) {
    SetFocus(GetParent(handle()));
    result = 0;
    return true;
  }
  return false;
}

} // namespace uikit
