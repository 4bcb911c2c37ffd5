#include "platform/components/win32/icon.h"

namespace components {

void TIcon::SetHandle(HICON icon) {
  icon_.reset(icon);
  OnChange(this);
}

void TIcon::AssignHandle(HICON icon) { SetHandle(icon ? CopyIcon(icon) : nullptr); }

void TIcon::Assign(const TIcon &other) {
  if (&other != this)
    AssignHandle(other.Handle());
}

} // namespace components
