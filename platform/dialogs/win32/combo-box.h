// A combo box: entries, selection and the entry texts, in ANSI text.
#ifndef PLATFORM_DIALOGS_COMBO_BOX_H
#define PLATFORM_DIALOGS_COMBO_BOX_H

#include "platform/dialogs/win32/window.h"

#include <string>

namespace dialogs {

class ComboBox : public Window {
public:
  int addString(const std::string &text) const {
    return static_cast<int>(send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }
  int count() const { return static_cast<int>(send(CB_GETCOUNT)); }
  // -1 when nothing is selected.
  int selection() const { return static_cast<int>(send(CB_GETCURSEL)); }
  void select(int index) const { send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
  std::string entryText(int index) const;
};

} // namespace dialogs

#endif
