// A tool-tip control of a window: made for its owner, activated, tools
// added over child windows, their texts changed, mouse messages relayed.
#ifndef PLATFORM_DIALOGS_TOOL_TIP_H
#define PLATFORM_DIALOGS_TOOL_TIP_H

#include "platform/dialogs/win32/window.h"

#include <string>

namespace dialogs {

class ToolTip : public Window {
public:
  ~ToolTip() override;
  // Makes the control for owner; false when it cannot.
  bool create(HWND owner);
  void destroy();
  void activate(bool on) const { send(TTM_ACTIVATE, on ? TRUE : FALSE); }
  // A tool over a child window, with its text (LPSTR_TEXTCALLBACKA: asked
  // back from the owner).
  bool addTool(HWND tool, const std::string &text) const;
  void UpdateTipText(HWND tool, const std::string &text) const;
  void relayEvent(const MSG &message) const {
    send(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
  }

private:
  HWND owner_ = nullptr;
};

// A copy of a tool's text that a hit test hands over in TOOLINFOA; the
// receiver frees it with free().
char *copyToolText(const std::string &text);

} // namespace dialogs

#endif
