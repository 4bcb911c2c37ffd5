#include "passive-lib/uikit/win32/in-place-combo-box.h"

#include "passive-lib/uikit/win32/in-place-cell.h"

namespace uikit {

bool CInPlaceComboBox::create(DWORD style, const RECT &rect, HWND list, UINT id) {
  HWND window = createCellWindow("COMBOBOX", style, rect, list, id);
  if (!window)
    return false;
  subclass(window);
  useListFont(window, list);
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
  std::string value = text();
  if (reportCellEdit(GetParent(handle()), row_, column_, &value))
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
