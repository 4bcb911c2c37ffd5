// A pop-up menu, shown at a screen point by its owner or on a control's
// right click.
#ifndef COMPONENTS_WIN32_POPUP_MENU_H
#define COMPONENTS_WIN32_POPUP_MENU_H

#include "platform/components/win32/menu.h"

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/base/win32/window-owners.h"

#include <windows.h>

#include <string>
#include <vector>

namespace components {

class TPopupMenu : public TMenu {
public:
  explicit TPopupMenu(TComponent *owner) : TMenu(owner, true) {}
  void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }
  void SetPopupComponent(TComponent *component) { popupComponent_ = component; }
  // Shows the menu at a screen point and clicks the chosen item after it
  // closes.
  void Popup(int x, int y);
  void Notification(TComponent *component, bool removing) override;

  TNotifyEvent OnPopup;

private:
  bool autoPopup_ = true;
  TComponent *popupComponent_ = nullptr;
};

} // namespace components

#endif
