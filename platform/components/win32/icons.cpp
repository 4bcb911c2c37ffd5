// Icons and image lists.
#include "platform/components/win32/icons.h"

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

int TImageList::AddIcon(const TIcon &icon) {
  icons_.emplace_back(icon.Empty() ? nullptr : CopyIcon(icon.Handle()));
  return Count() - 1;
}

void TImageList::GetIcon(int index, TIcon &icon) const {
  if (index < 0 || index >= Count() || !icons_[static_cast<std::size_t>(index)]) {
    icon.Clear();
    return;
  }
  icon.AssignHandle(icons_[static_cast<std::size_t>(index)].get());
}

} // namespace components
