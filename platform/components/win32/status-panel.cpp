#include "platform/components/win32/status-panel.h"

#include "platform/components/win32/status-bar.h"

#include "platform/components/win32/menus.h"

#include <commctrl.h>

#include <algorithm>

namespace components {

void TStatusPanel::SetWidth(int width) {
  width_ = width;
  bar_.updateParts();
}

void TStatusPanel::SetText(const std::string &text) {
  text_ = text;
  bar_.updatePanel(*this);
}

void TStatusPanel::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  bar_.updatePanel(*this);
}

} // namespace components
