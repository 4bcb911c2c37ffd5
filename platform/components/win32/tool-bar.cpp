#include "platform/components/win32/tool-bar.h"

#include "platform/components/win32/tool-button.h"

#include "platform/components/win32/menus.h"

#include <commctrl.h>

#include <algorithm>

namespace components {

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
