// An up-down control: range, position, base and buddy.
#ifndef PLATFORM_DIALOGS_UP_DOWN_H
#define PLATFORM_DIALOGS_UP_DOWN_H

#include "platform/dialogs/win32/window.h"

namespace dialogs {

class UpDown : public Window {
public:
  void setRange(int low, int high) const { send(UDM_SETRANGE32, static_cast<WPARAM>(low), high); }
  void setPosition(int position) const { send(UDM_SETPOS32, 0, position); }
  // The position; its buddy's text is read first when the up-down owns one.
  int position() const;
  void setBase(int base) const { send(UDM_SETBASE, static_cast<WPARAM>(base)); }
  int base() const { return static_cast<int>(send(UDM_GETBASE)); }
};

} // namespace dialogs

#endif
