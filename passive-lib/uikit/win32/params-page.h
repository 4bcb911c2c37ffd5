// The "Parameters" page of the component sheets: the PARAMS items with
// their values; a value is stepped with the spin at the rounding the combo
// names, typed in place (checked first), and the checked rows are the
// items shown on the drawing. With "Auto-Apply" every accepted change
// applies the sheet at once. CRLCOcxParams and CVsrcOcxParams differ in
// their rounding entries, texts and checks (the model's flavour); both
// take the page's own help numbers.
#ifndef PASSIVE_LIB_UIKIT_PARAMS_PAGE_H
#define PASSIVE_LIB_UIKIT_PARAMS_PAGE_H

#include "passive-lib/uikit/core/params-page-model.h"
#include "passive-lib/uikit/win32/component-page.h"
#include "passive-lib/uikit/win32/list-ctrl-ex.h"
#include "passive-lib/uikit/win32/xml-page-section.h"

#include "platform/dialogs/win32/combo-box.h"
#include "platform/dialogs/win32/up-down.h"

#include <memory>
#include <string>
#include <utility>

namespace uikit {

class ParamsPage : public ComponentPage {
public:
  CListCtrlEx &list() { return list_; }
  const dialogs::ComboBox &roundCombo() const { return combo_; }
  // The spin's tool-tip text as the page last set it.
  const std::string &adjustTip() const { return adjustTip_; }
  const std::string &caption() const { return captionText; }

protected:
  // With the help numbers of the page's controls, or another table.
  explicit ParamsPage(passive::ParamsFlavour flavour);
  ParamsPage(passive::ParamsFlavour flavour, HelpIdTable helpIds);

  void attach(SheetOwner &owner) override;
  HelpIdTable helpIds() const override { return helpIds_; }
  bool AddTools() override;
  BOOL OnInitDialog() override;
  bool OnSetActive() override;
  bool OnKillActive() override;
  bool onCommand(WORD id, WORD code, HWND control) override;
  bool onNotify(NMHDR *header, LRESULT &result) override;

  // For pages that add rules of their own over the same list and model.
  passive::ParamsPageModel *model() const { return model_.get(); }
  passive::PageSection *section() const { return params_ ? &params_->section() : nullptr; }
  bool active() const { return isActive; }
  void setCaption(std::string caption) { captionText = std::move(caption); }
  // The spin and combo work only on a numeric row.
  void enableStepping(bool on);
  // An accepted change: adjust text, changed flag, "Auto-Apply".
  void afterChange();

private:
  void refreshAdjust();
  LRESULT endEdit(const NMLVDISPINFOA &edit);

  passive::ParamsFlavour flavour_;
  HelpIdTable helpIds_;
  dialogs::UpDown spin_;
  dialogs::ComboBox combo_;
  CListCtrlEx list_;
  std::unique_ptr<XmlPageSection> params_;
  std::unique_ptr<passive::ParamsPageModel> model_;
  std::string captionText;
  std::string adjustTip_ = "Adjust up/down";
  bool isActive = false;
};

} // namespace uikit

#endif
