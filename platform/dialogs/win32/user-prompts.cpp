#include "platform/dialogs/win32/user-prompts.h"

#include <utility>

namespace dialogs {

namespace {
UserPrompts::MessageHandler &messageHandler() {
  static UserPrompts::MessageHandler handler;
  return handler;
}
UserPrompts::HelpHandler &helpHandler() {
  static UserPrompts::HelpHandler handler;
  return handler;
}
} // namespace

int UserPrompts::messageBox(HWND owner, const std::string &text, const std::string &caption,
                            UINT type) {
  if (messageHandler())
    return messageHandler()(owner, text, caption, type);
  return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

bool UserPrompts::help(HWND window, const std::string &file, UINT command, ULONG_PTR data) {
  if (helpHandler())
    return helpHandler()(window, file, command, data);
  return WinHelpA(window, file.c_str(), command, data) != 0;
}

void UserPrompts::setMessageHandler(MessageHandler handler) {
  messageHandler() = std::move(handler);
}

void UserPrompts::setHelpHandler(HelpHandler handler) { helpHandler() = std::move(handler); }

} // namespace dialogs
