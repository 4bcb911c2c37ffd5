// An icon object that owns its icon handle (copied on Assign, destroyed
// once).
#ifndef COMPONENTS_WIN32_ICON_H
#define COMPONENTS_WIN32_ICON_H

#include "platform/base/win32/unique-handle.h"
#include "platform/components/core/component.h"
#include "platform/components/core/event.h"

#include <windows.h>

#include <vector>

namespace components {

struct IconTraits {
  using Type = HICON;
  static HICON invalid() { return nullptr; }
  static void close(HICON icon) { DestroyIcon(icon); }
};

using UniqueIcon = base::UniqueResource<IconTraits>;

class TIcon : public TObject {
public:
  TIcon() = default;
  TIcon(const TIcon &) = delete;
  TIcon &operator=(const TIcon &) = delete;

  bool Empty() const { return !icon_; }
  HICON Handle() const { return icon_.get(); }
  // Takes the icon over; it is destroyed with this object.
  void SetHandle(HICON icon);
  // A copy of other's icon (none when other is empty).
  void Assign(const TIcon &other);
  // A copy of an icon this object does not own (a shared or system icon).
  void AssignHandle(HICON icon);
  void Clear() { SetHandle(nullptr); }

  TNotifyEvent OnChange;

private:
  UniqueIcon icon_;
};

} // namespace components

#endif
