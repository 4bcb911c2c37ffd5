// The open and save dialogs, and message dialogs built as forms of ours
// (any set of buttons, as the programs ask: even a lone Abort button).
#ifndef COMPONENTS_WIN32_DIALOGS_H
#define COMPONENTS_WIN32_DIALOGS_H

#include "platform/components/win32/open-dialog.h"
#include "platform/components/win32/save-dialog.h"
#include "platform/components/win32/message-dialogs.h"

#endif
