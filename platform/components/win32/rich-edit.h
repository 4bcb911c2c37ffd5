// A rich edit.
#ifndef COMPONENTS_WIN32_RICH_EDIT_H
#define COMPONENTS_WIN32_RICH_EDIT_H

#include "platform/components/win32/controls.h"
#include "platform/components/win32/custom-rich-edit.h"

#include <string>
#include <vector>

namespace components {

class TRichEdit : public TCustomRichEdit {
public:
  using TCustomRichEdit::TCustomRichEdit;
};

} // namespace components

#endif
