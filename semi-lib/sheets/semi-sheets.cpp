#include "semi-lib/sheets/semi-sheets.h"

#include "semi-lib/sheets/model-library-source.h"
#include "semi-lib/sheets/semi-ocx-sheet.h"

namespace semi {

std::unique_ptr<uikit::ComponentSheet> makeSemiSheet(semi::SemiKind kind, std::string caption,
                                                     uikit::SheetOwner &owner, HWND parent,
                                                     UINT startPage) {
  const std::string library = modelLibraryTextFor(owner, kind);
  switch (kind) {
  case SemiKind::Diode:
    return std::make_unique<CDiodeOcxSheet>(std::move(caption), owner, parent, startPage, library);
  case SemiKind::Npn:
    return std::make_unique<CBjtNpnOcxSheet>(std::move(caption), owner, parent, startPage, library);
  case SemiKind::Pnp:
    break;
  }
  return std::make_unique<CBjtPnpOcxSheet>(std::move(caption), owner, parent, startPage, library);
}

} // namespace semi
