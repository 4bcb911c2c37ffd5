#include "passive-lib/uikit/win32/list-ctrl-ex.h"

#include "passive-lib/uikit/win32/tip-reply.h"

#include <algorithm>

namespace uikit {

bool CListCtrlEx::cellInView(int row, int column, RECT &bounds, int &left, RECT &client) {
  if (row < 0 || row >= itemCount() || !ensureVisible(row))
    return false;
  if (column < 0 || column >= columnCount() || columnWidth(column) < 5)
    return false;
  if (!itemRect(row, bounds, LVIR_BOUNDS))
    return false;
  int offset = 0;
  for (int before = 0; before < column; ++before)
    offset += columnWidth(before);
  GetClientRect(handle(), &client);
  const int shift = bounds.left + offset;
  if (shift < 0 || shift > client.right) {
    // The list stops at its last column: the row is read again rather
    // than moved by the amount asked, so the editor lands on the cell.
    scroll(shift, 0);
    if (!itemRect(row, bounds, LVIR_BOUNDS))
      return false;
  }
  left = bounds.left + offset;
  return true;
}

CInPlaceEdit *CListCtrlEx::EditSubLabel(int row, int column, bool escapeCancels) {
  RECT bounds{}, client{};
  int left = 0;
  if (!cellInView(row, column, bounds, left, client))
    return nullptr;
  DWORD alignment = ES_LEFT;
  switch (columnFormat(column)) {
  case LVCFMT_RIGHT:
    alignment = ES_RIGHT;
    break;
  case LVCFMT_CENTER:
    alignment = ES_CENTER;
    break;
  default:
    break;
  }
  RECT rect{left + 4, bounds.top, std::min(left + columnWidth(column), int(client.right)),
            bounds.bottom};
  auto *edit = new CInPlaceEdit(row, column, itemText(row, column), escapeCancels);
  if (!edit->create(WS_BORDER | WS_VISIBLE | ES_AUTOHSCROLL | alignment, rect, handle(),
                    EditorId)) {
    delete edit;
    return nullptr;
  }
  return edit;
}

CInPlaceComboBox *CListCtrlEx::ComboSubLabel(int row, int column) {
  RECT bounds{}, client{};
  int cell = 0;
  if (!cellInView(row, column, bounds, cell, client))
    return nullptr;
  const int left = cell + 2;
  // The field covers the cell; the drop-down part needs the room below.
  RECT rect{left, bounds.top - 2,
            std::min(left - 2 + columnWidth(column), static_cast<int>(client.right)),
            bounds.bottom + 118};
  auto *combo = new CInPlaceComboBox(row, column);
  if (!combo->create(WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, rect, handle(),
                     EditorId)) {
    delete combo;
    return nullptr;
  }
  combo->send(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), bounds.bottom - bounds.top - 1);
  return combo;
}

int CListCtrlEx::HitTestEx(POINT point, RECT *cell, int *column) const {
  LVHITTESTINFO hit{};
  hit.pt = point;
  int row = static_cast<int>(send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  *column = -1;
  if (row < 0)
    return -1;
  RECT bounds{};
  itemRect(row, bounds, LVIR_BOUNDS);
  // Full-row selection reports every part of the row; the check box is
  // the state icon left of the item's icon.
  RECT icon{};
  itemRect(row, icon, LVIR_ICON);
  if ((hit.flags & LVHT_ONITEMSTATEICON) && point.x < icon.left) {
    *cell = bounds;
    return row;
  }
  if (!(hit.flags & (LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON)))
    return -1; // the icon alone
  RECT client{};
  GetClientRect(handle(), &client);
  int left = bounds.left;
  for (int index = 0, count = columnCount(); index < count; ++index) {
    int width = columnWidth(index);
    if (point.x >= left && point.x <= left + width) {
      *column = index;
      *cell = RECT{left, bounds.top, std::min(left + width, int(client.right)), bounds.bottom};
      return row;
    }
    left += width;
  }
  *cell = bounds;
  return row;
}

INT_PTR CListCtrlEx::OnToolHitTest(POINT point, TOOLINFOA *info) const {
  RECT cell{};
  int column = -1;
  int row = HitTestEx(point, &cell, &column);
  if (row == -1)
    return -1;
  int code = row * 256 + (column == -1 ? CheckBoxColumn : column);
  info->hwnd = handle();
  info->uId = static_cast<UINT_PTR>(code + 1);
  info->rect = cell;
  info->lpszText = LPSTR_TEXTCALLBACKA;
  return code + 1;
}

bool CListCtrlEx::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  switch (message) {
  case WM_HSCROLL:
  case WM_VSCROLL:
    if (GetFocus() != handle())
      SetFocus(handle());
    result = defaultProc(message, wParam, lParam);
    return true;
  case WM_NOTIFY: {
    auto *header = reinterpret_cast<NMHDR *>(lParam);
    if (isTipTextRequest(header) && header->hwndFrom != this->header() &&
        forwardTipRequest(handle(), header)) {
      result = TRUE;
      return true;
    }
    return false;
  }
  default:
    return false;
  }
}

} // namespace uikit
