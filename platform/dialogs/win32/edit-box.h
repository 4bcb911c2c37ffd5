// An edit control: text limit, selection, caret.
#ifndef PLATFORM_DIALOGS_EDIT_BOX_H
#define PLATFORM_DIALOGS_EDIT_BOX_H

#include "platform/dialogs/win32/window.h"

namespace dialogs {

class EditBox : public Window {
public:
  void limitText(int characters) const { send(EM_LIMITTEXT, static_cast<WPARAM>(characters)); }
  void selectAll() const { send(EM_SETSEL, 0, -1); }
  void scrollCaret() const { send(EM_SCROLLCARET); }
};

} // namespace dialogs

#endif
