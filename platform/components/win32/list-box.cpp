// A list box, plain or owner-drawn.
#include "platform/components/win32/list-box.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

TListBox::TListBox(TComponent *owner)
    : TWinControl(owner),
      items_(*this, {LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT}) {
  SetBounds(0, 0, 121, 97);
}

void TListBox::CreateParams(TCreateParams &params) {
  params.className = "LISTBOX";
  params.ownClass = false;
  params.style =
      WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  if (style_ == lbOwnerDrawFixed)
    params.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  params.exStyle = WS_EX_CLIENTEDGE;
}

void TListBox::handleCreated() {
  items_.fillWindow();
  if (style_ == lbOwnerDrawFixed)
    SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
  if (itemIndex_ >= 0)
    SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

int TListBox::ItemIndex() {
  if (!HandleAllocated())
    return itemIndex_;
  return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
  itemIndex_ = index;
  if (HandleAllocated())
    SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TListBox::SetItemHeight(int height) {
  itemHeight_ = height;
  if (HandleAllocated() && style_ == lbOwnerDrawFixed)
    SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, height);
}

int TListBox::ItemAtPos(POINT point) {
  LRESULT result = SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
  if (HIWORD(result))
    return -1;
  return LOWORD(result);
}

void TListBox::command(WORD code, WORD id) {
  (void)id;
  if (code == LBN_SELCHANGE)
    Click();
  else if (code == LBN_DBLCLK)
    OnDblClick(this);
}

void TListBox::drawItem(DRAWITEMSTRUCT &item) {
  TOwnerDrawState state = 0;
  if (item.itemState & ODS_SELECTED)
    state |= odSelected;
  if (item.itemState & ODS_FOCUS)
    state |= odFocused;
  if (item.itemState & ODS_DISABLED)
    state |= odDisabled;
  canvas_.SetHandle(item.hDC);
  canvas_.Font().Assign(Font());
  canvas_.SetBrushColor((state & odSelected) ? (clSystemColor | COLOR_HIGHLIGHT) : clWindow);
  canvas_.Font().SetColor((state & odSelected) ? clHighlightText : clWindowText);
  int index = static_cast<int>(item.itemID);
  if (index >= 0 && index < items_.Count()) {
    if (OnDrawItem.Assigned()) {
      OnDrawItem(this, index, item.rcItem, state);
    } else {
      canvas_.FillRect(item.rcItem);
      canvas_.TextOut(item.rcItem.left + 2, item.rcItem.top, items_.Strings(index));
    }
  }
  canvas_.SetHandle(nullptr);
}

} // namespace components
