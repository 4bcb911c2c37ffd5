#include "passive-lib/uikit/win32/tip-dialog.h"

namespace uikit {

bool TipDialog::createToolTips() {
  if (!toolTip_.create(handle()))
    return false;
  if (tipsActive_)
    toolTip_.activate(true);
  return addTools();
}

BOOL TipDialog::onInitDialog() {
  Dialog::onInitDialog();
  createToolTips();
  return TRUE;
}

bool TipDialog::preTranslate(MSG &message) {
  relayToToolTip(handle(), toolTip_, tipsActive_, message);
  return Dialog::preTranslate(message);
}

bool TipDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  if (message == WM_HELP || message == WM_CONTEXTMENU) {
    answerHelpRequest(message, wParam, lParam, helpIds());
    result = TRUE;
    return true;
  }
  return Dialog::onMessage(message, wParam, lParam, result);
}

} // namespace uikit
