// A list-view control in report view: columns, rows, cell texts, check
// boxes (state images 1 and 2), selection and geometry, in ANSI text.
#ifndef PLATFORM_DIALOGS_LIST_VIEW_H
#define PLATFORM_DIALOGS_LIST_VIEW_H

#include "platform/dialogs/win32/window.h"

#include <string>

namespace dialogs {

class ListView : public Window {
public:
  int itemCount() const { return static_cast<int>(send(LVM_GETITEMCOUNT)); }
  int columnCount() const;
  int insertColumn(int column, const std::string &heading, int width, int format = LVCFMT_LEFT);
  int columnWidth(int column) const {
    return static_cast<int>(send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
  }
  void setColumnWidth(int column, int width) const {
    send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
  }
  // The column's format bits (LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER).
  int columnFormat(int column) const;
  int insertItem(int row, const std::string &text);
  bool setItemText(int row, int column, const std::string &text) const;
  std::string itemText(int row, int column) const;
  bool deleteAllItems() const { return send(LVM_DELETEALLITEMS) != 0; }
  void setExtendedStyle(DWORD style) const { send(LVM_SETEXTENDEDLISTVIEWSTYLE, style, style); }
  void setBackground(COLORREF colour) const {
    send(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(colour));
    send(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(colour));
  }
  bool checked(int row) const;
  void setChecked(int row, bool on) const;
  UINT itemState(int row, UINT mask) const {
    return static_cast<UINT>(send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask));
  }
  void setItemState(int row, UINT state, UINT mask) const;
  // The first selected row, -1 when none.
  int selectedRow() const {
    return static_cast<int>(send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  bool ensureVisible(int row) const {
    return send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE) != 0;
  }
  // The row's rectangle of the given part (LVIR_BOUNDS, LVIR_LABEL, ...).
  bool itemRect(int row, RECT &rect, int part) const;
  bool scroll(int dx, int dy) const { return send(LVM_SCROLL, static_cast<WPARAM>(dx), dy) != 0; }
  HWND header() const { return reinterpret_cast<HWND>(send(LVM_GETHEADER)); }
  HFONT font() const { return reinterpret_cast<HFONT>(send(WM_GETFONT)); }
};

} // namespace dialogs

#endif
