#include "platform/dialogs/win32/tool-tip.h"

#include <cstdlib>
#include <cstring>

namespace dialogs {

ToolTip::~ToolTip() { destroy(); }

bool ToolTip::create(HWND owner) {
  destroy();
  owner_ = owner;
  HWND made = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr,
                              nullptr);
  if (!made)
    return false;
  attachHandle(made);
  send(TTM_SETMAXTIPWIDTH, 0, 300);
  return true;
}

void ToolTip::destroy() {
  if (HWND window = handle()) {
    detachHandle();
    DestroyWindow(window);
  }
}

bool ToolTip::addTool(HWND tool, const std::string &text) const {
  TOOLINFOA info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = owner_;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = const_cast<char *>(text.c_str());
  return send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void ToolTip::UpdateTipText(HWND tool, const std::string &text) const {
  TOOLINFOA info{};
  info.cbSize = sizeof info;
  info.hwnd = owner_;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = const_cast<char *>(text.c_str());
  send(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

char *copyToolText(const std::string &text) {
  char *copy = static_cast<char *>(std::malloc(text.size() + 1));
  if (copy)
    std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

} // namespace dialogs
