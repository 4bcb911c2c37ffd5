// What the three tool-tip bases share: the relay of a window's messages to
// its tool-tip control, and context help through the prompt seam with the
// window's table of (control identifier, help context) pairs.
#ifndef PASSIVE_LIB_UIKIT_TIP_SUPPORT_H
#define PASSIVE_LIB_UIKIT_TIP_SUPPORT_H

#include "platform/dialogs/win32/tool-tip.h"

#include <windows.h>

namespace uikit {

// A help-ID table: pairs of control identifier and help context number,
// ended by a pair of zeros (the form WinHelp takes).
using HelpIdTable = const DWORD *;

// Relays message to tips when it is addressed to window or one of its
// children and the tips exist and are active.
void relayToToolTip(HWND window, const dialogs::ToolTip &tips, bool active, const MSG &message);
// WM_HELP: HELP_WM_HELP for the help item's window. WM_CONTEXTMENU:
// HELP_CONTEXTMENU for the clicked window. Both with the module's help
// file and the table.
void answerHelpRequest(UINT message, WPARAM wParam, LPARAM lParam, HelpIdTable table);

} // namespace uikit

#endif
