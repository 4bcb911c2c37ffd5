// The property sheets of the diode and the transistors: the passive
// components' sheet (Apply, the version box, the caption buttons' tips)
// holding the pages Parameters (CSemiOcxParams over the kind's model
// library), Results and Format, added in that order. The three differ only
// in their names.
#ifndef SEMI_LIB_SHEETS_SEMI_OCX_SHEET_H
#define SEMI_LIB_SHEETS_SEMI_OCX_SHEET_H

#include "passive-lib/uikit/win32/component-sheet.h"
#include "semi-lib/sheets/semi-ocx-params.h"

#include <string>

namespace semi {

class CSemiOcxSheet : public uikit::ComponentSheet {
public:
  CSemiOcxSheet(std::string caption, uikit::SheetOwner &owner, HWND parent, UINT startPage,
                const std::string &libraryText);
};

class CDiodeOcxSheet : public CSemiOcxSheet {
public:
  using CSemiOcxSheet::CSemiOcxSheet;
};
class CBjtNpnOcxSheet : public CSemiOcxSheet {
public:
  using CSemiOcxSheet::CSemiOcxSheet;
};
class CBjtPnpOcxSheet : public CSemiOcxSheet {
public:
  using CSemiOcxSheet::CSemiOcxSheet;
};

} // namespace semi

#endif
