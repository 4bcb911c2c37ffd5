#include "platform/components/win32/tab-sheet.h"

#include "platform/components/win32/page-control.h"

#include "platform/components/win32/menus.h"

#include <commctrl.h>

#include <algorithm>

namespace components {

TTabSheet::TTabSheet(TComponent *owner) : TWinControl(owner) { SetVisible(false); }

TTabSheet::~TTabSheet() {
  if (pageControl_)
    pageControl_->removePage(this);
}

void TTabSheet::CreateParams(TCreateParams &params) {
  params.className = "TTabSheet";
  params.ownClass = true;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

void TTabSheet::SetPageControl(TPageControl *pageControl) {
  if (pageControl_ == pageControl)
    return;
  if (pageControl_)
    pageControl_->removePage(this);
  pageControl_ = pageControl;
  SetParent(pageControl);
  if (pageControl_)
    pageControl_->insertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!pageControl_)
    return -1;
  auto &pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::textChanged() {
  TWinControl::textChanged();
  if (!pageControl_ || !pageControl_->HandleAllocated())
    return;
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char *>(caption_.c_str());
  SendMessageA(pageControl_->Handle(), TCM_SETITEMA, static_cast<WPARAM>(PageIndex()),
               reinterpret_cast<LPARAM>(&item));
}

} // namespace components
