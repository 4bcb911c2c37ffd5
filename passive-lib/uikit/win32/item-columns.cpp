#include "passive-lib/uikit/win32/item-columns.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace uikit {
namespace {

// Room the header and the cells keep around their text, in pixels. Sizing
// to the header alone (LVSCW_AUTOSIZE_USEHEADER) cuts the texts under
// Wine's default font: it leaves out the check box in front of a row's
// name, and on the last column it fills the rest instead of fitting.
const int HeaderMargin = 16;
const int CellMargin = 14;

int textWidth(const dialogs::ListView &list, const std::string &text) {
  return static_cast<int>(
      list.send(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

std::string headingOf(const dialogs::ListView &list, int column) {
  char text[64] = {};
  LVCOLUMNA info = {};
  info.mask = LVCF_TEXT;
  info.pszText = text;
  info.cchTextMax = sizeof text;
  list.send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
  return text;
}

// The width of the state images (the check boxes), 0 without them.
int checkBoxWidth(const dialogs::ListView &list) {
  auto images = reinterpret_cast<HIMAGELIST>(list.send(LVM_GETIMAGELIST, LVSIL_STATE));
  int width = 0, height = 0;
  if (!images || !ImageList_GetIconSize(images, &width, &height))
    return 0;
  return width;
}

int fittedWidth(const dialogs::ListView &list, int column, int extra) {
  int width = textWidth(list, headingOf(list, column)) + HeaderMargin;
  for (int row = 0, rows = list.itemCount(); row < rows; ++row)
    width = std::max(width, textWidth(list, list.itemText(row, column)) + CellMargin + extra);
  return width;
}

} // namespace

void fitItemColumns(const dialogs::ListView &list) {
  RECT client;
  GetClientRect(list.handle(), &client);
  const int name = fittedWidth(list, NameColumn, checkBoxWidth(list));
  const int units = fittedWidth(list, UnitsColumn, 0);
  list.setColumnWidth(NameColumn, name);
  list.setColumnWidth(UnitsColumn, units);
  list.setColumnWidth(ValueColumn, std::max(0, static_cast<int>(client.right) - name - units));
}

} // namespace uikit
