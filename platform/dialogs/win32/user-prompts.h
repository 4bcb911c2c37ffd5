// The one road of every message box and help call of the dialogs: the
// platform's MessageBoxA and WinHelpA unless a handler is installed (tests
// install one that records each box and answers it, so none stays open).
#ifndef PLATFORM_DIALOGS_USER_PROMPTS_H
#define PLATFORM_DIALOGS_USER_PROMPTS_H

#include <windows.h>

#include <functional>
#include <string>

namespace dialogs {

class UserPrompts {
public:
  using MessageHandler = std::function<int(HWND owner, const std::string &text,
                                           const std::string &caption, UINT type)>;
  using HelpHandler =
      std::function<bool(HWND window, const std::string &file, UINT command, ULONG_PTR data)>;

  static int messageBox(HWND owner, const std::string &text, const std::string &caption, UINT type);
  static bool help(HWND window, const std::string &file, UINT command, ULONG_PTR data);

  // An empty handler restores the platform's.
  static void setMessageHandler(MessageHandler handler);
  static void setHelpHandler(HelpHandler handler);
};

} // namespace dialogs

#endif
