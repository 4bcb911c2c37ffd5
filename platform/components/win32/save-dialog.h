// The common save dialog as a component (see TOpenDialog).
#ifndef COMPONENTS_WIN32_SAVE_DIALOG_H
#define COMPONENTS_WIN32_SAVE_DIALOG_H

#include "platform/components/win32/open-dialog.h"

#include "platform/components/core/component.h"

#include <string>

namespace components {

class TSaveDialog : public TOpenDialog {
public:
  using TOpenDialog::TOpenDialog;
  bool Execute() override { return run(true); }
};

} // namespace components

#endif
