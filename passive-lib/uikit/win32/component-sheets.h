// The sheets of the passive components, each a ComponentSheet with its
// parameters page: made with the caption, the opening control, the parent
// window and the page to open first.
#ifndef PASSIVE_LIB_UIKIT_COMPONENT_SHEETS_H
#define PASSIVE_LIB_UIKIT_COMPONENT_SHEETS_H

#include "passive-lib/uikit/win32/component-sheet.h"

namespace uikit {

// Resistor, inductor, capacitor: CRLCOcxParams, CRLCOcxResult, CRLCOcxFormat.
class CResOcxSheet : public ComponentSheet {
public:
  CResOcxSheet(std::string caption, SheetOwner &owner, HWND parent, UINT startPage)
      : ComponentSheet(std::move(caption), owner, parent, startPage, PageKind::Parameters) {}
};
class CIndOcxSheet : public ComponentSheet {
public:
  CIndOcxSheet(std::string caption, SheetOwner &owner, HWND parent, UINT startPage)
      : ComponentSheet(std::move(caption), owner, parent, startPage, PageKind::Parameters) {}
};
class CCapOcxSheet : public ComponentSheet {
public:
  CCapOcxSheet(std::string caption, SheetOwner &owner, HWND parent, UINT startPage)
      : ComponentSheet(std::move(caption), owner, parent, startPage, PageKind::Parameters) {}
};

// Power rail and DC source: CVsrcOcxParams, CRLCOcxResult, CRLCOcxFormat.
class CPwrOcxSheet : public ComponentSheet {
public:
  CPwrOcxSheet(std::string caption, SheetOwner &owner, HWND parent, UINT startPage)
      : ComponentSheet(std::move(caption), owner, parent, startPage, PageKind::SourceParameters) {}
};
class CVdcOcxSheet : public ComponentSheet {
public:
  CVdcOcxSheet(std::string caption, SheetOwner &owner, HWND parent, UINT startPage)
      : ComponentSheet(std::move(caption), owner, parent, startPage, PageKind::SourceParameters) {}
};

} // namespace uikit

#endif
