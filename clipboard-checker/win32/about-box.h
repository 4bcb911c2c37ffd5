// The about box: a borderless box in the middle of the screen with the
// program's name and version; a click anywhere on it closes it.
#ifndef CLIPBOARD_CHECKER_WIN32_ABOUT_BOX_H
#define CLIPBOARD_CHECKER_WIN32_ABOUT_BOX_H

#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"

namespace lexitray {

class TaboutBox : public components::TForm {
public:
  explicit TaboutBox(components::TComponent *owner);

  components::TLabel *ProgramName;
  components::TLabel *Version;

private:
  void FormClick(components::TObject *sender);
};

} // namespace lexitray

#endif
