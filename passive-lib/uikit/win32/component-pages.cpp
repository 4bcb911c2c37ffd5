#include "passive-lib/uikit/win32/component-pages.h"

namespace uikit {

// The four pages are not part of this build yet.
std::unique_ptr<ComponentPage> makeComponentPage(PageKind) { return nullptr; }

} // namespace uikit
