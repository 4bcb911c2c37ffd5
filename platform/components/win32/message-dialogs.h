// Message dialogs: a form with an icon, the message and a row of buttons,
// shown modally; MessageDlg answers the pressed button's result.
#ifndef COMPONENTS_WIN32_MESSAGE_DIALOGS_H
#define COMPONENTS_WIN32_MESSAGE_DIALOGS_H

#include "platform/components/core/component.h"

#include <string>

namespace components {

class TForm;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using TMsgDlgButtons = unsigned;

constexpr TMsgDlgButtons mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32,
                         mbIgnore = 64, mbAll = 128, mbHelp = 256;

constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

// Builds (not shows) a message dialog: the caller owns the form.
TForm *CreateMessageDialog(const std::string &message, TMsgDlgType type, TMsgDlgButtons buttons);

// Shows a message dialog modally; answers the modal result of the button
// pressed (mrCancel when it is closed otherwise).
int MessageDlg(const std::string &message, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext);

} // namespace components

#endif
