#include "platform/components/win32/image-list.h"

#include "platform/components/win32/icon.h"

namespace components {

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
