// A group box that lays out its children inside its frame.
#include "platform/components/win32/group-box.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

TGroupBox::TGroupBox(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 185, 105); }

void TGroupBox::CreateParams(TCreateParams &params) {
  params.className = "BUTTON";
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | BS_GROUPBOX;
}

RECT TGroupBox::alignArea() {
  RECT rect = TWinControl::alignArea();
  rect.top += 16; // below the caption
  InflateRect(&rect, -2, 0);
  rect.bottom -= 2;
  return rect;
}

void TGroupBox::WndProc(TMessage &message) {
  // The platform's group box paints only its frame and caption and leaves
  // its inside to the parent, which clips its children: so the box fills
  // its inside itself.
  if (message.Msg == WM_ERASEBKGND) {
    RECT rect;
    GetClientRect(Handle(), &rect);
    FillRect(reinterpret_cast<HDC>(message.WParam), &rect, GetSysColorBrush(COLOR_BTNFACE));
    message.Result = 1;
    return;
  }
  TWinControl::WndProc(message);
}

} // namespace components
