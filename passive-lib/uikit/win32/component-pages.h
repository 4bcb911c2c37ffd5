// The pages the component sheets hold, made by kind. A kind whose page is
// not part of this build gives null, and the sheets go on without it.
#ifndef PASSIVE_LIB_UIKIT_COMPONENT_PAGES_H
#define PASSIVE_LIB_UIKIT_COMPONENT_PAGES_H

#include "passive-lib/uikit/win32/component-page.h"

#include <memory>

namespace uikit {

enum class PageKind {
  Parameters,       // CRLCOcxParams: resistor, inductor, capacitor
  SourceParameters, // CVsrcOcxParams: power rail, DC source
  Results,          // CRLCOcxResult
  Format            // CRLCOcxFormat
};

std::unique_ptr<ComponentPage> makeComponentPage(PageKind kind);

} // namespace uikit

#endif
