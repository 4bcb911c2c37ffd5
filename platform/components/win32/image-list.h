// A list of icons picked by index, each a copy the list owns.
#ifndef COMPONENTS_WIN32_IMAGE_LIST_H
#define COMPONENTS_WIN32_IMAGE_LIST_H

#include "platform/components/win32/icon.h"

#include "platform/base/win32/unique-handle.h"
#include "platform/components/core/component.h"
#include "platform/components/core/event.h"

#include <windows.h>

#include <vector>

namespace components {

class TImageList : public TComponent {
public:
  using TComponent::TComponent;
  int Count() const { return static_cast<int>(icons_.size()); }
  // Adds a copy of the icon; answers its index.
  int AddIcon(const TIcon &icon);
  // Copies image index into icon; an index out of range empties it.
  void GetIcon(int index, TIcon &icon) const;

private:
  std::vector<UniqueIcon> icons_;
};

} // namespace components

#endif
