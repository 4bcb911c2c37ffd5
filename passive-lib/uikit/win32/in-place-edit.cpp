#include "passive-lib/uikit/win32/in-place-edit.h"

#include "passive-lib/uikit/win32/in-place-cell.h"

#include "platform/base/win32/gdi-owners.h"

#include <algorithm>

namespace uikit {

bool CInPlaceEdit::create(DWORD style, const RECT &rect, HWND list, UINT id) {
  HWND window = createCellWindow("EDIT", style, rect, list, id);
  if (!window)
    return false;
  subclass(window);
  useListFont(window, list);
  setText(initial_);
  SetFocus(window);
  selectAll();
  scrollCaret();
  return true;
}

bool CInPlaceEdit::preTranslate(MSG &message) {
  if (message.hwnd != handle() || message.message != WM_KEYDOWN)
    return false;
  bool ours = message.wParam == VK_RETURN || message.wParam == VK_DELETE ||
              message.wParam == VK_ESCAPE || (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  if (!ours)
    return false;
  TranslateMessage(&message);
  DispatchMessageA(&message);
  return true;
}

void CInPlaceEdit::widenToText() {
  HWND list = GetParent(handle());
  std::string value = text();
  base::WindowDC dc(handle());
  base::SelectedObject font(dc.get(),
                            reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc.get(), value.c_str(), static_cast<int>(value.size()), &size);
  int wanted = size.cx + 5;
  RECT edit{}, client{};
  GetWindowRect(handle(), &edit);
  MapWindowPoints(HWND_DESKTOP, list, reinterpret_cast<POINT *>(&edit), 2);
  GetClientRect(list, &client);
  if (edit.right - edit.left >= wanted)
    return;
  int right = std::min(static_cast<int>(edit.left) + wanted, static_cast<int>(client.right));
  SetWindowPos(handle(), nullptr, 0, 0, right - edit.left, edit.bottom - edit.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CInPlaceEdit::endEdit() {
  std::string value = text();
  if (reportCellEdit(GetParent(handle()), row_, column_, escaped_ ? nullptr : &value)) {
    escaped_ = false;
    SetFocus(handle());
  } else {
    DestroyWindow(handle()); // deletes this
  }
}

bool CInPlaceEdit::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  switch (message) {
  case WM_CHAR:
    if (wParam == VK_ESCAPE || wParam == VK_RETURN) {
      if (wParam == VK_ESCAPE)
        escaped_ = escapeValue_;
      SetFocus(GetParent(handle()));
      result = 0;
      return true;
    }
    result = defaultProc(message, wParam, lParam);
    widenToText();
    return true;
  case WM_GETDLGCODE:
    result = defaultProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
    return true;
  case WM_KILLFOCUS:
    result = defaultProc(message, wParam, lParam);
    endEdit();
    return true;
  default:
    return false;
  }
}

} // namespace uikit
