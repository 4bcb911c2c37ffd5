#include "passive-lib/uikit/win32/tip-property-page.h"

namespace uikit {

bool TipPropertyPage::setTipsActive(bool active) {
  tipsActive_ = active;
  if (toolTip_.handle())
    toolTip_.activate(active);
  return true;
}

} // namespace uikit
