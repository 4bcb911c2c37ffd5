// The common base of the component property sheets: "&Version..." in the
// system menu (command 16) and tips for the caption's Close and Help
// buttons, found by the sheet's own non-client hit test.
#ifndef PASSIVE_LIB_UIKIT_RLC_OCX_SHEET_H
#define PASSIVE_LIB_UIKIT_RLC_OCX_SHEET_H

#include "passive-lib/uikit/win32/tip-property-sheet.h"

namespace uikit {

class CRLCOcxSheet : public TipPropertySheet {
public:
  static const UINT VersionCommand = 16;

  CRLCOcxSheet(std::string caption, HWND parent, UINT startPage)
      : TipPropertySheet(std::move(caption), parent, startPage) {}

  // HTCLOSE gives "Close", HTHELP "Help" (text a copy for the receiver to
  // free, tool identifier the hit code, rectangle over the caption button
  // in client coordinates); any other hit -1.
  INT_PTR OnToolHitTest(POINT point, TOOLINFOA *info) const override;

protected:
  BOOL OnInitDialog() override;
};

} // namespace uikit

#endif
