// A report-style list whose cells are edited in place and carry tool tips.
// EditSubLabel opens a CInPlaceEdit over a cell, ComboSubLabel a
// CInPlaceComboBox; HitTestEx names the row
// and column under a point; the tool of a cell is (row × 256) + column + 1,
// with column 255 for the row's check box, and its text is asked from the
// list's parent (TTN_NEEDTEXT with the cell code in the parameter).
// Scrolling first takes the focus, which ends an open editor.
#ifndef PASSIVE_LIB_UIKIT_LIST_CTRL_EX_H
#define PASSIVE_LIB_UIKIT_LIST_CTRL_EX_H

#include "passive-lib/uikit/win32/in-place-combo-box.h"
#include "passive-lib/uikit/win32/in-place-edit.h"

#include "platform/dialogs/win32/list-view.h"

namespace uikit {

class CListCtrlEx : public dialogs::ListView {
public:
  static const UINT EditorId = 200;
  static const int CheckBoxColumn = 255;

  // The editor over (row, column), or null when the row cannot be made
  // visible, the column does not exist or is narrower than 5 pixels.
  CInPlaceEdit *EditSubLabel(int row, int column, bool escapeCancels);
  // An empty drop-down list over (row, column), with room below the cell
  // for its entries; the caller fills it. Null on the same conditions as
  // EditSubLabel. A column scrolled out of view is scrolled in first.
  CInPlaceComboBox *ComboSubLabel(int row, int column);
  // The row under point (-1: none); cell receives the cell's rectangle and
  // column its index (-1 on the check box or beside every column).
  int HitTestEx(POINT point, RECT *cell, int *column) const;

  INT_PTR OnToolHitTest(POINT point, TOOLINFOA *info) const override;

protected:
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

private:
  // Brings the cell into view: false on the conditions the editors give
  // null for. bounds receives the row as it now stands, left the cell's
  // left edge and client the list's client area.
  bool cellInView(int row, int column, RECT &bounds, int &left, RECT &client);
};

} // namespace uikit

#endif
