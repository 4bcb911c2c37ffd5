// The sheet factory of the semiconductor controls: the property sheet of a
// diode, NPN or PNP control, with its pages, for the control's owner.
#ifndef SEMI_LIB_SHEETS_SEMI_SHEETS_H
#define SEMI_LIB_SHEETS_SEMI_SHEETS_H

#include "passive-lib/uikit/win32/component-sheet.h"
#include "semi-lib/core/semi-kind.h"

#include <memory>
#include <string>

namespace semi {

std::unique_ptr<uikit::ComponentSheet> makeSemiSheet(semi::SemiKind kind, std::string caption,
                                                     uikit::SheetOwner &owner, HWND parent,
                                                     UINT startPage);

} // namespace semi

#endif
