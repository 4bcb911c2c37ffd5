// A push button.
#include "platform/components/win32/button.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

TButton::TButton(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams &params) {
  params.className = "BUTTON";
  params.ownClass = false;
  params.style =
      WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool isDefault) {
  default_ = isDefault;
  if (HandleAllocated())
    SendMessageA(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::command(WORD code, WORD id) {
  (void)id;
  if (code == BN_CLICKED)
    Click();
}

void TButton::Click() {
  if (TForm *form = GetParentForm(this))
    if (modalResult_ != mrNone)
      form->SetModalResult(modalResult_);
  TWinControl::Click();
}

} // namespace components
