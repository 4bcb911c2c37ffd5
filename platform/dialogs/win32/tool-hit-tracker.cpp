#include "platform/dialogs/win32/tool-hit-tracker.h"

#include "platform/dialogs/win32/window.h"

#include <cstdlib>
#include <cstring>

namespace dialogs {

ToolHitTracker::ToolHitTracker(HWND root) : root_(root) {}

void ToolHitTracker::clear() {
  if (!hasTool_)
    return;
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = toolWindow_;
  tool.uId = toolId_;
  SendMessageA(tips_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  hasTool_ = false;
}

void ToolHitTracker::show(const TOOLINFOA &hit, const std::string &text) {
  if (!tips_) {
    tips_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, root_,
                                nullptr, nullptr, nullptr));
    if (!tips_)
      return;
    SendMessageA(tips_.get(), TTM_SETMAXTIPWIDTH, 0, 300);
  }
  clear();
  TOOLINFOA tool = hit;
  tool.cbSize = sizeof tool;
  tool.uFlags &= ~static_cast<UINT>(TTF_IDISHWND);
  tool.lpszText =
      hit.lpszText == LPSTR_TEXTCALLBACKA ? LPSTR_TEXTCALLBACKA : const_cast<char *>(text.c_str());
  if (SendMessageA(tips_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) {
    hasTool_ = true;
    toolWindow_ = tool.hwnd;
    toolId_ = tool.uId;
  }
}

void ToolHitTracker::follow(const MSG &message) {
  if (message.message != WM_MOUSEMOVE && message.message != WM_NCMOUSEMOVE)
    return;
  POINT screen{static_cast<short>(LOWORD(message.lParam)),
               static_cast<short>(HIWORD(message.lParam))};
  if (message.message == WM_MOUSEMOVE)
    ClientToScreen(message.hwnd, &screen);
  for (HWND window = message.hwnd; window; window = GetParent(window)) {
    Window *object = Window::fromHandle(window);
    if (object) {
      POINT point = screen;
      ScreenToClient(window, &point);
      TOOLINFOA tool{};
      tool.cbSize = sizeof tool;
      if (object->OnToolHitTest(point, &tool) != -1) {
        std::string text;
        if (tool.lpszText && tool.lpszText != LPSTR_TEXTCALLBACKA) {
          text = tool.lpszText;
          std::free(tool.lpszText); // the hit test's copy is ours to free
        }
        if (!hasTool_ || tool.hwnd != toolWindow_ || tool.uId != toolId_)
          show(tool, text);
        if (hasTool_) {
          MSG relayed = message;
          relayed.message = WM_MOUSEMOVE;
          relayed.hwnd = toolWindow_;
          POINT inTool = screen;
          ScreenToClient(toolWindow_, &inTool);
          relayed.lParam = MAKELPARAM(inTool.x, inTool.y);
          SendMessageA(tips_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
        }
        return;
      }
    }
    if (window == root_)
      break;
  }
  clear();
}

} // namespace dialogs
