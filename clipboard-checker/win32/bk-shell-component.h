// TBkShellComponent: the base of the utility components that talk to the
// shell; it notes the shell library's version when it is made.
#ifndef CLIPBOARD_CHECKER_WIN32_BK_SHELL_COMPONENT_H
#define CLIPBOARD_CHECKER_WIN32_BK_SHELL_COMPONENT_H

#include "clipboard-checker/core/bk-base.h"

namespace lexitray {

class TBkShellComponent : public TBkComponent {
public:
  explicit TBkShellComponent(components::TComponent *owner);
  // major.minor of "shell32.dll" in the system directory; 0 when it could
  // not be read.
  double ShellVersion() const { return shellVersion_; }

private:
  double shellVersion_ = 0;
};

} // namespace lexitray

#endif
