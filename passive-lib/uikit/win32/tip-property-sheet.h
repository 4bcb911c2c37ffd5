// A property sheet with tool tips: help requests go on to the page in
// front; at its first show the sheet gets the caption's context-help
// button, its tool-tip control and its tools, never again after.
#ifndef PASSIVE_LIB_UIKIT_TIP_PROPERTY_SHEET_H
#define PASSIVE_LIB_UIKIT_TIP_PROPERTY_SHEET_H

#include "passive-lib/uikit/win32/tip-support.h"

#include "platform/dialogs/win32/property-sheet-dialog.h"
#include "platform/dialogs/win32/tool-tip.h"

#include <string>

namespace uikit {

class TipPropertySheet : public dialogs::CPropertySheet {
public:
  TipPropertySheet(std::string caption, HWND parent, UINT startPage)
      : CPropertySheet(std::move(caption), parent, startPage) {}

  bool firstShowPending() const { return firstShow_; }

protected:
  virtual HelpIdTable helpIds() const { return nullptr; }
  virtual bool AddTools() { return true; }
  virtual bool CreateToolTips();

  bool preTranslate(MSG &message) override;
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

  dialogs::ToolTip toolTip_;
  bool tipsActive_ = true;
  bool firstShow_ = true;
};

} // namespace uikit

#endif
