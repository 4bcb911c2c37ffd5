// A property page with tool tips and context help (see TippedWindow).
#ifndef PASSIVE_LIB_UIKIT_TIP_PROPERTY_PAGE_H
#define PASSIVE_LIB_UIKIT_TIP_PROPERTY_PAGE_H

#include "passive-lib/uikit/win32/tipped-window.h"

#include "platform/dialogs/win32/property-page.h"

namespace uikit {

class TipPropertyPage : public TippedWindow<dialogs::CPropertyPage> {
public:
  // captionId: a string resource for the tab; the pages pass 0.
  explicit TipPropertyPage(UINT templateId, UINT captionId = 0)
      : TippedWindow(templateId, captionId) {}

  // Switches the relay to the tool tips on or off; answers true.
  bool setTipsActive(bool active);
};

} // namespace uikit

#endif
