// A page of a CPropertySheet: a dialog template shown inside the sheet.
// The sheet's page notifications become virtual operations: OnSetActive
// when the page comes to the front, OnKillActive when it is left (false
// keeps it), OnApply for OK and Apply (false keeps the sheet open), onReset
// for Cancel. setModified tells the sheet whether the page holds changes
// (the Apply button follows it).
#ifndef PLATFORM_DIALOGS_PROPERTY_PAGE_H
#define PLATFORM_DIALOGS_PROPERTY_PAGE_H

#include "platform/dialogs/win32/dialog.h"

#include <prsht.h>

namespace dialogs {

class CPropertyPage : public Dialog {
public:
  // captionId: a string resource for the tab, 0 for the template's caption.
  explicit CPropertyPage(UINT templateId, UINT captionId = 0);

  // The page for PropertySheetA; made by the sheet.
  HPROPSHEETPAGE createPageHandle();
  void setModified(bool modified);
  HWND sheetHandle() const { return handle() ? GetParent(handle()) : nullptr; }

protected:
  virtual bool OnSetActive() { return true; }
  virtual bool OnKillActive() { return true; }
  virtual bool OnApply() { return true; }
  virtual void onReset() {}
  // The sheet's OK and Cancel buttons are not the page's.
  void OnOK() override {}
  void onCancel() override {}
  bool onNotify(NMHDR *header, LRESULT &result) override;

private:
  static INT_PTR CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  UINT captionId_;
};

} // namespace dialogs

#endif
