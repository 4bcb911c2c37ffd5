// A dialog with tool tips and context help (see TippedWindow).
#ifndef PASSIVE_LIB_UIKIT_TIP_DIALOG_H
#define PASSIVE_LIB_UIKIT_TIP_DIALOG_H

#include "passive-lib/uikit/win32/tipped-window.h"

#include "platform/dialogs/win32/dialog.h"

namespace uikit {

class TipDialog : public TippedWindow<dialogs::Dialog> {
public:
  TipDialog(UINT templateId, HWND parent) : TippedWindow(templateId, parent) {}
};

} // namespace uikit

#endif
