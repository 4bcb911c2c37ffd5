// Finding a dialog's TDialogControl among the components its form owns.
#include "spelling/core/dialog-control.h"

namespace spelling {

TDialogControl *FindDialogControl(components::TComponent *form) {
  if (!form)
    return nullptr;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    if (auto *control = dynamic_cast<TDialogControl *>(form->Components(i)))
      return control;
  }
  return nullptr;
}

} // namespace spelling
