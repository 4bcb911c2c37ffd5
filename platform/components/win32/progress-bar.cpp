#include "platform/components/win32/progress-bar.h"

#include "platform/components/win32/menus.h"

#include <commctrl.h>

#include <algorithm>

namespace components {

TProgressBar::TProgressBar(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams &params) {
  params.className = PROGRESS_CLASSA;
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS;
}

void TProgressBar::handleCreated() {
  SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int min) {
  min_ = min;
  if (HandleAllocated())
    handleCreated();
}

void TProgressBar::SetMax(int max) {
  max_ = max;
  if (HandleAllocated())
    handleCreated();
}

void TProgressBar::SetPosition(int position) {
  position_ = std::min(std::max(position, min_), max_);
  if (HandleAllocated())
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

} // namespace components
