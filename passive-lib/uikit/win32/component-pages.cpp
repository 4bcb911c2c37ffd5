#include "passive-lib/uikit/win32/component-pages.h"

#include "passive-lib/uikit/win32/crlc-ocx-format.h"
#include "passive-lib/uikit/win32/crlc-ocx-params.h"
#include "passive-lib/uikit/win32/crlc-ocx-result.h"
#include "passive-lib/uikit/win32/cvsrc-ocx-params.h"

namespace uikit {

std::unique_ptr<ComponentPage> makeComponentPage(PageKind kind) {
  switch (kind) {
  case PageKind::Parameters:
    return std::make_unique<CRLCOcxParams>();
  case PageKind::SourceParameters:
    return std::make_unique<CVsrcOcxParams>();
  case PageKind::Results:
    return std::make_unique<CRLCOcxResult>();
  case PageKind::Format:
    break;
  }
  return std::make_unique<CRLCOcxFormat>();
}

} // namespace uikit
