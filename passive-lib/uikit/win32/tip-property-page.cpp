#include "passive-lib/uikit/win32/tip-property-page.h"

namespace uikit {

bool TipPropertyPage::setTipsActive(bool active) {
  tipsActive_ = active;
  if (toolTip_.handle())
    toolTip_.activate(active);
  return true;
}

bool TipPropertyPage::createToolTips() {
  if (!toolTip_.create(handle()))
    return false;
  if (tipsActive_)
    toolTip_.activate(true);
  return addTools();
}

BOOL TipPropertyPage::onInitDialog() {
  PropertyPage::onInitDialog();
  createToolTips();
  return TRUE;
}

bool TipPropertyPage::preTranslate(MSG &message) {
  relayToToolTip(handle(), toolTip_, tipsActive_, message);
  return PropertyPage::preTranslate(message);
}

bool TipPropertyPage::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  if (message == WM_HELP || message == WM_CONTEXTMENU) {
    answerHelpRequest(message, wParam, lParam, helpIds());
    result = TRUE;
    return true;
  }
  return PropertyPage::onMessage(message, wParam, lParam, result);
}

} // namespace uikit
