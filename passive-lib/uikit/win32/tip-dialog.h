// A dialog with tool tips and context help: its tool-tip control is made
// at the dialog's start (active while the tips-active flag is set), the
// derived dialog adds its tools in addTools, and F1 or a right click opens
// the help file with the derived dialog's help-ID table.
#ifndef PASSIVE_LIB_UIKIT_TIP_DIALOG_H
#define PASSIVE_LIB_UIKIT_TIP_DIALOG_H

#include "passive-lib/uikit/win32/tip-support.h"

#include "platform/dialogs/win32/dialog.h"
#include "platform/dialogs/win32/tool-tip.h"

namespace uikit {

class TipDialog : public dialogs::Dialog {
public:
  TipDialog(UINT templateId, HWND parent) : Dialog(templateId, parent) {}

  const dialogs::ToolTip &toolTip() const { return toolTip_; }
  bool tipsActive() const { return tipsActive_; }

protected:
  virtual HelpIdTable helpIds() const { return nullptr; }
  virtual bool addTools() { return true; }
  virtual bool createToolTips();

  BOOL onInitDialog() override;
  bool preTranslate(MSG &message) override;
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

  dialogs::ToolTip toolTip_;
  bool tipsActive_ = true;
};

} // namespace uikit

#endif
