#include "passive-lib/uikit/win32/tip-support.h"

#include "platform/dialogs/win32/module-resources.h"
#include "platform/dialogs/win32/user-prompts.h"

namespace uikit {

void relayToToolTip(HWND window, const dialogs::ToolTip &tips, bool active, const MSG &message) {
  if (!window || !message.hwnd || !tips.handle() || !active)
    return;
  if (message.hwnd != window && !IsChild(window, message.hwnd))
    return;
  tips.activate(true);
  tips.relayEvent(message);
}

void answerHelpRequest(UINT message, WPARAM wParam, LPARAM lParam, HelpIdTable table) {
  ULONG_PTR data = reinterpret_cast<ULONG_PTR>(table);
  if (message == WM_HELP) {
    auto *info = reinterpret_cast<HELPINFO *>(lParam);
    dialogs::UserPrompts::help(static_cast<HWND>(info->hItemHandle), dialogs::moduleHelpFile(),
                               HELP_WM_HELP, data);
  } else if (message == WM_CONTEXTMENU) {
    dialogs::UserPrompts::help(reinterpret_cast<HWND>(wParam), dialogs::moduleHelpFile(),
                               HELP_CONTEXTMENU, data);
  }
}

} // namespace uikit
