#include "platform/components/win32/popup-menu.h"

#include "platform/components/win32/menu.h"

#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"

#include <algorithm>

namespace components {

void TPopupMenu::Popup(int x, int y) {
  OnPopup(this);
  HWND owner = Application->Handle();
  if (auto *control = dynamic_cast<TWinControl *>(popupComponent_))
    owner = control->Handle();
  UINT command = static_cast<UINT>(TrackPopupMenuEx(
      Handle(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, owner, nullptr));
  if (command)
    Application->dispatchMenuCommand(command);
}

void TPopupMenu::Notification(TComponent *component, bool removing) {
  TMenu::Notification(component, removing);
  if (removing && component == popupComponent_)
    popupComponent_ = nullptr;
}

} // namespace components
