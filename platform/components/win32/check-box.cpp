// A check box.
#include "platform/components/win32/check-box.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

TCheckBox::TCheckBox(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 97, 17); }

void TCheckBox::CreateParams(TCreateParams &params) {
  params.className = "BUTTON";
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_AUTOCHECKBOX;
}

void TCheckBox::handleCreated() {
  SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_)
    return;
  checked_ = checked;
  if (HandleAllocated())
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  Click();
}

void TCheckBox::command(WORD code, WORD id) {
  (void)id;
  if (code != BN_CLICKED)
    return;
  checked_ = SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  Click();
}

} // namespace components
