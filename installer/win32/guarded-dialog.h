// Runs one of the set-up's modal dialogs. Its handlers may throw (a failed
// allocation, a registry or file error): the dialog then ends with 0, as
// Cancel would, instead of letting the exception cross the window procedure.
#ifndef INSTALLER_WIN32_GUARDED_DIALOG_H
#define INSTALLER_WIN32_GUARDED_DIALOG_H

#include <windows.h>

namespace installer {

struct DialogHandlers {
  void (*onInit)(HWND dialog);
  void (*onCommand)(HWND dialog, int command);
  bool *succeeded; // what the dialog did for the setup's result; may be null
};

INT_PTR runGuardedDialog(HWND owner, int templateId, const DialogHandlers &handlers);

// The running dialog's record of the setup's result, set by its handlers.
void recordOutcome(HWND dialog, bool succeeded);

} // namespace installer

#endif
