// A property page with tool tips and context help, as TipDialog: the
// tool-tip control is made when the page starts, the derived page adds its
// tools in addTools and changes a tool's text with toolTip().updateTipText.
#ifndef PASSIVE_LIB_UIKIT_TIP_PROPERTY_PAGE_H
#define PASSIVE_LIB_UIKIT_TIP_PROPERTY_PAGE_H

#include "passive-lib/uikit/win32/tip-support.h"

#include "platform/dialogs/win32/property-page.h"
#include "platform/dialogs/win32/tool-tip.h"

namespace uikit {

class TipPropertyPage : public dialogs::PropertyPage {
public:
  // captionId: a string resource for the tab; the pages pass 0.
  explicit TipPropertyPage(UINT templateId, UINT captionId = 0)
      : PropertyPage(templateId, captionId) {}

  const dialogs::ToolTip &toolTip() const { return toolTip_; }
  bool tipsActive() const { return tipsActive_; }
  // Switches the relay to the tool tips on or off; answers true.
  bool setTipsActive(bool active);

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
