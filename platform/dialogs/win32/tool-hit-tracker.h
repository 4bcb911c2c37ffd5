// Tool tips from hit tests, for windows that compute their tools on the
// fly (list cells, combo entries, caption buttons): while a modal loop
// runs, every mouse move asks the objects of the window under the mouse,
// and of its ancestors, for the tool at that point (Window::OnToolHitTest);
// a new tool replaces the previous one on a tool-tip control of the
// loop's own, and the move is relayed to it so the tip shows after the
// usual delay. A tool's text may be asked back from its window
// (LPSTR_TEXTCALLBACK, TTN_NEEDTEXT).
#ifndef PLATFORM_DIALOGS_TOOL_HIT_TRACKER_H
#define PLATFORM_DIALOGS_TOOL_HIT_TRACKER_H

#include "platform/base/win32/window-owners.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace dialogs {

class ToolHitTracker {
public:
  explicit ToolHitTracker(HWND root);
  void follow(const MSG &message);

private:
  void show(const TOOLINFOA &tool, const std::string &text);
  void clear();

  HWND root_;
  base::WindowHandle tips_;
  HWND toolWindow_ = nullptr;
  UINT_PTR toolId_ = 0;
  bool hasTool_ = false;
};

} // namespace dialogs

#endif
