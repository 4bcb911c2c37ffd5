#include "semi-lib/sheets/semi-ocx-sheet.h"

#include "semi-lib/sheets/semi-ocx-format.h"
#include "semi-lib/sheets/semi-ocx-result.h"

#include <memory>

namespace semi {

CSemiOcxSheet::CSemiOcxSheet(std::string caption, uikit::SheetOwner &owner, HWND parent,
                             UINT startPage, const std::string &libraryText)
    : ComponentSheet(std::move(caption), owner, parent, startPage,
                     std::make_unique<CSemiOcxParams>(libraryText),
                     std::make_unique<CSemiOcxResult>(), std::make_unique<CSemiOcxFormat>()) {}

} // namespace semi
