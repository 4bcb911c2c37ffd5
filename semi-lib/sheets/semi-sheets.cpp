// The sheet factory: a sheet with the caption and owner, and no pages yet.
#include "semi-lib/sheets/semi-sheets.h"

namespace semi {

std::unique_ptr<uikit::ComponentSheet> makeSemiSheet(semi::SemiKind, std::string caption,
                                                     uikit::SheetOwner &owner, HWND parent,
                                                     UINT startPage) {
  return std::make_unique<uikit::ComponentSheet>(std::move(caption), owner, parent, startPage,
                                                 nullptr, nullptr, nullptr);
}

} // namespace semi
