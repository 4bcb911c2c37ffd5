// A dialog from a dialog template in the module's resources, modal
// (doModal: its own loop, the owner disabled) or modeless (create). The
// derived dialog answers its start, commands and notifications through
// the virtual operations; OK and Cancel end a modal dialog with IDOK and
// IDCANCEL unless overridden.
#ifndef PLATFORM_DIALOGS_DIALOG_H
#define PLATFORM_DIALOGS_DIALOG_H

#include "platform/dialogs/win32/window.h"

namespace dialogs {

class Dialog : public Window {
public:
  Dialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}
  ~Dialog() override;

  // Shows the dialog and returns the value given to endDialog; rethrows a
  // failure of a handler after the window is gone. -1 when the template
  // cannot be loaded.
  INT_PTR doModal();
  // Creates the dialog as a modeless window; false when it cannot.
  bool create();
  // Modal: ends the loop with result. Modeless: destroys the window.
  void endDialog(INT_PTR result);

  HWND item(int id) const { return GetDlgItem(handle(), id); }
  UINT templateId() const { return templateId_; }

protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  // WM_COMMAND from a control, menu or accelerator; true when handled.
  virtual bool onCommand(WORD id, WORD code, HWND control);
  // WM_NOTIFY from a child; true when handled (result is its answer).
  virtual bool onNotify(NMHDR *header, LRESULT &result);
  virtual void OnOK() { endDialog(IDOK); }
  virtual void onCancel() { endDialog(IDCANCEL); }

  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

  // What the dialog procedures of dialogs and pages share: the object's
  // handling of one message, answered as a dialog procedure answers.
  static INT_PTR handleDialogMessage(Dialog *self, HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam);

private:
  static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND createWindow();

  UINT templateId_;
  HWND parent_;
  bool modal_ = false;
  bool ended_ = false;
  INT_PTR result_ = 0;
};

} // namespace dialogs

#endif
