// The "Format" page of the diode and transistor sheets: the passive
// components' format page, with the same attributes and the "Simulation"
// layer.
#ifndef SEMI_LIB_SHEETS_SEMI_OCX_FORMAT_H
#define SEMI_LIB_SHEETS_SEMI_OCX_FORMAT_H

#include "passive-lib/uikit/win32/crlc-ocx-format.h"

namespace semi {

class CSemiOcxFormat : public uikit::CRLCOcxFormat {};

} // namespace semi

#endif
