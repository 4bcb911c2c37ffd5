// The list's in-place drop-down list under Wine, on a bare list in a
// dialog of its own: where it is placed, the scrolling that brings its
// column into view first, and the cells that get none.
#include "list-host-resource.h"

#include "passive-lib/uikit/win32/list-ctrl-ex.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

INT_PTR CALLBACK hostProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A dialog with a three-column list of eight rows.
class ListCombo : public testing::Test {
protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    open();
  }
  void TearDown() override { close(); }

  void open() {
    host_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_COMBO_LIST_HOST),
                               nullptr, hostProc, 0);
    ASSERT_TRUE(host_) << GetLastError();
    list_.subclass(GetDlgItem(host_, IDC_COMBO_LIST));
    list_.insertColumn(0, "Name", 60);
    list_.insertColumn(1, "Value", 120);
    list_.insertColumn(2, "Units", 40);
    for (int row = 0; row < 8; ++row) {
      list_.insertItem(row, "P" + std::to_string(row));
      list_.setItemText(row, 1, std::to_string(row * 10));
    }
    GetClientRect(list_.handle(), &client_);
  }
  void close() {
    if (host_)
      DestroyWindow(host_);
    host_ = nullptr;
  }

  HWND combo() const { return GetDlgItem(list_.handle(), 200); }
  int scrollX() const { return GetScrollPos(list_.handle(), SB_HORZ); }
  // The left edge of column's cell in row, in the list's client area.
  int cellLeft(int row, int column) const {
    RECT bounds{};
    list_.itemRect(row, bounds, LVIR_BOUNDS);
    int left = bounds.left;
    for (int before = 0; before < column; ++before)
      left += list_.columnWidth(before);
    return left;
  }
  RECT comboRect() const {
    RECT rect{};
    GetWindowRect(combo(), &rect);
    MapWindowPoints(nullptr, list_.handle(), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
  }

  HWND host_ = nullptr;
  uikit::CListCtrlEx list_;
  RECT client_{};
};

TEST_F(ListCombo, ItCoversTheCellWithRoomBelowForItsEntries) {
  uikit::CInPlaceComboBox *made = list_.ComboSubLabel(2, 1);
  ASSERT_NE(made, nullptr);
  ASSERT_EQ(made->handle(), combo());
  EXPECT_EQ(made->row(), 2);
  EXPECT_EQ(made->column(), 1);
  RECT row{};
  list_.itemRect(2, row, LVIR_BOUNDS);
  const RECT field = comboRect();
  EXPECT_EQ(field.left, cellLeft(2, 1) + 2);
  EXPECT_EQ(field.right, cellLeft(2, 1) + 120);
  EXPECT_EQ(field.top, row.top - 2);
  // The field keeps to the row; the drop-down part reaches far below it.
  RECT window{};
  GetWindowRect(combo(), &window);
  EXPECT_LE(window.bottom - window.top, (row.bottom - row.top) + 6);
  RECT dropped{};
  SendMessageA(combo(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  MapWindowPoints(nullptr, list_.handle(), reinterpret_cast<POINT *>(&dropped), 2);
  const int entryHeight = static_cast<int>(SendMessageA(combo(), CB_GETITEMHEIGHT, 0, 0));
  EXPECT_GE(dropped.bottom - row.bottom, 5 * entryHeight);
  const LONG style = GetWindowLongA(combo(), GWL_STYLE);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_TRUE(style & WS_TABSTOP);
  EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(GetDlgCtrlID(combo()), 200);
  EXPECT_EQ(SendMessageA(combo(), CB_GETCOUNT, 0, 0), 0) << "its user fills it";
}

// A column out of view on either side is scrolled in before the list is
// placed over the visible cell.
TEST_F(ListCombo, AColumnScrolledOutOfViewIsScrolledInFirst) {
  struct Case {
    const char *what;
    int scrollFirst; // pixels to the right before the combo opens
    int column;
  };
  const Case cases[] = {
      {"right of the client area", 0, 2},
      {"left of the client area", 400, 0},
  };
  for (const Case &c : cases) {
    close();
    open();
    list_.setColumnWidth(0, c.scrollFirst ? 60 : client_.right + 40);
    list_.setColumnWidth(1, c.scrollFirst ? 500 : 120);
    if (c.scrollFirst)
      list_.scroll(c.scrollFirst, 0);
    const int before = cellLeft(2, c.column);
    EXPECT_TRUE(before < 0 || before > client_.right) << c.what << ": out of view at first";
    const int scrolledBefore = scrollX();
    ASSERT_NE(list_.ComboSubLabel(2, c.column), nullptr) << c.what;
    const int after = cellLeft(2, c.column);
    EXPECT_GE(after, 0) << c.what;
    EXPECT_LE(after, client_.right) << c.what;
    EXPECT_NE(scrollX(), scrolledBefore) << c.what;
    EXPECT_EQ(comboRect().left, after + 2) << c.what << ": over the visible cell";
    EXPECT_LE(comboRect().right, client_.right) << c.what;
  }
}

TEST_F(ListCombo, AColumnUnderFivePixelsOrNoCellGetsNone) {
  struct Case {
    const char *what;
    int width, row, column;
    bool made;
  };
  const Case cases[] = {
      {"4 pixels", 4, 1, 1, false},      {"0 pixels", 0, 1, 1, false},
      {"5 pixels", 5, 1, 1, true},       {"no such column", 120, 1, 3, false},
      {"no such row", 120, 8, 1, false}, {"negative row", 120, -1, 1, false},
  };
  for (const Case &c : cases) {
    list_.setColumnWidth(1, c.width);
    uikit::CInPlaceComboBox *made = list_.ComboSubLabel(c.row, c.column);
    EXPECT_EQ(made != nullptr, c.made) << c.what;
    EXPECT_EQ(combo() != nullptr, c.made) << c.what;
    if (made)
      DestroyWindow(made->handle());
  }
}

} // namespace
