// The property sheet of a passive component: parameters, results and
// format pages over the opening control (the owner). Apply (command 12321,
// the Apply button or a page's auto-apply) lets the pages write the
// document first, then marks the control dirty, renews its label and
// layout as far as the changed pages need, re-solves when the parameters
// changed, clears the pages' flags and turns Cancel into Close; the owner
// keeps the applied state. "&Version..." shows the component's version.
#ifndef PASSIVE_LIB_UIKIT_COMPONENT_SHEET_H
#define PASSIVE_LIB_UIKIT_COMPONENT_SHEET_H

#include "passive-lib/uikit/win32/component-pages.h"
#include "passive-lib/uikit/win32/rlc-ocx-sheet.h"
#include "passive-lib/uikit/win32/sheet-owner.h"

#include <memory>

namespace uikit {

class ComponentSheet : public CRLCOcxSheet {
public:
  // parametersKind: PageKind::Parameters or PageKind::SourceParameters.
  ComponentSheet(std::string caption, SheetOwner &owner, HWND parent, UINT startPage,
                 PageKind parametersKind);
  // With pages of the caller's making (a library's own pages); any may be
  // null.
  ComponentSheet(std::string caption, SheetOwner &owner, HWND parent, UINT startPage,
                 std::unique_ptr<ComponentPage> parameters, std::unique_ptr<ComponentPage> results,
                 std::unique_ptr<ComponentPage> format);

  // Hands the pages their elements from the owner's document, then runs
  // the sheet modally: IDOK when it ended with OK (or Close).
  INT_PTR run();

  SheetOwner &owner() const { return owner_; }
  // Null where the page is not part of the build.
  ComponentPage *parametersPage() const { return parameters_.get(); }
  ComponentPage *resultsPage() const { return results_.get(); }
  ComponentPage *formatPage() const { return format_.get(); }

protected:
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
  virtual void OnApplyNow(WPARAM wParam, LPARAM lParam);
  // True when handled (the version box); others go to the sheet's own.
  virtual bool OnSysCommand(WPARAM command);

private:
  SheetOwner &owner_;
  std::unique_ptr<ComponentPage> parameters_, results_, format_;
};

} // namespace uikit

#endif
