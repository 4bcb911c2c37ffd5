// The ground's properties dialog: whether its one result ("Idc") is shown
// on the drawing, and how (name, units, sign, format, precision, the
// "Simulation" layer). Every change is written into the control's document
// at once and the preview follows; the opening control undoes the changes
// when the dialog ends other than with OK.
#ifndef PASSIVE_LIB_UIKIT_GND_PROPERTIES_DIALOG_H
#define PASSIVE_LIB_UIKIT_GND_PROPERTIES_DIALOG_H

#include "passive-lib/uikit/win32/combo-box-qor.h"
#include "passive-lib/uikit/win32/sheet-owner.h"
#include "passive-lib/uikit/win32/tip-dialog.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/dialogs/win32/edit-box.h"
#include "platform/dialogs/win32/up-down.h"

#include <string>

namespace uikit {

class GndPropertiesDialog : public TipDialog {
public:
  static const char *const FormatNames[5];

  // Creates its own QorLib service; a failure other than E_NOINTERFACE
  // throws base::ComError.
  GndPropertiesDialog(SheetOwner *owner, HWND parent);

  // The RESULT element and its one ITEM, handed over before doModal.
  void setElements(IXMLElement *result, IXMLElement *item);

protected:
  BOOL OnInitDialog() override;
  bool onCommand(WORD id, WORD code, HWND control) override;
  bool onNotify(NMHDR *header, LRESULT &result) override;

private:
  void updatePreview();
  void enableDetails(bool on);
  void check(int id, bool on) const;
  bool checked(int id) const;

  SheetOwner *owner_;
  base::ComPtr<IQorLib> lib_;
  base::ComPtr<IXMLElement> result_, item_;
  CComboBoxQor format_;
  dialogs::EditBox precision_;
  dialogs::UpDown spin_;
  bool started_ = false;
};

} // namespace uikit

#endif
