#include "platform/components/win32/page-control.h"

#include "platform/components/win32/tab-sheet.h"

#include "platform/components/win32/menus.h"

#include <commctrl.h>

#include <algorithm>

namespace components {

TPageControl::TPageControl(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 289, 193); }

void TPageControl::CreateParams(TCreateParams &params) {
  params.className = WC_TABCONTROLA;
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;
}

void TPageControl::insertTab(int index) {
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  std::string caption = pages_[static_cast<std::size_t>(index)]->caption_;
  item.pszText = const_cast<char *>(caption.c_str());
  SendMessageA(Handle(), TCM_INSERTITEMA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
}

void TPageControl::handleCreated() {
  for (int i = 0; i < PageCount(); ++i)
    insertTab(i);
  SetActivePage(activePage_);
}

void TPageControl::insertPage(TTabSheet *page) {
  pages_.push_back(page);
  if (HandleAllocated())
    insertTab(PageCount() - 1);
  if (!activePage_)
    SetActivePage(page);
  layoutPages();
}

void TPageControl::removePage(TTabSheet *page) {
  int index = page->PageIndex();
  if (index < 0 || index >= PageCount())
    return;
  pages_.erase(pages_.begin() + index);
  page->pageControl_ = nullptr;
  if (HandleAllocated())
    SendMessageA(Handle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
  if (activePage_ == page)
    SetActivePage(pages_.empty()
                      ? nullptr
                      : pages_[static_cast<std::size_t>(std::min(index, PageCount() - 1))]);
}

void TPageControl::SetActivePage(TTabSheet *page) {
  activePage_ = page;
  for (TTabSheet *sheet : pages_)
    sheet->SetVisible(sheet == page);
  if (page && HandleAllocated())
    SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(page->PageIndex()), 0);
  layoutPages();
}

void TPageControl::layoutPages() {
  if (!HandleAllocated())
    return;
  RECT rect{0, 0, ClientWidth(), ClientHeight()};
  SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
  for (TTabSheet *sheet : pages_)
    sheet->SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void TPageControl::Resize() {
  layoutPages();
  TWinControl::Resize();
}

bool TPageControl::notify(NMHDR &header, LRESULT &result) {
  if (header.code != TCN_SELCHANGE)
    return false;
  int index = static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
  if (index >= 0 && index < PageCount())
    SetActivePage(pages_[static_cast<std::size_t>(index)]);
  OnChange(this);
  result = 0;
  return true;
}

} // namespace components
