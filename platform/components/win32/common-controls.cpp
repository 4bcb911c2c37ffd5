// The common controls over comctl32's window classes.
#include "platform/components/win32/common-controls.h"

#include "platform/components/win32/menus.h"

#include <commctrl.h>

#include <algorithm>

namespace components {

// ---- TStatusBar

void TStatusPanel::SetWidth(int width) {
  width_ = width;
  bar_.updateParts();
}

void TStatusPanel::SetText(const std::string &text) {
  text_ = text;
  bar_.updatePanel(*this);
}

void TStatusPanel::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  bar_.updatePanel(*this);
}

TStatusBar::TStatusBar(TComponent *owner) : TWinControl(owner) {
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

void TStatusBar::CreateParams(TCreateParams &params) {
  params.className = STATUSCLASSNAMEA;
  params.ownClass = false;
  // The bar is placed by our alignment, not by its own parent-sizing.
  params.style = WS_CHILD | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
}

void TStatusBar::handleCreated() {
  updateParts();
  for (const auto &panel : panels_)
    updatePanel(*panel);
  SetSimplePanel(simplePanel_);
  SetSimpleText(simpleText_);
}

TStatusPanel &TStatusBar::AddPanel() {
  panels_.push_back(std::make_unique<TStatusPanel>(*this, PanelCount()));
  updateParts();
  return *panels_.back();
}

void TStatusBar::updateParts() {
  if (!HandleAllocated() || panels_.empty())
    return;
  std::vector<int> edges;
  int edge = 0;
  for (const auto &panel : panels_) {
    edge += panel->Width();
    edges.push_back(edge);
  }
  SendMessageA(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (const auto &panel : panels_)
    updatePanel(*panel);
}

void TStatusBar::updatePanel(const TStatusPanel &panel) {
  if (!HandleAllocated())
    return;
  // A tab before the text centres it, two align it right.
  std::string text = panel.alignment_ == taCenter         ? "\t" + panel.text_
                     : panel.alignment_ == taRightJustify ? "\t\t" + panel.text_
                                                          : panel.text_;
  SendMessageA(Handle(), SB_SETTEXTA, static_cast<WPARAM>(panel.index_),
               reinterpret_cast<LPARAM>(text.c_str()));
}

void TStatusBar::SetSimplePanel(bool simple) {
  simplePanel_ = simple;
  if (HandleAllocated())
    SendMessageA(Handle(), SB_SIMPLE, simple, 0);
}

void TStatusBar::SetSimpleText(const std::string &text) {
  simpleText_ = text;
  if (HandleAllocated())
    SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

// ---- TProgressBar

TProgressBar::TProgressBar(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams &params) {
  params.className = PROGRESS_CLASSA;
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS;
}

void TProgressBar::handleCreated() {
  SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int min) {
  min_ = min;
  if (HandleAllocated())
    handleCreated();
}

void TProgressBar::SetMax(int max) {
  max_ = max;
  if (HandleAllocated())
    handleCreated();
}

void TProgressBar::SetPosition(int position) {
  position_ = std::min(std::max(position, min_), max_);
  if (HandleAllocated())
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

// ---- TTabSheet and TPageControl

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

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

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

// ---- TToolButton and TToolBar

TToolButton::TToolButton(TComponent *owner) : TGraphicControl(owner) {}

TToolButton::~TToolButton() {
  if (TToolBar *toolBar = bar())
    toolBar->removeButton(this);
}

TToolBar *TToolButton::bar() const { return dynamic_cast<TToolBar *>(Parent()); }

void TToolButton::SetParent(TWinControl *parent) {
  if (TToolBar *old = bar())
    old->removeButton(this);
  TGraphicControl::SetParent(parent);
  if (TToolBar *toolBar = bar())
    toolBar->addButton(this);
}

void TToolButton::Notification(TComponent *component, bool removing) {
  TGraphicControl::Notification(component, removing);
  if (removing && component == dropdownMenu_)
    dropdownMenu_ = nullptr;
}

void TToolButton::textChanged() {
  if (TToolBar *toolBar = bar())
    toolBar->updateButton(this);
}

void TToolButton::enabledChanged() {
  if (TToolBar *toolBar = bar())
    toolBar->updateButton(this);
}

TToolBar::TToolBar(TComponent *owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

void TToolBar::CreateParams(TCreateParams &params) {
  params.className = TOOLBARCLASSNAMEA;
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER |
                 (flat_ ? TBSTYLE_FLAT : 0u) | (showCaptions_ ? TBSTYLE_LIST : 0u);
}

void TToolBar::handleCreated() {
  HWND window = Handle();
  SendMessageA(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(window, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  SendMessageA(window, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  SendMessageA(window, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
  for (int i = 0; i < ButtonCount(); ++i)
    insertPlatformButton(i);
  layoutButtons();
}

void TToolBar::SetButtonWidth(int width) {
  buttonWidth_ = width;
  if (HandleAllocated()) {
    SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    for (TToolButton *button : buttons_)
      fixButtonWidth(button);
    layoutButtons();
  }
}

void TToolBar::SetButtonHeight(int height) {
  buttonHeight_ = height;
  SetButtonWidth(buttonWidth_);
}

void TToolBar::insertPlatformButton(int index) {
  TToolButton *button = buttons_[static_cast<std::size_t>(index)];
  TBBUTTON platformButton{};
  platformButton.iBitmap = I_IMAGENONE;
  platformButton.idCommand = button->command_;
  platformButton.fsState = button->Enabled() ? TBSTATE_ENABLED : 0;
  platformButton.fsStyle = button->style_ == tbsSeparator  ? BTNS_SEP
                           : button->style_ == tbsDropDown ? BTNS_DROPDOWN
                                                           : BTNS_BUTTON;
  platformButton.iString = -1;
  SendMessageA(Handle(), TB_INSERTBUTTONA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&platformButton));
  updateButton(button);
}

void TToolBar::updateButton(TToolButton *button) {
  if (!HandleAllocated())
    return;
  TBBUTTONINFOA info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_STATE | TBIF_TEXT;
  info.fsState = button->Enabled() ? TBSTATE_ENABLED : 0;
  std::string caption = button->Caption();
  info.pszText = const_cast<char *>(caption.c_str());
  SendMessageA(Handle(), TB_SETBUTTONINFOA, static_cast<WPARAM>(button->command_),
               reinterpret_cast<LPARAM>(&info));
  SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
  fixButtonWidth(button);
  layoutButtons();
}

// Every button is ButtonWidth wide, or wider when its caption needs it (a
// font wider than the designed one), a drop-down button that plus its
// arrow; the platform would size buttons by their captions and its own
// arrow. The width asked for is corrected by what the platform makes of
// it, as it may or may not add the arrow itself.
void TToolBar::fixButtonWidth(TToolButton *button) {
  if (button->style_ == tbsSeparator)
    return;
  int width = std::max(buttonWidth_, showCaptions_ ? captionWidth(button) : 0);
  int wanted = width + (button->style_ == tbsDropDown ? DropDownArrowWidth : 0);
  int asked = wanted;
  for (int attempt = 0; attempt < 2; ++attempt) {
    TBBUTTONINFOA size{};
    size.cbSize = sizeof size;
    size.dwMask = TBIF_SIZE;
    size.cx = static_cast<WORD>(asked);
    SendMessageA(Handle(), TB_SETBUTTONINFOA, static_cast<WPARAM>(button->command_),
                 reinterpret_cast<LPARAM>(&size));
    RECT rect{};
    LRESULT index = SendMessageA(Handle(), TB_COMMANDTOINDEX, button->command_, 0);
    SendMessageA(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&rect));
    int made = rect.right - rect.left;
    if (made == wanted || made <= 0)
      return;
    asked += wanted - made;
  }
}

// The width the platform gives the caption when it sizes the button by its
// text (its padding and edges around the text in the bar's font), asked of
// the bar itself: the button is made a plain self-sizing one for the
// measure, then given its own style back.
int TToolBar::captionWidth(TToolButton *button) {
  if (button->Caption().empty())
    return 0;
  HWND window = Handle();
  WPARAM command = static_cast<WPARAM>(button->command_);
  TBBUTTONINFOA info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_STYLE | TBIF_SIZE;
  SendMessageA(window, TB_GETBUTTONINFOA, command, reinterpret_cast<LPARAM>(&info));
  TBBUTTONINFOA measure = info;
  measure.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
  measure.cx = 0;
  SendMessageA(window, TB_SETBUTTONINFOA, command, reinterpret_cast<LPARAM>(&measure));
  SendMessageA(window, TB_AUTOSIZE, 0, 0);
  RECT rect{};
  LRESULT index = SendMessageA(window, TB_COMMANDTOINDEX, command, 0);
  SendMessageA(window, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
  SendMessageA(window, TB_SETBUTTONINFOA, command, reinterpret_cast<LPARAM>(&info));
  return rect.right - rect.left;
}

void TToolBar::WndProc(TMessage &message) {
  TWinControl::WndProc(message);
  if (message.Msg == WM_SETFONT) {
    for (TToolButton *button : buttons_)
      fixButtonWidth(button);
    layoutButtons();
  }
}

void TToolBar::addButton(TToolButton *button) {
  button->command_ = nextCommand_++;
  buttons_.push_back(button);
  if (HandleAllocated()) {
    insertPlatformButton(ButtonCount() - 1);
    layoutButtons();
  }
}

void TToolBar::removeButton(TToolButton *button) {
  auto found = std::find(buttons_.begin(), buttons_.end(), button);
  if (found == buttons_.end())
    return;
  int index = static_cast<int>(found - buttons_.begin());
  buttons_.erase(found);
  if (HandleAllocated())
    SendMessageA(Handle(), TB_DELETEBUTTON, static_cast<WPARAM>(index), 0);
}

void TToolBar::layoutButtons() {
  if (!HandleAllocated())
    return;
  for (int i = 0; i < ButtonCount(); ++i) {
    RECT rect{};
    SendMessageA(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
    TToolButton *button = buttons_[static_cast<std::size_t>(i)];
    button->storeBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  }
}

void TToolBar::Resize() {
  layoutButtons();
  TWinControl::Resize();
}

TToolButton *TToolBar::buttonOf(int command) const {
  for (TToolButton *button : buttons_)
    if (button->command_ == command)
      return button;
  return nullptr;
}

void TToolBar::command(WORD code, WORD id) {
  (void)code;
  if (TToolButton *button = buttonOf(id))
    if (button->Enabled())
      button->Click();
}

bool TToolBar::notify(NMHDR &header, LRESULT &result) {
  if (header.code != static_cast<UINT>(TBN_DROPDOWN))
    return false;
  auto &toolbar = reinterpret_cast<NMTOOLBARA &>(header);
  TToolButton *button = buttonOf(toolbar.iItem);
  result = TBDDRET_DEFAULT;
  if (button && button->DropdownMenu()) {
    POINT corner = ClientToScreen(POINT{button->Left(), button->Top() + button->Height()});
    button->DropdownMenu()->SetPopupComponent(button);
    button->DropdownMenu()->Popup(corner.x, corner.y);
  }
  return true;
}

} // namespace components
