// The "Results" page of the diode and transistor sheets: the passive
// components' results page over the component's RESULT items.
#ifndef SEMI_LIB_SHEETS_SEMI_OCX_RESULT_H
#define SEMI_LIB_SHEETS_SEMI_OCX_RESULT_H

#include "passive-lib/uikit/win32/crlc-ocx-result.h"

namespace semi {

class CSemiOcxResult : public uikit::CRLCOcxResult {};

} // namespace semi

#endif
