#include "platform/dialogs/win32/list-view.h"

#include <vector>

namespace dialogs {

int ListView::columnCount() const {
  HWND columns = header();
  return columns ? static_cast<int>(SendMessageA(columns, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int ListView::insertColumn(int column, const std::string &heading, int width, int format) {
  LVCOLUMNA info{};
  info.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  info.fmt = format;
  info.cx = width;
  info.pszText = const_cast<char *>(heading.c_str());
  info.iSubItem = column;
  return static_cast<int>(
      send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)));
}

int ListView::columnFormat(int column) const {
  LVCOLUMNA info{};
  info.mask = LVCF_FMT;
  if (!send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)))
    return LVCFMT_LEFT;
  return info.fmt & LVCFMT_JUSTIFYMASK;
}

int ListView::insertItem(int row, const std::string &text) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<char *>(text.c_str());
  return static_cast<int>(send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ListView::setItemText(int row, int column, const std::string &text) const {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char *>(text.c_str());
  return send(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string ListView::itemText(int row, int column) const {
  std::vector<char> buffer(1024, '\0');
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  LRESULT length =
      send(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

bool ListView::checked(int row) const {
  return ((itemState(row, LVIS_STATEIMAGEMASK) >> 12) & 0xF) == 2;
}

void ListView::setChecked(int row, bool on) const {
  setItemState(row, INDEXTOSTATEIMAGEMASK(on ? 2 : 1), LVIS_STATEIMAGEMASK);
}

void ListView::setItemState(int row, UINT state, UINT mask) const {
  LVITEMA item{};
  item.state = state;
  item.stateMask = mask;
  send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool ListView::itemRect(int row, RECT &rect, int part) const {
  rect = RECT{};
  rect.left = part;
  return send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)) != 0;
}

} // namespace dialogs
