// The property sheet of a diode or transistor control, made by kind with
// the caption, the opening control, the parent window and the page to open
// first; the model list comes from the owner or the module's resources
// (model-library-source.h). The caller hands it its elements and runs it
// with run().
#ifndef SEMI_LIB_SHEETS_SEMI_SHEETS_H
#define SEMI_LIB_SHEETS_SEMI_SHEETS_H

#include "passive-lib/uikit/win32/component-sheet.h"
#include "passive-lib/uikit/win32/sheet-owner.h"
#include "semi-lib/core/semi-kind.h"

#include <memory>
#include <string>

namespace semi {

std::unique_ptr<uikit::ComponentSheet> makeSemiSheet(semi::SemiKind kind, std::string caption,
                                                     uikit::SheetOwner &owner, HWND parent,
                                                     UINT startPage);

} // namespace semi

#endif
