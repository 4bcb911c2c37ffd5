// The "Results" page of the passive components' sheets: the RESULT items
// with their last DC values; the checked rows are the results shown on the
// drawing (ORDER, in the order they were checked). Rows never take the
// selection: only their check boxes react.
#ifndef PASSIVE_LIB_UIKIT_CRLC_OCX_RESULT_H
#define PASSIVE_LIB_UIKIT_CRLC_OCX_RESULT_H

#include "passive-lib/uikit/core/result-page-model.h"
#include "passive-lib/uikit/win32/component-page.h"
#include "passive-lib/uikit/win32/list-ctrl-ex.h"
#include "passive-lib/uikit/win32/xml-page-section.h"

#include <memory>

namespace uikit {

class CRLCOcxResult : public ComponentPage {
public:
  CRLCOcxResult();

  void attach(SheetOwner &owner) override;
  const CListCtrlEx &list() const { return list_; }

protected:
  BOOL OnInitDialog() override;
  bool OnSetActive() override;
  bool OnKillActive() override;
  bool onNotify(NMHDR *header, LRESULT &result) override;

private:
  void fill();

  CListCtrlEx list_;
  std::unique_ptr<XmlPageSection> results_;
  std::unique_ptr<passive::ResultPageModel> model_;
  bool active_ = false;
};

} // namespace uikit

#endif
