// A page of a PropertySheetDialog: a dialog template shown inside the sheet.
// The sheet's page notifications become virtual operations: onSetActive
// when the page comes to the front, onKillActive when it is left (false
// keeps it), onApply for OK and Apply (false keeps the sheet open), onReset
// for Cancel. setModified tells the sheet whether the page holds changes
// (the Apply button follows it).
#ifndef PLATFORM_DIALOGS_PROPERTY_PAGE_H
#define PLATFORM_DIALOGS_PROPERTY_PAGE_H

#include "platform/dialogs/win32/dialog.h"

#include <prsht.h>

namespace dialogs {

class PropertyPage : public Dialog {
public:
  // captionId: a string resource for the tab, 0 for the template's caption.
  explicit PropertyPage(UINT templateId, UINT captionId = 0);

  // The page for PropertySheetA; made by the sheet.
  HPROPSHEETPAGE createPageHandle();
  void setModified(bool modified);
  HWND sheetHandle() const { return handle() ? GetParent(handle()) : nullptr; }

protected:
  virtual bool onSetActive() { return true; }
  virtual bool onKillActive() { return true; }
  virtual bool onApply() { return true; }
  virtual void onReset() {}
  // The sheet's OK and Cancel buttons are not the page's.
  void onOK() override {}
  void onCancel() override {}
  bool onNotify(NMHDR *header, LRESULT &result) override;

private:
  static INT_PTR CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  UINT captionId_;
};

} // namespace dialogs

#endif
