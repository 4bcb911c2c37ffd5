// A single-line edit.
#ifndef COMPONENTS_WIN32_EDIT_H
#define COMPONENTS_WIN32_EDIT_H

#include "platform/components/win32/controls.h"
#include "platform/components/win32/custom-edit.h"

#include <string>
#include <vector>

namespace components {

class TEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
};

} // namespace components

#endif
